// quillon-pack's two directions: a project folder into a game, and a game back into a project folder.
#pragma once

#include "project_files.h"
#include "runner/game_file.h"

namespace quillon {

constexpr const char* MANIFEST_FILE = "game.json";

// Builds the game a project describes. Throws PackError naming the file, the field and the problem.
GameFile pack_project(const ProjectSource& source, std::int32_t seed = 0);

// The files of a project folder that packs back to the same game (the same bytes, once unscrambled).
ProjectFiles unpack_game(const GameFile& game);

}  // namespace quillon
