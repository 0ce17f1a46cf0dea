// How the debug window writes values and variable lines.
#include "dialogs/debug_text.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(DebugText, ValuesAreWrittenWithTheFewestDecimalsThatShowThem)
{
    struct Case {
        Value value;
        const char* shown;
    };
    const Case cases[] = {
        {0.5, "0.50"},
        {1.0 / 3.0, "0.3333333333"},
        {7, "7"},
        {-7, "-7"},
        {-0.0, "0"},
        {0.125, "0.1250"},
        {123.456, "123.4560"},
        {0.0000001, "0.00000010"},
        {1.000000000000001, "1"},
        {2.0 / 3.0 * 1000, "666.6666667000"},
        {12345678901234.0, "12345678901234"},
        {1e20, "100000000000000000000"},
        {Value("text 1.5"), "text 1.5"},
        {Value(""), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format_debug_value(c.value), c.shown) << c.shown;
}

TEST(DebugText, VariableLinesPadTheNameToTwentyCharacters)
{
    std::string text;
    append_variable_line(text, "x", 0.5);
    append_variable_line(text, "a_very_long_variable_name", Value("s"));
    append_separator(text);
    EXPECT_EQ(text, "x:                  0.50\r\n"
                    "a_very_long_variable_name:s\r\n"
                    "________________________________\r\n");
}
