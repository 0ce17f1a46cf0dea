// The dialog built-ins: the message form and its settings, questions, input boxes, the colour, file and
// directory choosers, and the highscore table.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

std::span<const FunctionEntry> dialog_functions();

}  // namespace quillon
