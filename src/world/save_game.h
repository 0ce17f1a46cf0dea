// Saved games: the running game written to a file at once, and read back in place of the running game.
#pragma once

#include "world/world.h"

#include <string>

namespace quillon {

constexpr std::int32_t SAVE_FILE_VERSION = 420;

// The file of the F5 and F6 keys: "_save" + game id + ".sav" in the current directory.
std::string quick_save_name(std::int32_t game_id);

// Writes the game to the file through a temporary file renamed over it, so that a failed save leaves an earlier
// save whole. In secure mode a name with a folder in it is refused. Errors are reported (non-fatal); false then.
bool save_game(const World& world, const std::string& file_name, bool secure_mode);

// Replaces the running game with the saved one; no event runs. A missing file does nothing; a file that cannot
// be read, is of another version or game, or is damaged is reported (non-fatal) and changes nothing. True when
// the game was loaded.
bool load_game(World& world, const std::string& file_name);

}  // namespace quillon
