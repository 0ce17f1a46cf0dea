// Masks of the file search: wildcards, letter case, and masks that would take exponential time if matched naively.
#include "support/file_search.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(FileSearchMask, Matches)
{
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"level1.txt", "*.txt", true}, {"LEVEL1.TXT", "level?.txt", true}, {"level10.txt", "level?.txt", false},
        {"readme", "*.*", true}, {"readme", "*.txt", false}, {"a.b.c", "*.c", true}, {"abc", "a*b*c", true},
        {"abc", "a*c*", true}, {"ab", "a*b*c", false}, {"", "*", true}, {"x", "", false},
        {"caf\xc3\xa9.txt", "CAF\xc3\x89.*", true}, {"caf\xc3\xa9", "caf?", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(name_matches_mask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
    // Many stars against a long name that never matches: answered at once.
    EXPECT_FALSE(name_matches_mask(std::string(250, 'a'), "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}
