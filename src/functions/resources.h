// The resource functions that ask about the game's resources.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// Existence, names and record fields of sprites, backgrounds, sounds, scripts, paths, data files, objects and
// rooms (not yet the discard, restore and export functions).
std::span<const FunctionEntry> resource_functions();

} // namespace quillon
