// A game played in debug mode through the runner: a script of debugger commands drives it, and the texts of
// every refresh are written out.
#include "platform/headless/headless_dialog_host.h"
#include "runner/runner.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// One instance counts the steps in global.n and greets the messages window in its first step.
GameFile counting_game()
{
    GameFile game;
    auto object = std::make_unique<CObject>();
    object->event(EVENT_CREATE, 0).actions.push_back(CAction::code_action("global.n = 0"));
    object->event(EVENT_STEP, 0).actions.push_back(
        CAction::code_action("global.n += 1; if (global.n == 1) show_debug_message('hello')"));
    object->event(EVENT_OTHER, 3).actions.push_back(CAction::code_action("show_debug_message('game end')"));
    game.objects.add("counter", std::move(object));
    auto room = std::make_unique<CRoom>();
    room->instances.push_back({0, 0, 0, 100001, "", false});
    game.rooms.add("room_main", std::move(room));
    game.room_order = {0};
    return game;
}

// A window that shows nothing and, once the game is paused, sends the process SIGTERM.
class TerminatingWindow final : public platform::DebugWindow {
public:
    bool open() override { return true; }
    void close() override {}
    void update(const platform::DebugView& view, std::vector<platform::DebugRequest>&) override
    {
        if (view.actions[static_cast<int>(platform::DebugAction::run)].enabled)
            std::raise(SIGTERM);
    }
};

class DebugSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("debug_session_test_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
        std::vector<std::uint8_t> bytes = write_game_file(counting_game());
        std::ofstream(m_folder / "game.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Plays the game with these commands and gives the exit status; the texts land in transcript().
    int play(const std::string& commands, std::int64_t steps = 30)
    {
        CommandLine command_line;
        command_line.game = m_folder / "game.bin";
        command_line.headless = true;
        command_line.no_sleep = true;
        command_line.steps = steps;
        command_line.debug = true;
        command_line.debug_output_file = m_folder / "debug.txt";
        Runner runner(*m_platform, command_line);
        std::string error;
        auto script = DebugCommands::parse(commands, "commands", error);
        EXPECT_TRUE(script) << error;
        runner.set_debug_commands(std::move(*script));
        return runner.run();
    }
    std::string transcript()
    {
        std::ifstream in(m_folder / "debug.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path m_folder;
    std::ostringstream m_messages;
    std::unique_ptr<platform::Platform> m_platform;
};

}  // namespace

TEST_F(DebugSessionTest, AScriptPausesStepsAndResumesAgainstTheStepCount)
{
    EXPECT_EQ(play("2 watch add global.n\n"
                   "4 pause\n"
                   "4 step\n"
                   "4 step\n"
                   "4 watch add 0.5\n"
                   "4 show messages\n"
                   "4 run\n"
                   "9 stop\n"),
        EXIT_NORMAL_END);
    std::string text = transcript();
    // Refreshed after every step; paused after step 4, two single steps, then running again until stopped.
    EXPECT_NE(text.find("== Debug Information, step 2\n0 fps | 1 inst | mouse id: \nExpression\tValue\n\t\n"
                        "== Debug Information, step 2\n0 fps | 1 inst | mouse id: \nExpression\tValue\n"
                        "global.n\t2\n\t\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("== Debug Information, step 5, paused\n0 fps | 1 inst | mouse id: \nExpression\tValue\n"
                        "global.n\t5\n\t\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("== Debug Information, step 6, paused\n"), std::string::npos);
    EXPECT_NE(text.find("global.n\t6\n0.5\t0.50\n\t\n== Messages\nhello\r\n\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("step 7, paused"), std::string::npos);
    EXPECT_NE(text.find("== Debug Information, step 9\n"), std::string::npos);
    EXPECT_EQ(text.find("step 10"), std::string::npos);
    // The game ended in order: its Game End event wrote to the messages window, which shows no more texts.
    EXPECT_EQ(text.rfind("game end"), std::string::npos);
}

TEST_F(DebugSessionTest, AScriptUsedUpWhilePausedWithoutAWindowEndsTheGame)
{
    EXPECT_EQ(play("3 pause\n3 watch add global.n\n"), EXIT_NORMAL_END);
    std::string text = transcript();
    EXPECT_NE(text.find("step 3, paused"), std::string::npos);
    EXPECT_EQ(text.find("step 4"), std::string::npos);
}

TEST_F(DebugSessionTest, TerminationWhilePausedEndsTheGameInOrder)
{
    m_platform->create_debug_window = [] { return std::unique_ptr<platform::DebugWindow>(new TerminatingWindow); };
    EXPECT_EQ(play("2 pause\n"), EXIT_NORMAL_END);
    std::string text = transcript();
    // With a window a paused game would wait for ever; the signal ended it where it stood.
    EXPECT_NE(text.find("step 2\n"), std::string::npos);
    EXPECT_EQ(text.find("step 3"), std::string::npos);
}
