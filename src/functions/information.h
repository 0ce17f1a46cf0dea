// The game information window and rich-text pages: `show_info`, `load_info` and `show_text`.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

std::span<const FunctionEntry> information_functions();

// Shows the game information window of the game being played (F1, `show_info`, `action_show_info`) and then
// clears the keyboard and mouse state; nothing shows in exclusive graphics mode. False when the window cannot
// be shown here, as outside a game.
bool show_game_information();

}  // namespace quillon
