// The example games: every project under examples/ packs, loads, and comes back from unpacking unchanged.
#include "packer.h"

#include <gtest/gtest.h>

using namespace quillon;
namespace fs = std::filesystem;

TEST(ExampleGames, PackLoadAndRoundTrip)
{
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(QUILLON_EXAMPLES)) {
        if (!fs::exists(entry.path() / MANIFEST_FILE))
            continue;
        ++examples;
        SCOPED_TRACE(entry.path().string());
        std::vector<std::uint8_t> bytes = write_game_file(pack_project(FolderSource(entry.path()), 7));
        CStream stream(bytes);
        GameFile game;
        LoadOutcome outcome = read_game_file(stream, game);
        ASSERT_TRUE(outcome.ok) << outcome.message;
        ProjectFiles unpacked = unpack_game(game);
        EXPECT_EQ(write_game_file(pack_project(MemorySource(unpacked), 7)), bytes);
    }
    EXPECT_GT(examples, 0);
}
