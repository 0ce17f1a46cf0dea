// Finding the game: the file named on the command line, game.dat in the current directory, or the data that
// a stand-alone game carries behind the runner's own executable.
#pragma once

#include "support/stream.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <optional>

namespace quillon {

// A stand-alone game is the runner executable with a whole game file appended, followed by this trailer:
// the eight bytes of GAME_TRAILER_MAGIC and the offset at which the game file starts (8 bytes, little-endian).
constexpr char GAME_TRAILER_MAGIC[9] = "QNGAME01";
constexpr std::size_t GAME_TRAILER_SIZE = 16;

// The game file to open: the given one, else game.dat in the current directory, else the executable itself.
std::filesystem::path locate_game(const std::optional<std::filesystem::path>& given);

// Loads the whole game file into memory. When that fails, the file is copied to a temporary name and the copy
// is loaded instead (and deleted again). For a stand-alone executable only the appended game file is kept.
std::optional<CStream> open_game_data(const std::filesystem::path& file, TempDirectory& temp);

}  // namespace quillon
