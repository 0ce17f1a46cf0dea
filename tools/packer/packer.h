// quillon-pack's two directions: a project folder into a game, and a game back into a project folder.
#pragma once

#include "project_files.h"
#include "runner/game_file.h"

namespace quillon {

constexpr const char* MANIFEST_FILE = "game.json";

// Builds the game a project describes. Throws PackError naming the file, the field and the problem; code that
// does not compile and actions calling unknown functions are listed one problem a line. When unused is given,
// it receives the project's files that nothing in the project names (hidden files aside).
GameFile pack_project(const ProjectSource& source, std::int32_t seed = 0, std::vector<std::string>* unused = nullptr);

// The files of a project folder that packs back to the same game (the same bytes, once unscrambled).
ProjectFiles unpack_game(const GameFile& game);

}  // namespace quillon
