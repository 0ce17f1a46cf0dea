// The registration tables of the built-in families, in the order the function table joins them.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

std::span<const FunctionEntry> math_functions();
std::span<const FunctionEntry> game_functions();
std::span<const FunctionEntry> misc_functions();

}  // namespace quillon
