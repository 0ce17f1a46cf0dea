// ActionProgram: what compiling an action leaves for running it, and the compilation of actions.
#include "world/action_program.h"

#include "code/function_registry.h"
#include "world/event.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::int32_t ARGUMENT_STRING = 1;
constexpr std::int32_t ARGUMENT_STRING_OR_EXPRESSION = 2;
constexpr std::int32_t ARGUMENT_TEXT = 15;

// Reports the pending compiler message as a fatal error at the current place.
bool compile_failure(const std::string& prefix)
{
    std::string text = prefix + errors().code_error_text();
    errors().clear_code_error();
    errors().report_in_context(text, true);
    return false;
}

// A literal string, or an expression that is kept as its value when it folds to a constant.
bool compile_argument(CAction& action, int index)
{
    const std::string text = index < static_cast<int>(action.arguments.size()) ? action.arguments[index] : "";
    ActionProgram& program = action.program;
    if (!argument_is_expression(action, index)) {
        program.constants[index] = Value(ScriptString(text));
        return true;
    }
    auto code = std::make_shared<CCode>(text, true);
    if (!code->compile())
        return compile_failure("COMPILATION ERROR in argument " + std::to_string(index) + "\r");
    if (code->kind() == CCode::CONSTANT_EXPRESSION)
        program.constants[index] = code->constant();
    else
        program.argument_codes[index] = std::move(code);
    return true;
}

}  // namespace

std::string action_code_text(const CAction& action)
{
    auto argument = [&](std::size_t i) { return i < action.arguments.size() ? action.arguments[i] : std::string(); };
    if (action.kind == ACTION_SET_VARIABLE)
        return argument(0) + (action.relative ? " += " : " = ") + argument(1);
    if (action.kind == ACTION_CODE)
        return argument(0);
    return action.code;
}

bool action_compiles_code(const CAction& action)
{
    return action.execution_type == EXECUTE_CODE || action.kind == ACTION_SET_VARIABLE || action.kind == ACTION_CODE;
}

bool argument_is_expression(const CAction& action, int index)
{
    const std::string text = index < static_cast<int>(action.arguments.size()) ? action.arguments[index] : "";
    std::int32_t kind = index < static_cast<int>(action.argument_kinds.size()) ? action.argument_kinds[index] : 0;
    if (kind == ARGUMENT_STRING_OR_EXPRESSION)
        kind = !text.empty() && (text[0] == '\'' || text[0] == '"') ? 0 : ARGUMENT_STRING;
    return kind != ARGUMENT_STRING && kind != ARGUMENT_TEXT;
}

bool compile_action(CAction& action, const LoadNotice& notice)
{
    ActionProgram& program = action.program;
    program = ActionProgram {};
    // 1. A function action finds its built-in by exact name; an unknown one is shown and then does nothing.
    if (action.execution_type == EXECUTE_FUNCTION) {
        std::optional<std::int32_t> index = function_registry().find(action.function_name);
        if (index && *index < static_cast<std::int32_t>(function_registry().size()))
            program.function_index = *index;
        else if (notice)
            notice("Failed to locate action function " + action.function_name);
    }
    // 2. Set-variable and code actions become code; code is compiled as a program.
    if (action_compiles_code(action)) {
        auto code = std::make_shared<CCode>(action_code_text(action), false);
        if (!code->compile())
            return compile_failure("COMPILATION ERROR in code action\r");
        program.code = std::move(code);
    }
    // 3. Each argument becomes a constant or an expression to evaluate when the action runs. Actions list at
    // most eight; further ones are ignored.
    int count = std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS);
    for (int i = 0; i < count; ++i)
        if (!compile_argument(action, i))
            return false;
    return true;
}

bool compile_event(CEvent& event, ErrorContext place, const LoadNotice& notice)
{
    for (std::size_t i = 0; i < event.actions.size(); ++i) {
        place.action = static_cast<std::int32_t>(i);
        errors().m_context = place;
        if (!compile_action(event.actions[i], notice))
            return false;
    }
    return true;
}

}  // namespace quillon
