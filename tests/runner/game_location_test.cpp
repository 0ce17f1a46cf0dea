// Finding the game data: a plain file, a stand-alone executable with a game behind it, an unreadable file.
#include "runner/game_location.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace quillon;
namespace fs = std::filesystem;

TEST(GameLocation, StandAloneExecutablesKeepOnlyTheirGame)
{
    fs::path folder = fs::temp_directory_path() / ("location_test_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    TempDirectory temp(1);
    ASSERT_TRUE(temp.create({folder}, {}));

    std::string game = "GAME FILE BYTES";
    std::string program = "ELF program bytes";
    std::uint64_t offset = program.size();
    std::string bundle = program + game + std::string(GAME_TRAILER_MAGIC, 8);
    bundle.append(reinterpret_cast<const char*>(&offset), 8);
    std::ofstream(folder / "bundle", std::ios::binary) << bundle;
    std::ofstream(folder / "plain", std::ios::binary) << game;

    for (const char* name : {"bundle", "plain"}) {
        auto stream = open_game_data(folder / name, temp);
        ASSERT_TRUE(stream);
        EXPECT_EQ(std::string(stream->bytes().begin(), stream->bytes().end()), game) << name;
    }
    EXPECT_FALSE(open_game_data(folder / "missing", temp));
    EXPECT_FALSE(open_game_data(folder, temp));
    temp.remove();
    fs::remove_all(folder);
}
