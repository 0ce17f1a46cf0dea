// External libraries: the checks of every definition and call. Games built for Windows name Windows
// libraries, which cannot be loaded here, so every definition that passes its checks fails with the
// usual message and gives -1; as no function is ever defined, every call quietly gives real 0.
#include "functions/external.h"

#include "code/messages.h"
#include "functions/args.h"
#include "functions/world_call.h"

namespace quillon::external {

namespace {

constexpr int MAX_ARGUMENTS = 12; // a library function takes at most this many arguments
constexpr int MAX_STRING_ARGUMENTS = 4; // and only up to this many when any is a string
constexpr int DEFINE_FIXED_ARGUMENTS = 5; // library, name, convention, result type, count

ServiceVariable s_secure_mode("secure_mode");

// Secure mode refuses every use of a library, with its message.
bool refused_in_secure_mode(const FunctionCall& call)
{
    if (!is_true(s_secure_mode.get(call).real))
        return false;
    report_function_error(message::DLL_IN_SECURE_MODE);
    return true;
}

// A definition that passed its checks: no library can be loaded, so it fails and the result stays -1.
void define() { report_function_error(message::DLL_DEFINITION_FAILED); }

// The types of external_define, from its sixth argument on: only reals beyond four arguments.
bool has_string_type(const FunctionCall& call)
{
    for (int i = DEFINE_FIXED_ARGUMENTS; i < call.count; ++i)
        if (integer_argument(call, i) != 0)
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
    define();
}

// external_define0 to external_define8: their layouts are fixed, so only secure mode and the definition remain.
void external_define_fixed(FunctionCall& call)
{
    call.result.set_real(-1);
    if (!refused_in_secure_mode(call))
        define();
}

// No id is ever defined, so past secure mode a call does nothing and gives real 0, without a message.
void external_call(FunctionCall& call)
{
    refused_in_secure_mode(call);
}

} // namespace quillon::external
