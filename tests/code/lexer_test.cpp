// Lexer: token kinds, texts and positions of the written forms, comments, numbers and strings.
#include "code/lexer.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Each token as kind:text@position, separated by blanks.
std::string tokens_of(std::string_view text)
{
    std::string shown;
    for (const Token& token : tokenize(text))
        shown += (shown.empty() ? "" : " ") + std::to_string(token.kind) + ":" + token.text + "@" +
                 std::to_string(token.position);
    return shown;
}

TEST(Lexer, TokensOfWrittenForms)
{
    struct Case {
        const char* text;      // code
        const char* expected;  // its tokens
    };
    const Case cases[] = {
        {"", "-2:@4"},
        {"  // only a comment", "-2:@23"},
        {"x:=1", "0:x@1 101::=@2 1:1@4 -2:@8"},
        {"x=1", "0:x@1 101:=@2 1:1@3 -2:@7"},
        {"a<>b a!=b", "0:a@1 207:<>@2 0:b@4 0:a@6 207:!=@7 0:b@9 -2:@13"},
        {"{ } begin end BEGIN Var IF", "11:{@1 12:}@3 11:begin@5 12:end@11 0:BEGIN@15 0:Var@21 0:IF@25 -2:@30"},
        {"and or not div mod xor", "201:and@1 202:or@5 203:not@8 214:div@12 215:mod@16 216:xor@20 -2:@26"},
        {"&& || ! ^^ | & ^ ~ << >>", "201:&&@1 202:||@4 203:!@7 216:^^@9 217:|@12 218:&@14 219:^@16 220:~@18 "
                                     "221:<<@20 222:>>@23 -2:@28"},
        {"+= -= *= /= |= &= ^=", "102:+=@1 103:-=@4 104:*=@7 105:/=@10 114:|=@13 115:&=@16 116:^=@19 -2:@24"},
        {"( ) ; , [ ] . :", "106:(@1 107:)@3 108:;@5 109:,@7 110:[@9 111:]@11 112:.@13 113::@15 -2:@19"},
        {".5 5. 1.2.3 1e5", "1:.5@1 1:5.@4 1:1.2@7 1:.3@10 1:1@13 0:e5@14 -2:@19"},
        {"x.y", "0:x@1 112:.@2 0:y@3 -2:@7"},
        {"'say \"hi\"' \"it's\"", "2:say \"hi\"@1 2:it's@12 -2:@21"},
        {"/*/ x = 1", "0:x@5 101:=@7 1:1@9 -2:@13"},
        {"a /* b */ c", "0:a@1 0:c@11 -2:@15"},
        {"/* open", "-2:@11"},
        {"x // end", "0:x@1 -2:@12"},
        {"x\r\n// line\r\ny", "0:x@1 0:y@13 -2:@17"},
        {"x = $10", "0:x@1 101:=@3 -1:$@5"},
        {"'abc", "2:abc   @1 -2:@8"},
        {"a\\b", "0:a@1 -1:\\@2"},
        {"\xe9", "-1:\xe9@1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokens_of(c.text), c.expected) << c.text;
}

TEST(Lexer, NumberValuesAreBuiltDigitByDigit)
{
    EXPECT_EQ(number_value(".5"), 0.5);
    EXPECT_EQ(number_value("5."), 5.0);
    EXPECT_EQ(number_value("12.25"), 12.25);
    EXPECT_EQ(number_value("0.1"), 0.1);
    EXPECT_EQ(number_value("9007199254740993"), 9007199254740992.0);
}

}  // namespace
