// The screen functions of the graphics family that work on the screen buffer itself.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// set_cursor, screen_redraw, screen_refresh, screen_gamma, screen_save and screen_save_part.
std::span<const FunctionEntry> screen_functions();

}  // namespace quillon
