// The game file: where a game's data sits, its header and scrambling, and its blocks read and written in order.
#pragma once

#include "dialogs/game_information.h"
#include "graphics/background.h"
#include "graphics/sprite.h"
#include "runner/script_source.h"
#include "sound/sound.h"
#include "support/data_file.h"
#include "support/resource_list.h"
#include "support/settings.h"
#include "world/object.h"
#include "world/path.h"
#include "world/room.h"
#include "world/time_line.h"

#include <array>
#include <functional>
#include <string>

namespace quillon {

constexpr std::size_t GAME_DATA_OFFSET = 1250000;  // the runner executable comes first
constexpr std::int32_t GAME_MAGIC = 1230500;
constexpr std::int32_t GAME_SECOND_MAGIC = 1234321;
constexpr std::int32_t GAME_FORMAT_VERSION = 500;
constexpr std::int32_t ACTION_LIBRARIES_VERSION = 500;
constexpr std::int32_t ROOM_ORDER_VERSION = 500;

// Everything a game file holds, in memory.
struct GameFile {
    std::vector<std::uint8_t> prefix;   // the bytes before the data (a runner executable, or filler)
    std::int32_t seed = 0;              // scrambling seed; 0 or less stores the data plain
    std::string filler_1;               // two ignored strings at the start of the scrambled region
    std::string filler_2;
    std::int32_t debug_value = 0;       // the stored debug field; exactly 1 runs the game in debug mode
    std::int32_t game_id = 0;           // names save files and highscores
    std::array<std::uint8_t, 16> guid {};  // identifies the game's multiplayer sessions
    GameSettings settings;              // the settings block
    ResourceList<CSound> sounds;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    ResourceList<CPath> paths;
    ResourceList<ScriptSource> scripts;
    ResourceList<CDataFile> data_files;
    ResourceList<CTimeLine> time_lines;
    ResourceList<CObject> objects;
    ResourceList<CRoom> rooms;
    std::int32_t last_instance_id = 100000;  // the instance id counter continues from here
    std::int32_t last_tile_id = 1000000;     // the tile id counter continues from here
    GameInformation information;        // the game information page
    std::int32_t action_libraries_version = ACTION_LIBRARIES_VERSION;  // as stored
    std::vector<std::string> action_library_code;  // initialisation code of each action library
    std::int32_t room_order_version = ROOM_ORDER_VERSION;  // 400 to 500, as stored
    std::vector<std::int32_t> room_order;  // room indices in playing order

    bool debug() const { return debug_value == 1; }
};

// How reading the game ended: success, or exactly one of the load messages.
struct LoadOutcome {
    bool ok = false;         // every block was read
    std::string message;     // the message to show when not ok
};

// Progress reports of the block readers: percent and caption, before each block as the loading window shows.
using LoadProgress = std::function<void(int percent, std::string_view caption)>;

// Header checks on the whole file in memory; unscrambles it in place and leaves the stream after the header.
LoadOutcome read_game_header(CStream& stream, GameFile& game);

// The settings block that follows the header.
LoadOutcome read_game_settings(CStream& stream, GameFile& game);

// Reads every resource block in file order. A read past the end of the data throws StreamError, which the
// caller turns into its general failure message.
LoadOutcome read_game_blocks(CStream& stream, GameFile& game, const LoadProgress& progress = {});

// All three of the above.
LoadOutcome read_game_file(CStream& stream, GameFile& game, const LoadProgress& progress = {});

// The complete file, scrambled with game.seed; reading it back gives the same game.
std::vector<std::uint8_t> write_game_file(const GameFile& game);

// The substitution that scrambles the data: Scramble applies the forward table, Unscramble the inverse.
// A length of 0 or less means up to the end.
void Unscramble(CStream& stream, std::int32_t seed, std::size_t start, std::int64_t length);
void Scramble(CStream& stream, std::int32_t seed, std::size_t start, std::int64_t length);

}  // namespace quillon
