// Language set-up: the built-in functions, the error routine's dialog and settings, and the runner's host.
#include "runner/language_setup.h"

#include "code/errors.h"
#include "code/function_registry.h"
#include "functions/dialog_functions.h"
#include "functions/drawing.h"
#include "functions/events.h"
#include "functions/files.h"
#include "functions/information.h"
#include "functions/multiplayer.h"
#include "functions/resource_changes.h"
#include "functions/resources.h"
#include "functions/screen.h"
#include "functions/sound_functions.h"
#include "functions/splash_functions.h"
#include "functions/table.h"
#include "functions/text_drawing.h"
#include "functions/world_families.h"
#include "support/game_error.h"
#include "support/terminal_text.h"

#include <cstdio>
#include <string>

namespace quillon {

void RunnerHost::debug_message(std::string_view text)
{
    write_terminal_line(stdout, text);
    if (message_window)
        message_window(text);
}

void register_builtins_once()
{
    static bool s_registered = false;
    if (s_registered)
        return;
    register_builtin_functions(function_registry(),
                               {event_functions(), action_functions(), action_drawing_functions(), interaction_functions(),
                                   screen_functions(), tile_functions(), resource_functions(), drawing_functions(),
                                   file_functions(), multiplayer_functions(), text_drawing_functions(),
                                   sound_functions(), input_functions(), resource_change_functions(),
                                   dialog_functions(), splash_functions(), information_functions()});
    serve_drawing_variables();
    serve_font_variables();
    s_registered = true;
}

std::string function_list_text()
{
    register_builtins_once();
    const FunctionRegistry& registry = function_registry();
    std::string text;
    for (std::size_t index = 0; index < registry.size(); ++index) {
        const BuiltinFunction& function = registry.at(static_cast<std::int32_t>(index));
        text += function.name + ' ';
        text += function.argument_count == FunctionRegistry::ANY_COUNT ? std::string("any")
                                                                        : std::to_string(function.argument_count);
        text += '\n';
    }
    return text;
}

void connect_error_routine(platform::DialogHost& dialogs)
{
    errors().set_dialog([&dialogs](const std::string& text, bool fatal) {
        static const std::string ABORT_ONLY[] = {"Abort"};
        static const std::string ABORT_OR_IGNORE[] = {"Abort", "Ignore"};
        if (fatal) {
            dialogs.message_box("Error", text, ABORT_ONLY, 0);
            return ErrorChoice::abort;
        }
        int pressed = dialogs.message_box("Error", text, ABORT_OR_IGNORE, 1);
        return pressed == 0 ? ErrorChoice::abort : ErrorChoice::ignore;
    });
    set_game_error_handler([](std::string_view message, bool fatal) { errors().report(std::string(message), fatal); });
}

void apply_error_settings(const GameSettings& settings)
{
    LanguageSettings& language = errors().m_settings;
    language.display_errors = settings.display_errors;
    language.log_errors = settings.log_errors;
    language.abort_on_errors = settings.abort_on_errors;
    language.uninitialised_as_zero = settings.uninitialised_are_zero;
    language.exclusive_mode = settings.exclusive_graphics;
}

}  // namespace quillon
