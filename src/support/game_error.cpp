// The route by which code below the language reports game errors; the language installs the real routine.
#include "support/game_error.h"

#include "support/terminal_text.h"

#include <cstdio>
#include <string>

namespace quillon {

namespace {
GameErrorHandler s_handler;
}

void report_game_error(std::string_view message, bool fatal)
{
    if (s_handler) {
        s_handler(message, fatal);
        return;
    }
    write_terminal_line(stderr, message);
}

GameErrorHandler set_game_error_handler(GameErrorHandler handler)
{
    std::swap(s_handler, handler);
    return handler;
}

}  // namespace quillon
