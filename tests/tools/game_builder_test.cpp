// GameBuilder: a test game in a few lines, as the runner's loader and the headless runner take it.
#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "runner/runner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

TEST(GameBuilder, BuildsAGameTheLoaderReads)
{
    GameBuilder builder;
    builder.object("wall").set("solid", true);
    builder.object("ball").on("create", "hspeed = 4").on({{"event", "collision"}, {"with", "wall"}}, "hspeed = -hspeed");
    builder.room("main").set("speed", 60).instance("ball", 10, 20, "y += 1").instance("wall", 50, 20);
    builder.script("twice", "return argument0 * 2");

    CStream stream(builder.bytes(77));
    GameFile game;
    LoadOutcome outcome = read_game_file(stream, game);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(game.seed, 77);
    const CObject& ball = *game.objects.get(1);
    EXPECT_EQ(ball.own_event(EVENT_CREATE, 0)->actions.front().arguments.front(), "hspeed = 4");
    EXPECT_EQ(ball.own_event(EVENT_COLLISION, 0)->actions.size(), 1u);
    EXPECT_TRUE(game.objects.get(0)->solid);
    const CRoom& room = *game.rooms.get(0);
    EXPECT_EQ(room.speed, 60);
    ASSERT_EQ(room.instances.size(), 2u);
    EXPECT_EQ(room.instances[0].creation_code, "y += 1");
    EXPECT_EQ(room.instances[1].object, 0);
    EXPECT_EQ(game.scripts.get(0)->code, "return argument0 * 2");
    EXPECT_EQ(game.room_order, (std::vector<std::int32_t> {0}));
}

TEST(GameBuilder, AGameWithoutRoomsGetsOne)
{
    GameBuilder builder;
    builder.sprite("dot", {Bitmap24(2, 2, make_color(1, 2, 3)), Bitmap24(2, 2)}, {{"origin_x", 1}});
    GameFile game = builder.build();
    EXPECT_EQ(game.rooms.count(), 1);
    EXPECT_EQ(game.sprites.get(0)->frames.size(), 2u);
    EXPECT_EQ(game.sprites.get(0)->origin_x, 1);
}

TEST(GameBuilder, TheHeadlessRunnerPlaysABuiltGame)
{
    fs::path folder = fs::temp_directory_path() / ("game_builder_test_" + std::to_string(getpid()));
    fs::create_directories(folder);
    GameBuilder builder;
    builder.object("ball").on("create", "x = 5;");
    builder.room("main").set("caption", "Built").set("width", 200).set("height", 100)
        .set("background_color", "#0a141e").instance("ball", 10, 20);
    builder.write(folder / "built.game", 5);

    std::unique_ptr<platform::Platform> platform = platform::create_platform("headless");
    std::ostringstream messages;
    platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(messages);
    CommandLine command_line;
    command_line.game = folder / "built.game";
    command_line.headless = true;
    command_line.steps = 2;
    int status = Runner(*platform, command_line).run();
    fs::remove_all(folder);

    EXPECT_EQ(status, EXIT_NORMAL_END);
    EXPECT_EQ(messages.str(), "");
    auto& display = static_cast<platform::HeadlessDisplay&>(*platform->display);
    EXPECT_EQ(display.caption(), "Built");
    EXPECT_EQ(display.last_frame().width, 200);
    EXPECT_EQ(display.last_frame().pixel(5, 5), 0x0A141Eu);
}
