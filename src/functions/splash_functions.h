// The registration table of the splash and menu built-ins: pictures and videos between rooms, and pop-up menus.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

std::span<const FunctionEntry> splash_functions();

}  // namespace quillon
