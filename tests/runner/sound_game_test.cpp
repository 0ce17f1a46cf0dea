// Sounds of a game file through the whole runner: prepared at start-up, played by game code, loaded on use,
// and written by --audio as the game played them, step by step.
#include "../sound/wave_builder.h"
#include "runner_game_fixture.h"

#include <fstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr std::size_t FRAMES_PER_STEP = 1470;  // at 30 steps per second

class SoundGameTest : public RunnerGameTest {
protected:
    // Plays with --audio and gives the captured samples, interleaved stereo.
    std::vector<std::int16_t> play_captured(const GameBuilder& builder, std::int64_t steps, std::string& printed)
    {
        CommandLine command_line;
        command_line.game = m_folder / "game.bin";
        builder.write(*command_line.game);
        command_line.headless = true;
        command_line.steps = steps;
        command_line.audio_file = m_folder / "played.wav";
        Runner runner(*m_platform, command_line);
        ::testing::internal::CaptureStdout();
        runner.run();
        printed = ::testing::internal::GetCapturedStdout();
        std::ifstream in(*command_line.audio_file, std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::int16_t> samples;
        for (std::size_t i = 44; i + 1 < bytes.size(); i += 2)
            samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
        return samples;
    }
};

TEST_F(SoundGameTest, TheGamesSoundsArePreparedPlayedAndCaptured)
{
    GameBuilder game;
    game.file("sounds/beep.wav", constant_wave(8000, 441));
    game.file("sounds/later.wav", constant_wave(-4000, 3000));
    game.manifest("sounds", Json::array({"beep", Json {{"name", "later"}, {"load_on_use", true}}}));
    game.object("player")
        .on("create", "sound_play(beep); show_debug_message(string(sound_isplaying(beep)));"
                      "show_debug_message(string(sound_isplaying(later))); global.steps = 0;")
        .on("step", "global.steps += 1; if (global.steps == 10) sound_play(later);"
                    "if (global.steps == 11) show_debug_message(string(sound_isplaying(later)));");
    game.room("room").set("speed", 30).instance("player", 0, 0);
    std::string printed;
    auto samples = play_captured(game, 20, printed);
    EXPECT_EQ(printed, "1\n0\n1\n");
    ASSERT_EQ(samples.size(), 20 * FRAMES_PER_STEP * 2);
    EXPECT_EQ(samples[0], 8000);
    EXPECT_EQ(samples[1], 8000);
    EXPECT_EQ(samples[440 * 2], 8000);
    EXPECT_EQ(samples[441 * 2], 0);
    // Played in the tenth step, it sounds from that step's first sample.
    EXPECT_EQ(samples[(9 * FRAMES_PER_STEP - 1) * 2], 0);
    EXPECT_EQ(samples[9 * FRAMES_PER_STEP * 2], -4000);
}

}  // namespace
