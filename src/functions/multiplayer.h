// The multiplayer functions: connections, sessions, players, messages and shared data.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// The 29 functions whose names begin with mplay_.
std::span<const FunctionEntry> multiplayer_functions();

} // namespace quillon
