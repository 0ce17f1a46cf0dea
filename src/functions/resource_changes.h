// The resource functions that change resources while the game plays: sprites and backgrounds added from picture
// files, replaced and deleted; image sheets discarded and restored; data files exported and discarded.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// sprite_add, sprite_replace, sprite_delete, background_add, background_replace, background_delete,
// discard_all, sprite_discard, sprite_restore, background_discard, background_restore, datafile_discard and
// datafile_export.
std::span<const FunctionEntry> resource_change_functions();

}  // namespace quillon
