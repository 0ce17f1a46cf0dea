// Game text shown on a terminal: UTF-8, and carriage returns that would overwrite a line become line feeds.
#include "support/terminal_text.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(TerminalText, ConvertsCodePageAndLoneCarriageReturns)
{
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"Error in code at line 11\rx = 1 +", "Error in code at line 11\nx = 1 +"},
        {"kept\r\nas is", "kept\r\nas is"},
        {"ends\r", "ends\n"},
        {"\r\r\n", "\n\r\n"},
        {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(terminal_text(c.bytes), c.text) << c.bytes;
}

}  // namespace
}  // namespace quillon
