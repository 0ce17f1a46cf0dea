// The Math family: numbers, rounding, domains, conversions, string positions and points.
#include "functions/random.h"
#include "functions/table.h"
#include "functions/world_families.h"
#include "platform/headless/memory_clipboard.h"
#include "support/secure_mode.h"

#include "code/builtin_variables.h"
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

class MathFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (function_registry().size() == 0)
            register_builtin_functions(function_registry());
        errors().reset();
        errors().set_dialog([this](const std::string& text, bool) {
            m_errors += text.substr(text.find_last_of('\n') + 1) + ";";
            return ErrorChoice::ignore;
        });
    }
    void TearDown() override { errors().set_dialog(nullptr); }

    // The value of an expression as 'text' or a number with up to 15 significant digits, followed by
    // " !! " and the errors it reported, if any.
    std::string value_of(const std::string& expression)
    {
        m_errors.clear();
        CCode code(expression, true);
        if (!code.compile())
            return "compile: " + errors().code_error_text();
        Value result;
        if (!execute(&m_self, &m_self, code, result))
            return "error: " + errors().code_error_text();
        char number[64];
        std::snprintf(number, sizeof number, "%.15g", result.real);
        std::string shown = result.is_string() ? "'" + result.string.str() + "'" : number;
        return m_errors.empty() ? shown : shown + " !! " + m_errors;
    }

    ScriptInstance m_self;  // the instance the expressions run for
    std::string m_errors;   // errors reported during the last expression
};

TEST_F(MathFunctions, Results)
{
    struct Case {
        const char* expression;  // a call
        const char* expected;    // its shown value
    };
    const Case cases[] = {
        {"is_real(1)", "1"}, {"is_real('a')", "0"}, {"is_string(string(1))", "1"},
        {"abs(-2.5)", "2.5"},
        {"round(2.5)", "2"}, {"round(3.5)", "4"}, {"round(-2.5)", "-2"},
        {"floor(-1.5)", "-2"}, {"ceil(-1.5)", "-1"}, {"frac(-1.5)", "-0.5"}, {"frac(-2.25)", "-0.25"},
        {"floor(power(10, 20))", "2147483647"},
        {"sign(0)", "-1"}, {"sign(-0.5)", "-1"}, {"sign(2)", "1"},
        {"sqrt(16)", "4"}, {"sqr(-3)", "9"}, {"exp(0)", "1"},
        {"ln(1)", "0"}, {"log2(8)", "3"}, {"log10(1000)", "3"},
        {"ln(0)", "0 !! Error in function ln().;"}, {"ln(-1)", "0 !! Error in function ln().;"},
        {"log2(0)", "0 !! Error in function log2().;"}, {"log10(-5)", "0 !! Error in function log10().;"},
        {"sin(0)", "0"}, {"cos(0)", "1"}, {"tan(0)", "0"},
        {"arcsin(1) * 2", "3.14159265358979"}, {"arcsin(2)", "0 !! Error in function arcsin().;"},
        {"arccos(-1.5)", "0 !! Error in function arccos().;"}, {"arctan(0)", "0"},
        {"arctan2(1, 0) * 2", "3.14159265358979"}, {"arctan2(0, -1)", "3.14159265358979"},
        {"degtorad(180)", "3.14159265358979"}, {"radtodeg(pi)", "180"},
        {"power(-2, 3)", "-8"}, {"power(2, -1)", "0.5"}, {"power(0, 0)", "1"}, {"power(0, 3)", "0"},
        {"power(4, 0.5)", "2"}, {"power(-8, 1/3)", "0 !! Error in function power().;"},
        {"power(0, -1)", "0 !! Error in function power().;"},
        {"logn(2, 8)", "3"}, {"logn(1, 8)", "0 !! Error in function logn().;"},
        {"logn(-2, 8)", "0 !! Error in function logn().;"},
        {"min(3, -1)", "-1"}, {"max(3, -1)", "3"}, {"min3(3, -1, 2)", "-1"}, {"max3(3, 7, 2)", "7"},
        {"mean(3, 4)", "3.5"},
        {"real(5)", "5"}, {"real('  12.5  ')", "12.5"}, {"real('-1.5e2')", "-150"}, {"real('')", "0"},
        {"real('   ')", "0"}, {"real('abc')", "0 !! Error in function real().;"},
        {"real('1.2.3')", "0 !! Error in function real().;"}, {"real('.')", "0 !! Error in function real().;"},
        {"real(chr(9) + '5')", "0 !! Error in function real().;"},
        {"string('a')", "'a'"}, {"string(3)", "'3'"}, {"string(-7)", "'-7'"}, {"string(3.14159)", "'3.14'"},
        {"string(-0.5)", "'-0.50'"}, {"string(-0.001)", "'0.00'"}, {"string_format(-0.4, 10, 0)", "'0'"}, {"string(1/3)", "'0.33'"}, {"string(123456789.126)", "'123456789.10'"},
        {"string(power(10, 20))", "'1.000000000E+20'"}, {"string(1 << 63)", "'-9223372036854775808'"},
        {"string(9200000000000000000)", "'9200000000000000000'"},
        {"string_format(3.14159, 10, 4)", "'3.1416'"}, {"string_format(2.5, 10, 0)", "'2'"},
        {"string_format(7, 10, 3)", "'7.000'"}, {"string_format(-2, 10, 1)", "'-2.0'"},
        {"string_format(123.456, 4, 2)", "'123.50'"}, {"string_format('s', 1, 1)", "'s'"},
        {"string_format(0.001234, 2, 5)", "'0.00120'"},
        {"chr(65)", "'A'"}, {"chr(321)", "'A'"}, {"ord('A')", "65"}, {"ord('')", "0"}, {"ord(chr(233))", "233"},
        {"string_length('hello')", "5"},
        {"string_pos('l', 'hello')", "3"}, {"string_pos('', 'abc')", "0"}, {"string_pos('x', '')", "0"},
        {"string_pos('z', 'abc')", "0"},
        {"string_copy('hello', 0, 2)", "'he'"}, {"string_copy('hello', 4, 10)", "'lo'"},
        {"string_copy('hello', 6, 1)", "''"}, {"string_copy('hello', 2, -1)", "''"},
        {"string_char_at('hello', 2)", "'e'"}, {"string_char_at('hello', 9)", "''"},
        {"string_delete('hello', 0, 2)", "'hello'"}, {"string_delete('hello', 2, 2)", "'hlo'"},
        {"string_delete('hello', 4, 99)", "'hel'"}, {"string_delete('hello', 6, 1)", "'hello'"},
        {"string_delete('hello', 2, 0)", "'hello'"},
        {"string_insert('X', 'abc', 10)", "'abcX'"}, {"string_insert('X', 'abc', 0)", "'Xabc'"},
        {"string_insert('X', 'abc', 2)", "'aXbc'"},
        {"string_lower('AbC1\xc9')", "'abc1\xc9'"}, {"string_upper('aBc1\xe9')", "'ABC1\xe9'"},
        {"string_repeat('ab', 2.5)", "'abab'"}, {"string_repeat('ab', -1)", "''"},
        {"string_repeat('abc', 5)", "'abcabcabcabcabc'"}, {"string_replace_all('xaxa', 'x', 'yz')", "'yzayza'"},
        {"string_letters('a1_B2')", "'aB'"}, {"string_digits('a1_B2')", "'12'"},
        {"string_lettersdigits('a1_B2!')", "'a1B2'"},
        {"string_replace('abab', 'b', 'X')", "'aXab'"}, {"string_replace('abab', '', 'X')", "'abab'"},
        {"string_replace_all('aaaa', 'aa', 'b')", "'bb'"}, {"string_replace_all('abc', 'B', 'x')", "'abc'"},
        {"string_count('aa', 'aaaa')", "2"}, {"string_count('', 'aaaa')", "0"},
        {"point_distance(0, 0, 3, 4)", "5"},
        {"point_direction(0, 0, 1, -1)", "45"}, {"point_direction(0, 0, -1, 0)", "180"},
        {"point_direction(0, 0, 0, 0)", "0"}, {"point_direction(0, 0, 0, 5)", "270"},
        {"point_direction(0, 0, 0, -5)", "90"}, {"point_direction(0, 0, 1, 1)", "315"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value_of(c.expression), c.expected) << c.expression;
}

TEST_F(MathFunctions, RandomDrawsFromTheSharedGenerator)
{
    random_generator().seed(0);
    EXPECT_EQ(value_of("random(4294967296)"), "1");
    EXPECT_EQ(value_of("random(4294967296)"), "134775814");
    for (int i = 0; i < 100; ++i) {
        double drawn = std::stod(value_of("random(10)"));
        EXPECT_GE(drawn, 0);
        EXPECT_LT(drawn, 10);
    }
}

TEST_F(MathFunctions, ExecuteFileCountsTheFilesLines)
{
    auto path = std::filesystem::temp_directory_path() / "quillon_execute_file.txt";
    {
        std::ofstream file(path);
        file << "a = 1\nreturn a + 1 / 0\n";
    }
    EXPECT_EQ(value_of("execute_file('" + path.string() + "')"),
              "0 !! COMPILATION ERROR in file to be executed\rError in code at line 2:\r   return a + 1 / 0\r\rat "
              "position 16: Division by 0.;");
    {
        std::ofstream file(path);
        file << "a = 20\nreturn a + 1\n";
    }
    EXPECT_EQ(value_of("execute_file('" + path.string() + "')"), "21");
    std::filesystem::remove(path);
    EXPECT_EQ(value_of("execute_file('" + path.string() + "')"), "0 !! Trying to execute non-existing file.;");
}

TEST_F(MathFunctions, ExternalDefinitionsAreCheckedInOrder)
{
    struct Case {
        const char* expression;  // a definition or call
        const char* expected;    // its value and messages
    };
    const Case cases[] = {
        {"external_define('a.dll', 'f', dll_cdecl, ty_real, 2, ty_real)",
         "-1 !! Wrong number of arguments to external_define();"},
        {"external_define('a.dll', 'f', dll_cdecl, ty_real)", "-1 !! Wrong number of arguments to external_define();"},
        {"external_define('a.dll', 'f', dll_cdecl, ty_real, 5, 0, 0, ty_string, 0, 0)",
         "-1 !! DLL functions with more than 4 arguments cannot have string arguments;"},
        {"external_define('a.dll', 'f', dll_stdcall, ty_string, 2, ty_string, ty_real)",
         "-1 !! Error defining an external function.;"},
        {"external_define('a.dll', 'f', dll_cdecl, ty_real, 5, 0, 0, 0, 0, 0)",
         "-1 !! Error defining an external function.;"},
        {"external_define2('a.dll', 'f', ty_real, ty_real, ty_real)", "-1 !! Error defining an external function.;"},
        {"external_define8('a.dll', 'f', ty_real)", "-1 !! Error defining an external function.;"},
        {"external_call(0, 1)", "0"}, {"external_call(-1)", "0"}, {"external_call2(0, 'a', 2)", "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value_of(c.expression), c.expected) << c.expression;
}

TEST_F(MathFunctions, ExternalFunctionsCallNativeLibraries)
{
    // Named as a game for Windows names it: the loader falls back from ".dll" to ".so".
    std::string library = QUILLON_SAMPLE_LIBRARY;
    library = "'" + library.substr(0, library.size() - 3) + ".dll'";
    auto define = [&](const std::string& arguments) {
        return std::stoi(value_of("external_define(" + library + ", " + arguments + ")"));
    };
    int add3 = define("'sample_add3', dll_cdecl, ty_real, 3, ty_real, ty_real, ty_real");
    int greet = std::stoi(value_of("external_define1(" + library + ", 'sample_greet', ty_string, ty_string)"));
    int weigh = std::stoi(value_of("external_define2(" + library + ", 'sample_weigh', ty_string, ty_real, ty_real)"));
    int nothing = define("'sample_nothing', dll_stdcall, ty_string, 0");
    // Eleven types fill the sixteen arguments a call can have.
    int digits = define("'sample_digits', dll_cdecl, ty_real, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0");
    int calls = std::stoi(value_of("external_define0(" + library + ", 'sample_calls', ty_real)"));
    int add5 = std::stoi(value_of("external_define5(" + library + ", 'sample_add5', ty_real)"));
    for (int id : {add3, greet, weigh, nothing, digits, calls, add5})
        ASSERT_GE(id, 0) << m_errors;
    auto call = [&](int id, const std::string& arguments) {
        return value_of("external_call(" + std::to_string(id) + arguments + ")");
    };
    EXPECT_EQ(call(add3, ", 1, 2.5, 3"), "6.5");
    EXPECT_EQ(value_of("external_call3(" + std::to_string(add3) + ", 1, 1, 1)"), "3");
    EXPECT_EQ(call(greet, ", 'caf\xe9'"), "'hello caf\xe9'");  // the game's bytes go through as they are
    EXPECT_EQ(call(weigh, ", 'four', 2"), "8");
    EXPECT_EQ(call(nothing, ""), "''");
    EXPECT_EQ(call(add5, ", 1, 2, 3, 4, 5"), "15");
    EXPECT_EQ(call(digits, ", 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1"), "12345678901");
    // A call with another number of arguments reaches nothing.
    std::string before = call(calls, "");
    EXPECT_EQ(call(add3, ", 1, 2"), "0");
    EXPECT_EQ(call(calls, ""), before);
    // The same library named in other letters is the one already loaded.
    std::string upper = library;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_GE(std::stoi(value_of("external_define0(" + upper + ", 'sample_calls', ty_real)")), 0) << m_errors;
    EXPECT_EQ(value_of("external_define0(" + library + ", 'no_such_function', ty_real)"),
              "-1 !! Error defining an external function.;");
}

TEST_F(MathFunctions, SecureModeRefusesExternalLibraries)
{
    set_secure_mode(true);
    const char* refused = " !! In secure mode you cannot use DLLs;";
    EXPECT_EQ(value_of("external_define('a.dll', 'f', dll_cdecl, ty_real, 9)"), std::string("-1") + refused);
    EXPECT_EQ(value_of("external_define0('a.dll', 'f', ty_real)"), std::string("-1") + refused);
    EXPECT_EQ(value_of("external_call(0)"), std::string("0") + refused);
    EXPECT_EQ(value_of("execute_string('return 3')"), "3") << "code execution stays allowed";
    set_secure_mode(false);
}

TEST_F(MathFunctions, ClipboardHoldsTextWhileAGamePlays)
{
    EXPECT_EQ(value_of("clipboard_get_text()"), "'' !! This function is not available yet: clipboard_get_text;");
    platform::MemoryClipboard clipboard;
    play_services().clipboard = &clipboard;
    EXPECT_EQ(value_of("clipboard_has_text()"), "0");
    EXPECT_EQ(value_of("clipboard_get_text()"), "''");
    EXPECT_EQ(value_of("clipboard_set_text('caf\xe9')"), "0");
    EXPECT_EQ(value_of("clipboard_has_text()"), "1");
    EXPECT_EQ(value_of("clipboard_get_text()"), "'caf\xe9'");
    play_services().clipboard = nullptr;
}

TEST_F(MathFunctions, ExecuteStringRunsForTheCaller)
{
    EXPECT_EQ(value_of("execute_string('return 5')"), "5");
    EXPECT_EQ(value_of("execute_string('x = ')"), "0 !! COMPILATION ERROR in string to be executed\rError in code at "
                                                  "line 1:\r   x = \r\rat position 4: Unexpected symbol in expression.;");
    EXPECT_EQ(value_of("execute_string('y = undefined_var') + 7"),
              "7 !! Error in code at line 1:\r   y = undefined_var\r\rat position 5: Unknown variable undefined_var;");
}

}  // namespace
