// The route by which code below the language reports game errors; the language installs the real routine.
#pragma once

#include <functional>
#include <string_view>

namespace quillon {

using GameErrorHandler = std::function<void(std::string_view message, bool fatal)>;

// Reports through the installed handler; without one the message goes to standard error.
void report_game_error(std::string_view message, bool fatal = false);

// Installs a handler and returns the previous one, so that a caller can restore it.
GameErrorHandler set_game_error_handler(GameErrorHandler handler);

}  // namespace quillon
