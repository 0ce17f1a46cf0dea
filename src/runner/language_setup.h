// Language set-up: the built-in functions, the error routine's dialog and settings, and the runner's host.
#pragma once

#include "code/host.h"
#include "platform/dialog_host.h"
#include "support/settings.h"

#include <functional>
#include <string>

namespace quillon {

// The host under the world: show_debug_message writes its text and a line feed to standard output.
class RunnerHost : public ScriptHost {
public:
    void debug_message(std::string_view text) override;

    std::function<void(std::string_view text)> message_window;  // in debug mode: the debugger's messages too
};

// Registers every built-in function once per process, in the table's fixed order.
void register_builtins_once();
// Every built-in function in table order, one line each: its name, a space and its argument count ("any" when
// it takes any number).
std::string function_list_text();

// Routes game errors to the platform's message box (Abort, or Abort and Ignore) and game errors of the
// layers below the language to the error routine.
void connect_error_routine(platform::DialogHost& dialogs);

// The error routine follows the game's settings.
void apply_error_settings(const GameSettings& settings);

}  // namespace quillon
