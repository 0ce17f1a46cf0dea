// The Events family: performing events on demand and inherited events, for the function table.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// event_perform, event_user, event_perform_object and action_inherited (event_inherited shares it).
// The table's Misc and Action families list these names; the handlers here are theirs.
std::span<const FunctionEntry> event_functions();

}  // namespace quillon
