// Operators: type rules, results, truth and rounding, and their messages at compile and run time.
#include "code/messages.h"
#include "code/operators.h"
#include "language_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

std::string shown(const Value& value)
{
    if (value.is_string())
        return "'" + value.string.str() + "'";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value.real);
    return text;
}

TEST(Operators, BinaryRulesAndMessages)
{
    struct Case {
        Value left;            // left operand
        std::int32_t code;     // operator
        Value right;           // right operand
        const char* expected;  // result, or the failure message
    };
    const Case cases[] = {
        {"ab", OP_PLUS, "cd", "'abcd'"},
        {"ab", OP_PLUS, 1.0, message::WRONG_ADD},
        {1.0, OP_PLUS, "ab", message::WRONG_ADD},
        {3.0, OP_MULTIPLY, "ab", "'ababab'"},
        {0.0, OP_MULTIPLY, "ab", "''"},
        {-2.0, OP_MULTIPLY, "ab", "''"},
        {2.5, OP_MULTIPLY, "ab", "'abab'"},
        {3.5, OP_MULTIPLY, "ab", "'abababab'"},
        {"ab", OP_MULTIPLY, 3.0, message::WRONG_MULTIPLY},
        {"a", OP_MINUS, "b", message::WRONG_SUBTRACT},
        {7.0, OP_DIV, 2.0, "3"},
        {-7.0, OP_DIV, 2.0, "-3"},
        {7.5, OP_DIV, 2.0, "3"},
        {7.0, OP_MOD, -2.0, "1"},
        {-7.0, OP_MOD, 2.0, "-1"},
        {5.5, OP_MOD, 2.0, "1.5"},
        {1.0, OP_DIVIDE, 0.0, message::DIVISION_BY_ZERO},
        {1.0, OP_DIV, 0.0, message::DIVISION_BY_ZERO},
        {1.0, OP_MOD, 0.0, message::MODULO_BY_ZERO},
        {1.0, OP_DIVIDE, 0.000001, "1000000"},
        {"a", OP_DIVIDE, 0.0, message::WRONG_DIVIDE},
        {"a", OP_DIV, 1.0, message::WRONG_DIV},
        {"a", OP_MOD, 1.0, message::WRONG_MOD},
        {0.5, OP_AND, 1.0, "1"},
        {0.49, OP_OR, 0.0, "0"},
        {0.5, OP_XOR, 0.5, "0"},
        {0.5, OP_XOR, 0.4, "1"},
        {"a", OP_AND, 1.0, message::WRONG_AND},
        {"a", OP_OR, 1.0, message::WRONG_OR},
        {"a", OP_XOR, 1.0, message::WRONG_XOR},
        {"a", OP_BIT_OR, 1.0, message::WRONG_BIT_OR},
        {"a", OP_BIT_AND, 1.0, message::WRONG_BIT_AND},
        {"a", OP_BIT_XOR, 1.0, message::WRONG_BIT_XOR},
        {"a", OP_SHIFT_LEFT, 1.0, message::WRONG_SHIFT_LEFT},
        {1.0, OP_SHIFT_RIGHT, "a", message::WRONG_SHIFT_RIGHT},
        {2.5, OP_BIT_OR, 0.0, "2"},
        {3.5, OP_BIT_OR, 0.0, "4"},
        {6.0, OP_BIT_AND, 3.0, "2"},
        {6.0, OP_BIT_XOR, 3.0, "5"},
        {1.0, OP_SHIFT_LEFT, 3.0, "8"},
        {1.0, OP_SHIFT_LEFT, 64.0, "0"},
        {1.0, OP_SHIFT_LEFT, 63.0, "-9.2233720368547758e+18"},
        {-1.0, OP_SHIFT_RIGHT, 1.0, "9.2233720368547758e+18"},
        {"a", OP_LESS, "b", "1"},
        {"B", OP_LESS, "a", "1"},
        {"abc", OP_EQUAL_EQUAL, "ABC", "0"},
        {"ab", OP_LESS, "abc", "1"},
        {"\xe9", OP_GREATER, "a", "1"},
        {"ab", OP_EQUAL, "ab", "1"},
        {"1", OP_EQUAL_EQUAL, 1.0, message::CANNOT_COMPARE},
        {0.1 + 0.2, OP_EQUAL_EQUAL, 0.3, "0"},
        {2.0, OP_NOT_EQUAL, 3.0, "1"},
        {3.0, OP_GREATER_EQUAL, 3.0, "1"},
        {3.0, OP_LESS_EQUAL, 2.0, "0"},
        {1.0, OP_BIT_NOT, 1.0, message::UNKNOWN_BINARY},
        {1.0, 999, 1.0, message::UNKNOWN_BINARY},
    };
    for (const Case& c : cases) {
        Value left = c.left;
        const char* failure = binary_operation(c.code, left, c.right);
        std::string result = failure ? failure : shown(left);
        EXPECT_EQ(result, c.expected) << shown(c.left) << " " << c.code << " " << shown(c.right);
        if (failure) {
            EXPECT_EQ(shown(left), shown(c.left)) << "a failed operation keeps the left operand";
        }
    }
}

TEST(Operators, UnaryRulesAndMessages)
{
    struct Case {
        std::int32_t code;     // operator
        Value operand;         // operand
        const char* expected;  // result, or the failure message
    };
    const Case cases[] = {
        {OP_NOT, 0.5, "0"},      {OP_NOT, 0.49, "1"},    {OP_MINUS, 2.0, "-2"},
        {OP_PLUS, 2.0, "2"},     {OP_BIT_NOT, 0.0, "-1"}, {OP_BIT_NOT, 2.5, "-3"},
        {OP_MINUS, "a", message::WRONG_UNARY}, {OP_PLUS, "a", message::WRONG_UNARY},
        {OP_NOT, "a", message::WRONG_UNARY},   {OP_BIT_NOT, "a", message::WRONG_UNARY},
        {OP_MULTIPLY, 1.0, message::UNKNOWN_UNARY},
    };
    for (const Case& c : cases) {
        Value operand = c.operand;
        const char* failure = unary_operation(c.code, operand);
        EXPECT_EQ(failure ? std::string(failure) : shown(operand), c.expected) << c.code << " " << shown(c.operand);
    }
}

TEST(Operators, RoundingGoesToEvenAndSaturates)
{
    EXPECT_EQ(round_to_int64(2.5), 2);
    EXPECT_EQ(round_to_int64(3.5), 4);
    EXPECT_EQ(round_to_int64(-2.5), -2);
    EXPECT_EQ(round_to_int64(1e300), INT64_MAX);
    EXPECT_EQ(round_to_int64(-1e300), INT64_MIN);
    EXPECT_EQ(round_to_int32(1e12), INT32_MAX);
}

class OperatorFolding : public LanguageTest {};

// A constant expression fails while compiling with the message the same operation gives at run time.
TEST_F(OperatorFolding, CompileTimeAndRunTimeGiveTheSameMessage)
{
    struct Case {
        const char* folded;   // fails while compiling
        const char* running;  // fails while running
    };
    const Case cases[] = {
        {"x = 1 / 0", "a = 0; x = 1 / a"},
        {"x = 'a' + 1", "a = 'a'; x = a + 1"},
        {"x = -'a'", "a = 'a'; x = -a"},
        {"x = 1 mod 0", "a = 0; x = 1 mod a"},
    };
    for (const Case& c : cases) {
        std::string compiled = run(c.folded);
        std::string ran = run(c.running);
        ASSERT_EQ(compiled.rfind("compile: ", 0), 0u) << compiled;
        ASSERT_EQ(ran.rfind("error: ", 0), 0u) << ran;
        EXPECT_EQ(compiled.substr(compiled.find(": ", compiled.find("position")) + 2),
                  ran.substr(ran.find(": ", ran.find("position")) + 2));
    }
}

}  // namespace
