// The example game "catch" packed from its project folder and played headless through the runner with scripted keys.
#include "packer.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "runner/runner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

const fs::path CATCH_FOLDER = fs::path(QUILLON_TEST_DATA).parent_path().parent_path().parent_path() / "examples/catch";

constexpr std::uint32_t PADDLE_BODY = 0x2040E0;  // the paddle's colour below its light top edge
constexpr std::uint32_t PLAY_BACKGROUND = 0x102030;
constexpr int PADDLE_START_X = 208;
constexpr int PADDLE_Y = 328;
constexpr int PADDLE_WIDTH = 64;
constexpr int STEPS_MOVING = 20;  // steps with Right held; the paddle moves 6 pixels each

// Each room start and each end of a game (a restart ends one too), with the score and the lives at that moment.
constexpr const char* EXPECTED_OUTPUT =
    "Catch: score 0, lives 3\n"
    "Game over, Enter plays again: score 30, lives 0\n"
    "Game end: score 30, lives 0\n"
    "Catch: score 0, lives 3\n"
    "Game end: score 0, lives 3\n";
constexpr const char* EXPECTED_CAPTION = "Catch Score: 0 Lives: 3";  // the new game's room caption and counters

class CatchGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("catch_game_test_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_game = m_folder / "catch.game";
        std::vector<std::uint8_t> bytes = write_game_file(pack_project(FolderSource(CATCH_FOLDER)));
        std::ofstream(m_game, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Plays the game for a number of steps with the seed 1 and the scripted input; gives what it printed.
    std::string play(std::int64_t steps, std::string_view input)
    {
        CommandLine command_line;
        command_line.game = m_game;
        command_line.headless = true;
        command_line.steps = steps;
        command_line.seed = 1;
        Runner runner(*m_platform, command_line);
        std::string error;
        auto scripted = ScriptedInput::parse(input, "input", error);
        EXPECT_TRUE(scripted) << error;
        runner.set_scripted_input(std::move(*scripted));
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(runner.run(), EXIT_NORMAL_END);
        return ::testing::internal::GetCapturedStdout();
    }

    const platform::HeadlessDisplay& display() const
    {
        return static_cast<const platform::HeadlessDisplay&>(*m_platform->display);
    }

    fs::path m_folder;                                  // the packed game lives here
    fs::path m_game;                                    // the packed game file
    std::ostringstream m_messages;                      // message boxes, game errors among them
    std::unique_ptr<platform::Platform> m_platform;     // headless services
};

}  // namespace

// The paddle is steered under the target that the room starts with and catches it; the targets that follow fall
// past it until the lives run out and the game-over room shows; Enter then starts a new game.
TEST_F(CatchGameTest, CatchingScoresMissingCostsLivesAndEnterPlaysAgain)
{
    std::string output = play(700, "1 key_down Right\n26 key_up Right\n600 key_down Enter\n601 key_up Enter\n");
    EXPECT_EQ(output, EXPECTED_OUTPUT);
    EXPECT_EQ(m_messages.str(), "");
    EXPECT_EQ(display().caption(), EXPECTED_CAPTION);
}

// The paddle, moved right for a while, is drawn at its new place, and the room's colour shows where it was.
TEST_F(CatchGameTest, TheMovedPaddleIsDrawnWhereItStands)
{
    play(STEPS_MOVING + 5, "1 key_down Right\n" + std::to_string(STEPS_MOVING + 1) + " key_up Right\n");
    const platform::Frame& frame = display().last_frame();
    const int moved_x = PADDLE_START_X + 6 * STEPS_MOVING;
    const int body_y = PADDLE_Y + 8;
    EXPECT_EQ(frame.pixel(moved_x, body_y), PADDLE_BODY);
    EXPECT_EQ(frame.pixel(moved_x + PADDLE_WIDTH - 1, body_y), PADDLE_BODY);
    EXPECT_EQ(frame.pixel(moved_x - 1, body_y), PLAY_BACKGROUND);
    EXPECT_EQ(frame.pixel(moved_x + PADDLE_WIDTH, body_y), PLAY_BACKGROUND);
    EXPECT_EQ(m_messages.str(), "");
}

// The keeper writes the score and the lives in white at the top left, a line each.
TEST_F(CatchGameTest, ScoreAndLivesAreWrittenAtTheTopLeft)
{
    play(3, "");
    const platform::Frame& frame = display().last_frame();
    auto white_in_rows = [&frame](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 100; ++x)
                count += frame.pixel(x, y) == 0xFFFFFF;
        return count;
    };
    EXPECT_GT(white_in_rows(6, 25), 20);
    EXPECT_GT(white_in_rows(26, 45), 20);
    EXPECT_EQ(white_in_rows(46, 80), 0);
    EXPECT_EQ(m_messages.str(), "");
}
