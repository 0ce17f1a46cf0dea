// Parser: the trees of statements and expressions, folding, targets, and each compile error's place.
#include "code/messages.h"
#include "language_fixture.h"

#include <regex>

using namespace quillon;
using namespace quillon::testing;

namespace {

class Parser : public LanguageTest {
protected:
    std::string tree(const std::string& text, bool expression = false)
    {
        CCode code(text, expression);
        if (!code.compile()) {
            std::string failure = "failed: " + errors().code_error_text();
            errors().clear_code_error();
            return failure;
        }
        return code.dump();
    }

    // "line:position message" of a program that must fail to compile.
    std::string failure(const std::string& text)
    {
        CCode code(text, false);
        if (code.compile())
            return "compiled: " + code.dump();
        std::smatch match;
        std::string error = errors().code_error_text();
        errors().clear_code_error();
        if (!std::regex_search(error, match, std::regex("line (\\d+):[^]*at position (\\d+): ([^]*)$")))
            return "unexpected text: " + error;
        return match[1].str() + ":" + match[2].str() + " " + match[3].str();
    }
};

TEST_F(Parser, BuildsTrees)
{
    m_host.m_resources["spr"] = 3;
    struct Case {
        const char* text;      // a program
        const char* expected;  // its tree
    };
    const Case cases[] = {
        {"", "(program)"},
        {"x = 1 + 2 * 3", "(block (= x@-6 7))"},
        {"{ a = 1 }", "(block (= a@-6 1))"},
        {"a = 1; { b = 2 }", "(block (= a@-6 1) (block (= b@-6 2)))"},
        {"if x then y = 1 else y = 2", "(block (if x@-6 (= y@-6 1) (= y@-6 2)))"},
        {"if (x) y = 1;", "(block (if x@-6 (= y@-6 1)))"},
        {"while x do x -= 1", "(block (while x@-6 (-= x@-6 1)))"},
        {"do x += 1 until x > 10", "(block (do (+= x@-6 1) (> x@-6 10)))"},
        {"for (i = 0; i < 10; i += 1) s += i", "(block (for (= i@-6 0) (< i@-6 10) (+= i@-6 1) (+= s@-6 i@-6)))"},
        {"for (i = 0 i < 10 i += 1) s += i", "(block (for (= i@-6 0) (< i@-6 10) (+= i@-6 1) (+= s@-6 i@-6)))"},
        {"repeat 3 exit", "(block (repeat 3 (exit)))"},
        {"with (other) break", "(block (with -2 (break)))"},
        {"while 1 continue", "(block (while 1 (continue)))"},
        {"return a", "(block (return a@-6))"},
        {"switch x { case 1: a = 1 default: b = 2 }",
         "(block (switch x@-6 (case 1) (= a@-6 1) (default) (= b@-6 2)))"},
        {"var t; t = 1", "(block (var t) (= t@-7 1))"},
        {"t = 1; var t", "(block (= t@-6 1) (var t))"},
        {"var a, b c; c = a", "(block (var a b c) (= c@-7 a@-7))"},
        {"self.x = 3", "(block (= x@-1 3))"},
        {"global.g = other.h", "(block (= g@-5 h@-2))"},
        {"a.b.c = 1", "(block (= (var c (var b a@-6)) 1))"},
        {"a[1] = a[]", "(block (= (var a -6 1) a@-6))"},
        {"a[i, j] = 0", "(block (= (var a -6 i@-6 j@-6) 0))"},
        {"x |= 4", "(block (|= x@-6 4))"},
        {"x := 4", "(block (= x@-6 4))"},
        {"x = -2 * y", "(block (= x@-6 (* -2 y@-6)))"},
        {"x = not a == b", "(block (= x@-6 (== (! a@-6) b@-6)))"},
        {"x = a < b == c < d", "(block (= x@-6 (< (== (< a@-6 b@-6) c@-6) d@-6)))"},
        {"x = a || b && c", "(block (= x@-6 (&& (|| a@-6 b@-6) c@-6)))"},
        {"x = a | b & c ^ d", "(block (= x@-6 (^ (& (| a@-6 b@-6) c@-6) d@-6)))"},
        {"x = a << 1 + 2", "(block (= x@-6 (<< a@-6 3)))"},
        {"x = a = b", "(block (= x@-6 (= a@-6 b@-6)))"},
        {"x = spr + c_red", "(block (= x@-6 258))"},
        {"x = cr_arrrow + cr_arrow", "(block (= x@-6 (+ -2 cr_arrow@-6)))"},
        {"string(a,)", "(block (call string a@-6))"},
        {"x = 'ab' + \"cd\"", "(block (= x@-6 'abcd'))"},
        {";", "(block (;))"},
        {"{ ; }", "(block (;))"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tree(c.text), c.expected) << c.text;
}

TEST_F(Parser, BuildsExpressions)
{
    EXPECT_EQ(tree("", true), "0");
    EXPECT_EQ(tree("3 4", true), "3");
    EXPECT_EQ(tree("a + 1", true), "(+ a@-6 1)");
    CCode constant("2 * 3", true);
    ASSERT_TRUE(constant.compile());
    EXPECT_EQ(constant.kind(), CCode::CONSTANT_EXPRESSION);
    EXPECT_EQ(constant.constant().real, 6);
}

TEST_F(Parser, ReportsEachErrorAtItsPlace)
{
    m_host.m_resources["speed_sprite"] = 1;
    struct Case {
        const char* text;      // a program that does not compile
        const char* expected;  // line:position message
    };
    const Case cases[] = {
        {"x = $10", "1:5 Unexpected symbol."},
        {"x = nofunc(1)", "1:5 Unknown function or script: nofunc"},
        {"{ a = 1 } b = 2", "1:11 Program ends before end of the code."},
        {"{ a = 1", "1:7 Symbol } expected."},
        {"switch x a = 1", "1:10 Symbol { expected."},
        {"switch x { a = 1", "1:16 Symbol } expected."},
        {"for i = 0", "1:5 Symbol ( expected."},
        {"for (i = 0; i < 1; i += 1 x = 1", "1:27 Symbol ) expected."},
        {"x = string(1 2)", "1:14 Symbol , or ) expected."},
        {"x = a[1 2]", "1:9 Symbol , or ] expected."},
        {"x = a[1", "1:7 Symbol ] expected."},
        {"case 1 x = 1", "1:8 Symbol : expected."},
        {"default x = 1", "1:9 Symbol : expected."},
        {"do x += 1 while x < 10", "1:11 Keyword until expected."},
        {"x = 1;\r\nif x", "2:5 Unexpected end of code reached."},
        {"speed_sprite = 3", "1:14 Variable name expected."},
        {"x.(y) = 3", "1:3 Variable name expected."},
        {"x y", "1:3 Assignment operator expected."},
        {"var speed", "1:5 Cannot redeclare a builtin variable."},
        {"a[1,2,3] = 0", "1:7 Only 1- and 2-dimensional arrays are supported."},
        {"x = )", "1:5 Unexpected symbol in expression."},
        {"string(,a)", "1:8 Unexpected symbol in expression."},
        {"x = string(1, 2)", "1:16 Wrong number of arguments to function or script."},
        {"x = max3(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)",
         "1:51 Wrong number of arguments to function or script."},
        {"('abc').x = 3", "1:2 Left hand side must be a real value."},
        {"x = 1 / 0", "1:9 Division by 0."},
        {"x = 'a' + 1", "1:11 Wrong type of arguments to +."},
        {"a = 1\r\nb = 2\r\nc = -'s'", "3:7 Wrong type of arguments to unary operator."},
        {"\r\n\r\nx = $", "3:6 Unexpected symbol."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(failure(c.text), c.expected) << c.text;
}

TEST_F(Parser, OnlyTheFirstErrorOfACompilationIsKept)
{
    CCode code("x = 1 / 0 + 'a' * 'b'", false);
    EXPECT_FALSE(code.compile());
    EXPECT_NE(errors().code_error_text().find("Division by 0."), std::string::npos);
}

TEST_F(Parser, RefusesToCompileTwice)
{
    CCode code("x = 1", false);
    ASSERT_TRUE(code.compile());
    EXPECT_FALSE(code.compile());
    EXPECT_NE(errors().code_error_text().find(message::RECOMPILING), std::string::npos);
}

TEST_F(Parser, RefusesNestingThatWouldExhaustTheStack)
{
    std::string deep = "x = " + std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_NE(failure(deep).find(message::NESTED_TOO_DEEPLY), std::string::npos);
    std::string chain = "x = a";
    for (int i = 0; i < 5000; ++i)
        chain += " + a";
    EXPECT_NE(failure(chain).find(message::NESTED_TOO_DEEPLY), std::string::npos);
    std::string blocks = std::string(5000, '{') + std::string(5000, '}');
    EXPECT_NE(failure(blocks).find(message::NESTED_TOO_DEEPLY), std::string::npos);
}

}  // namespace
