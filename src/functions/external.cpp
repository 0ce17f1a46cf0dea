// External libraries: definitions of functions in native shared libraries, with the checks of every definition,
// and calls that pass reals as doubles and strings as zero-terminated bytes. A game written for Windows names
// "x.dll"; the loader then also tries "x.so".
#include "functions/external.h"
#include "support/ascii_case.h"

#include "code/messages.h"
#include "functions/args.h"
#include "functions/world_call.h"
#include "platform/native_library.h"
#include "support/game_path.h"

#include <array>
#include <string>
#include <vector>

namespace quillon::external {

namespace {

constexpr int MAX_ARGUMENTS = 12; // a library function takes at most this many arguments
constexpr int MAX_STRING_ARGUMENTS = 4; // and only up to this many when any is a string
constexpr int DEFINE_FIXED_ARGUMENTS = 5; // library, name, convention, result type, count
constexpr int FIXED_DEFINE_NAME_ARGUMENTS = 2; // library and name open external_define0 to external_define8
constexpr int MAX_STRING_FIXED_DEFINE = 4; // external_define0 to 4 give types; 5 to 8 take reals only

// A defined function; its index in the table is the id scripts use.
struct ExternalFunction {
    std::string library_name; // as the definition gave it
    void* library = nullptr; // the loaded library
    std::string function_name; // the exported name
    void* address = nullptr; // the function
    std::int32_t convention = 0; // kept as given: this system has one calling convention
    int argument_count = 0;
    std::array<bool, MAX_ARGUMENTS> string_arguments {}; // per argument: a string, else a real
    bool string_result = false;
};

// The functions defined in this run; libraries are never unloaded.
std::vector<ExternalFunction>& functions()
{
    static std::vector<ExternalFunction> s_functions;
    return s_functions;
}

// A type argument means a string when it rounds to 1.
bool is_string_type(const Value& type)
{
    return round_to_int32(type.real) == 1;
}

ServiceVariable s_secure_mode("secure_mode");

// Secure mode refuses every use of a library, with its message.
bool refused_in_secure_mode(const FunctionCall& call)
{
    if (!is_true(s_secure_mode.get(call).real))
        return false;
    report_function_error(message::DLL_IN_SECURE_MODE);
    return true;
}

// The function's id, or -1 when too many arguments, strings beyond four, the library or the function is missing.
std::int32_t define(ExternalFunction function)
{
    if (function.argument_count < 0 || function.argument_count > MAX_ARGUMENTS)
        return -1;
    if (function.argument_count > MAX_STRING_ARGUMENTS)
        for (int i = 0; i < function.argument_count; ++i)
            if (function.string_arguments[i])
                return -1;
    // A library named once before (in any case) is used again.
    for (const ExternalFunction& defined : functions())
        if (equal_ignoring_ascii_case(defined.library_name, function.library_name)) {
            function.library = defined.library;
            break;
        }
    if (!function.library)
        function.library = platform::load_native_library(find_game_path(function.library_name).string());
    function.address = platform::find_native_function(function.library, function.function_name);
    if (!function.address)
        return -1;
    functions().push_back(std::move(function));
    return static_cast<std::int32_t>(functions().size() - 1);
}

// Defines, with the message of a failed definition.
void define_reporting(FunctionCall& call, ExternalFunction function)
{
    std::int32_t id = define(std::move(function));
    if (id < 0)
        report_function_error(message::DLL_DEFINITION_FAILED);
    call.result.set_real(id);
}

// The types of external_define, from its sixth argument on: only reals beyond four arguments.
bool has_string_type(const FunctionCall& call)
{
    for (int i = DEFINE_FIXED_ARGUMENTS; i < call.count; ++i)
        if (is_string_type(call.argument(i)))
            return true;
    return false;
}

} // namespace

// external_define(library, name, convention, result type, count, type1, ..., typeN). Every refusal gives
// -1, the result of a failed definition, so that no refused definition yields a usable id.
void external_define(FunctionCall& call)
{
    call.result.set_real(-1);
    // 1. Secure mode.
    if (refused_in_secure_mode(call))
        return;
    // 2. The count must match the types given.
    std::int32_t count = integer_argument(call, 4);
    if (call.count < DEFINE_FIXED_ARGUMENTS
        || call.count != static_cast<std::int64_t>(count) + DEFINE_FIXED_ARGUMENTS) {
        report_function_error(message::DLL_WRONG_ARGUMENT_COUNT);
        return;
    }
    // 3. At most 12 arguments.
    if (count < 0 || count > MAX_ARGUMENTS) {
        report_function_error(message::DLL_TOO_MANY_ARGUMENTS);
        return;
    }
    // 4. Strings only up to four arguments.
    if (count > MAX_STRING_ARGUMENTS && has_string_type(call)) {
        report_function_error(message::DLL_STRINGS_BEYOND_FOUR);
        return;
    }
    // 5. The definition itself.
    ExternalFunction function { string_argument(call, 0).str(), nullptr, string_argument(call, 1).str(), nullptr,
        integer_argument(call, 2), count, {}, is_string_type(call.argument(3)) };
    for (int i = 0; i < count; ++i)
        function.string_arguments[i] = is_string_type(call.argument(DEFINE_FIXED_ARGUMENTS + i));
    define_reporting(call, std::move(function));
}

// external_defineN(library, name, [type1, ..., typeN,] result type): N is the last character of the name; up to
// four arguments each has a type, from five on they are reals.
void external_define_fixed(FunctionCall& call)
{
    call.result.set_real(-1);
    if (refused_in_secure_mode(call))
        return;
    int count = function_registry().at(call.index).name.back() - '0';
    int typed = count <= MAX_STRING_FIXED_DEFINE ? count : 0;
    ExternalFunction function { string_argument(call, 0).str(), nullptr, string_argument(call, 1).str(), nullptr,
        0, count, {}, is_string_type(call.argument(FIXED_DEFINE_NAME_ARGUMENTS + typed)) };
    for (int i = 0; i < typed; ++i)
        function.string_arguments[i] = is_string_type(call.argument(FIXED_DEFINE_NAME_ARGUMENTS + i));
    define_reporting(call, std::move(function));
}

// external_call(id, arg1, ..., argN): nothing, and real 0, for an id never defined or another argument count.
void external_call(FunctionCall& call)
{
    if (refused_in_secure_mode(call))
        return;
    std::int32_t id = integer_argument(call, 0);
    if (id < 0 || id >= static_cast<std::int32_t>(functions().size()))
        return;
    const ExternalFunction& function = functions()[id];
    if (call.count - 1 != function.argument_count)
        return;
    // The texts live until the call returns.
    std::array<std::string, MAX_ARGUMENTS> texts;
    std::array<platform::NativeValue, MAX_ARGUMENTS> arguments {};
    for (int i = 0; i < function.argument_count; ++i) {
        const Value& argument = call.argument(i + 1);
        if (function.string_arguments[i]) {
            texts[i] = argument.string.str();
            arguments[i].text = texts[i].c_str();
        } else {
            arguments[i].real = argument.real;
        }
    }
    platform::NativeValue result = platform::call_native_function(
        function.address, std::span(arguments.data(), function.argument_count), function.string_result);
    if (function.string_result)
        call.result.set_string(ScriptString(result.text ? result.text : ""));
    else
        call.result.set_real(result.real);
}

} // namespace quillon::external
