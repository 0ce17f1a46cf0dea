// The registration table of the sound functions: sounds, CD audio and media command strings.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

std::span<const FunctionEntry> sound_functions();

}  // namespace quillon
