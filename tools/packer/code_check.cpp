// Checks at pack time: every piece of game code compiled as the runner compiles it at load.
#include "code_check.h"
#include "pack_error.h"

#include "code/code_unit.h"
#include "code/errors.h"
#include "code/function_registry.h"
#include "code/script.h"
#include "runner/game_file.h"
#include "runner/language_setup.h"
#include "support/win1252.h"
#include "world/action.h"
#include "world/action_program.h"

#include <algorithm>

namespace quillon {

namespace {

std::string place_text(const Place& place)
{
    return place.where.empty() ? place.file : place.file + ": " + place.where;
}

// The compiler's message for the code, or nothing when it compiles.
std::optional<std::string> compile_problem(const CodeToCheck& code)
{
    CCode unit(code.text, code.expression);
    if (unit.compile())
        return std::nullopt;
    ErrorReporter::CodeErrorSpot spot = errors().code_error_spot();
    errors().clear_code_error();
    std::string message = win1252_to_utf8(spot.message);
    std::string line = std::to_string(spot.line);
    std::string column = std::to_string(spot.column);
    if (code.where.empty())
        return code.file + ":" + line + ":" + column + ": " + message;
    return code.file + ": " + code.where + ": line " + line + ", column " + column + ": " + message;
}

}  // namespace

void CodeChecks::add_action(const CAction& action, const Place& place, const std::string& code_file)
{
    register_builtins_once();
    if (action.execution_type == EXECUTE_FUNCTION) {
        std::optional<std::int32_t> index = function_registry().find(action.function_name);
        std::string name = win1252_to_utf8(action.function_name);
        if (!index || *index >= static_cast<std::int32_t>(function_registry().size())) {
            m_problems.push_back(place_text(place) + ": function: unknown action function \"" + name + "\"");
        } else {
            std::int32_t wanted = function_registry().argument_count(*index);
            std::int32_t given = std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS);
            if (wanted != FunctionRegistry::ANY_COUNT && wanted != given)
                m_problems.push_back(place_text(place) + ": function: \"" + name + "\" takes " + std::to_string(wanted)
                                     + " arguments, the action gives " + std::to_string(given));
        }
    }
    if (action_compiles_code(action)) {
        if (!code_file.empty())
            add({action_code_text(action), false, code_file, ""});
        else
            add({action_code_text(action), false, place.file, place.where.empty() ? "code" : place.where + ": code"});
    }
    int count = std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS);
    for (int i = 0; i < count; ++i) {
        if (argument_is_expression(action, i)) {
            std::string text = i < static_cast<int>(action.arguments.size()) ? action.arguments[i] : "";
            std::string where = "argument " + std::to_string(i + 1);
            add({text, true, place.file, place.where.empty() ? where : place.where + ": " + where});
        }
    }
}

void CodeChecks::run(const GameFile& game)
{
    register_builtins_once();
    std::vector<std::string> problems = m_problems;
    // Scripts are called by name, so the compiler knows them as the runner's loading does.
    scripts().clear();
    for (int i = 0; i < game.scripts.count(); ++i) {
        const ScriptSource* script = game.scripts.get(i);
        scripts().add(game.scripts.slot_name(i), script ? std::optional<std::string>(script->code) : std::nullopt);
    }
    errors().clear_code_error();
    for (const CodeToCheck& code : m_codes) {
        if (std::optional<std::string> problem = compile_problem(code))
            problems.push_back(*problem);
    }
    scripts().clear();
    if (problems.empty())
        return;
    std::string text;
    for (const std::string& problem : problems)
        text += (text.empty() ? "" : "\n") + problem;
    throw PackError(text);
}

}  // namespace quillon
