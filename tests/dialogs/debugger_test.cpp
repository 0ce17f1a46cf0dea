// The debugger model over a small game: game control against the step counter, watches, executed code, the game
// speed and the information windows.
#include "../world/loop_fixture.h"
#include "dialogs/debug_captions.h"
#include "dialogs/debugger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;
using namespace quillon::testing;
using platform::DebugAction;
using platform::DebugRequest;

namespace {

class DebuggerTest : public LoopTest {
protected:
    // Two objects ("ball" with a sprite, "wall" without), a room with ball 100001 at (10, 0) and wall 100002.
    void SetUp() override
    {
        LoopTest::SetUp();
        int sprite = add_box_sprite({0, 0, 7, 7});
        ball = add_object("ball");
        objects.get(ball)->sprite = sprite;
        wall = add_object("wall");
        options.max_steps = 10;
        add_room({{10, 0, ball, 100001}, {20, 0, wall, 100002}});
    }
    void TearDown() override
    {
        m_debugger.reset();
        LoopTest::TearDown();
    }
    Debugger& debugger()
    {
        if (!m_debugger) {
            m_debugger = std::make_unique<Debugger>(loop(), world(),
                [this](std::string_view text) { shown_messages += std::string(text) + "\n"; });
            m_debugger->set_shown(true);
        }
        return *m_debugger;
    }
    void perform(DebugAction action, std::string text = {}, int row = -1)
    {
        debugger().perform(DebugRequest {action, row, std::move(text)});
    }
    // Runs the game with the debugger refreshed after each step, pausing after step `pause_after`.
    void run_until_paused(std::int64_t pause_after)
    {
        hooks.update_debug_window = [this, pause_after] {
            debugger().refresh();
            if (loop().steps_run() == pause_after)
                perform(DebugAction::pause);
        };
        loop().run_game();
    }
    const platform::DebugInfoView& window(std::size_t index) { return debugger().view().windows.at(index); }

    int ball = 0;
    int wall = 0;
    std::string shown_messages;
    std::unique_ptr<Debugger> m_debugger;
};

TEST_F(DebuggerTest, PauseStopsTheLoopAndStepTakesExactlyOneStep)
{
    run_until_paused(3);
    EXPECT_TRUE(loop().running());
    EXPECT_TRUE(loop().paused());
    EXPECT_EQ(loop().steps_run(), 3);
    // Paused: Run and Step act, Pause does not.
    EXPECT_TRUE(debugger().can_perform(DebugAction::run));
    EXPECT_TRUE(debugger().can_perform(DebugAction::step));
    EXPECT_FALSE(debugger().can_perform(DebugAction::pause));
    EXPECT_FALSE(debugger().view().actions[static_cast<int>(DebugAction::pause)].enabled);
    perform(DebugAction::step);
    perform(DebugAction::step);
    EXPECT_EQ(loop().steps_run(), 5);
    EXPECT_TRUE(loop().paused());
    // Run resumes: the next run_game goes on until the step limit.
    perform(DebugAction::run);
    EXPECT_FALSE(loop().paused());
    loop().run_game();
    EXPECT_FALSE(loop().running());
    EXPECT_EQ(loop().steps_run(), 10);
}

TEST_F(DebuggerTest, StopEndsAPausedGameAndNothingActsAfterwards)
{
    run_until_paused(1);
    perform(DebugAction::stop);
    EXPECT_FALSE(loop().running());
    for (DebugAction action : {DebugAction::run, DebugAction::pause, DebugAction::step, DebugAction::restart,
             DebugAction::stop})
        EXPECT_FALSE(debugger().can_perform(action));
    perform(DebugAction::step);
    EXPECT_EQ(loop().steps_run(), 1);
}

TEST_F(DebuggerTest, RestartWhilePausedStartsTheGameAgainAndResumes)
{
    library_code.push_back("global.starts = 1");
    hooks.update_debug_window = [this] {
        if (loop().steps_run() == 2 || loop().steps_run() == 4)
            perform(DebugAction::pause);
    };
    loop().run_game();
    perform(DebugAction::execute_code, "instance_create(0, 0, 1); global.starts = 7");
    EXPECT_EQ(world().current_room()->instance_count(), 3);
    perform(DebugAction::restart);
    EXPECT_FALSE(loop().paused());
    loop().run_game();
    // A new game: the room as placed and the library code run again; paused again at step 4.
    EXPECT_TRUE(loop().paused());
    EXPECT_EQ(loop().steps_run(), 4);
    EXPECT_EQ(world().current_room()->instance_count(), 2);
    perform(DebugAction::watch_add, "global.starts");
    EXPECT_EQ(debugger().view().values.at(0), "1");
}

TEST_F(DebuggerTest, ExecuteCodeRunsInAPausedGameWithAFreshInstance)
{
    run_until_paused(1);
    perform(DebugAction::execute_code, "global.seen = x + 1; (100001).x = 50");
    EXPECT_EQ(world().find_instance(100001) ? static_cast<CInstance*>(world().find_instance(100001))->x() : -1, 50);
    EXPECT_EQ(debugger().view().remembered_code, "global.seen = x + 1; (100001).x = 50");
    perform(DebugAction::watch_add, "global.seen");
    EXPECT_EQ(debugger().view().values.at(0), "1");
    EXPECT_EQ(loop().steps_run(), 1);
    // A compile error is shown as such; the remembered code is what was typed.
    perform(DebugAction::execute_code, "x = = 1");
    EXPECT_EQ(shown_messages, "COMPILE ERROR\n");
    EXPECT_EQ(debugger().view().remembered_code, "x = = 1");
}

TEST_F(DebuggerTest, ExecuteCodeThatEndsTheGameEndsItAtTheNextStep)
{
    run_until_paused(1);
    perform(DebugAction::execute_code, "room_goto(0); game_restart()");
    EXPECT_TRUE(loop().paused());
    EXPECT_EQ(world().pending_change(), CHANGE_RESTART);
    perform(DebugAction::step);
    EXPECT_EQ(world().pending_change(), CHANGE_NONE);
    EXPECT_TRUE(loop().running());
}

TEST_F(DebuggerTest, WatchesShowValuesCompileErrorsAndRunTimeErrorsOnce)
{
    start_game();
    perform(DebugAction::watch_add, "0.5");
    perform(DebugAction::watch_add, "1/3");
    perform(DebugAction::watch_add, "3 +* 4");
    perform(DebugAction::watch_add, "(100001).x + 2");
    perform(DebugAction::watch_add, "undefined_thing");
    perform(DebugAction::watch_add, "");
    const platform::DebugView& view = debugger().view();
    ASSERT_EQ(view.expressions.size(), 5u);
    EXPECT_EQ(view.values[0], "0.50");
    EXPECT_EQ(view.values[1], "0.3333333333");
    EXPECT_EQ(view.values[2], "COMPILE ERROR");
    EXPECT_EQ(view.values[3], "12");
    EXPECT_NE(view.values[4].find("undefined_thing"), std::string::npos) << view.values[4];
    // Each refresh evaluates again, but the error went to the error routine the first time only.
    debugger().refresh();
    debugger().refresh();
    std::string log = take_trace();
    EXPECT_EQ(log.find("[error]"), log.rfind("[error]")) << log;
    EXPECT_NE(log.find("[error]"), std::string::npos);
}

TEST_F(DebuggerTest, WatchesThatLoopOrRecurseWithoutEndReportAndTheGameGoesOn)
{
    scripts().clear();
    scripts().add("deep", std::optional<std::string>("return deep()"));
    scripts().add("spin", std::optional<std::string>("while (true) {}"));
    ASSERT_TRUE(scripts().compile_all());
    start_game();
    perform(DebugAction::watch_add, "deep()");
    perform(DebugAction::watch_add, "spin()");
    perform(DebugAction::watch_add, "missing_script(1)");
    perform(DebugAction::watch_add, "2");
    const platform::DebugView& view = debugger().view();
    EXPECT_NE(view.values.at(0).find("rror"), std::string::npos) << view.values.at(0);
    EXPECT_NE(view.values.at(1).find("Loop limit reached."), std::string::npos) << view.values.at(1);
    EXPECT_EQ(view.values.at(2), "COMPILE ERROR");
    EXPECT_EQ(view.values.at(3), "2");
    EXPECT_EQ(loop_limit(), -1);
    scripts().clear();
}

TEST_F(DebuggerTest, ChangeAndDeleteWorkOnRowsAndLeaveTheEmptyLastRowAlone)
{
    start_game();
    perform(DebugAction::watch_add, "1");
    perform(DebugAction::watch_add, "2");
    perform(DebugAction::watch_delete, {}, 2);  // the empty last row
    EXPECT_EQ(debugger().view().expressions, (std::vector<std::string> {"1", "2"}));
    perform(DebugAction::watch_change, "3", 2);  // the empty last row acts as Add
    perform(DebugAction::watch_change, "4", 0);
    perform(DebugAction::watch_change, "", 1);   // an empty answer changes nothing
    EXPECT_EQ(debugger().view().expressions, (std::vector<std::string> {"4", "2", "3"}));
    EXPECT_EQ(debugger().view().values, (std::vector<std::string> {"4", "2", "3"}));
    perform(DebugAction::watch_delete, {}, 0);
    EXPECT_EQ(debugger().view().expressions, (std::vector<std::string> {"2", "3"}));
    EXPECT_EQ(debugger().view().values, (std::vector<std::string> {"2", "3"}));
    perform(DebugAction::watch_clear);
    EXPECT_TRUE(debugger().view().expressions.empty());
}

TEST_F(DebuggerTest, WatchFilesLoadSaveAndStayBoundedWhateverTheyHold)
{
    start_game();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon_debugger_test";
    std::filesystem::create_directories(folder);
    {
        std::ofstream out(folder / "watches.txt", std::ios::binary);
        out << "1+1\r\n\r\n" << std::string(5000, '7') << "\n" << std::string("\x01\xff\x00z\n", 5);
    }
    perform(DebugAction::watch_add, "0.5");
    perform(DebugAction::watch_load, (folder / "watches.txt").string());
    const platform::DebugView& view = debugger().view();
    ASSERT_EQ(view.expressions.size(), 4u);
    EXPECT_EQ(view.values[1], "2");
    EXPECT_EQ(view.expressions[2].size(), DebugWatches::MAX_LINE_BYTES);
    EXPECT_EQ(view.values[3], "COMPILE ERROR");
    perform(DebugAction::watch_save, (folder / "saved.txt").string());
    perform(DebugAction::watch_clear);
    perform(DebugAction::watch_load, (folder / "saved.txt").string());
    EXPECT_EQ(view.expressions.size(), 4u);
    EXPECT_EQ(view.expressions[3], std::string("\x01\xff\x00z", 4));
    // A file of very many lines fills the grid to its bound and says so.
    {
        std::ofstream out(folder / "many.txt", std::ios::binary);
        for (int i = 0; i < 5000; ++i)
            out << i << "\n";
    }
    perform(DebugAction::watch_load, (folder / "many.txt").string());
    EXPECT_EQ(view.expressions.size(), DebugWatches::MAX_WATCHES);
    EXPECT_NE(shown_messages.find("Only 1000 watch expressions"), std::string::npos) << shown_messages;
    perform(DebugAction::watch_load, (folder / "absent.txt").string());
    EXPECT_NE(shown_messages.find("Cannot read the watch file"), std::string::npos);
    std::filesystem::remove_all(folder);
}

TEST_F(DebuggerTest, SetSpeedTakesIntegersOnly)
{
    start_game();
    for (const char* answer : {"abc", "", "12.5", "7x"}) {
        perform(DebugAction::set_speed, answer);
        EXPECT_EQ(world().current_room()->speed, 20) << answer;
    }
    perform(DebugAction::set_speed, " 45 ");
    EXPECT_EQ(world().current_room()->speed, 45);
}

TEST_F(DebuggerTest, LocalVariablesByIdByNameAndOfNoInstance)
{
    start_game();
    run(instance(0), "score_of_ball = 'high'");
    perform(DebugAction::show_locals, "100001");
    perform(DebugAction::show_locals, "wall");
    perform(DebugAction::show_locals, "Wall");
    perform(DebugAction::show_locals, "999");
    EXPECT_EQ(window(0).caption, "Local Variables for 100001");
    EXPECT_EQ(window(1).caption, "Local Variables for wall");
    EXPECT_EQ(window(2).text, "NO SUCH INSTANCE EXISTS");
    EXPECT_EQ(window(3).text, "NO SUCH INSTANCE EXISTS");
    const std::string& ball_text = window(0).text;
    EXPECT_TRUE(ball_text.starts_with("x:                  10\r\ny:                  0\r\n")) << ball_text;
    EXPECT_NE(ball_text.find("id:                 100001\r\n"), std::string::npos);
    EXPECT_NE(ball_text.find("score_of_ball:      high\r\n"), std::string::npos);
    EXPECT_EQ(std::count(ball_text.begin(), ball_text.end(), '_') >= 3 * 32, true);
    EXPECT_NE(window(1).text.find("id:                 100002\r\n"), std::string::npos);
    // The window follows its instance: gone, it says so at the next refresh.
    world().destroy_instance(instance(0));
    debugger().refresh();
    EXPECT_EQ(window(0).text, "NO SUCH INSTANCE EXISTS");
}

TEST_F(DebuggerTest, AHundredLocalWindowsAtMostAndHiddenOnesAreUsedAgain)
{
    start_game();
    for (int i = 0; i < 101; ++i)
        perform(DebugAction::show_locals, std::to_string(100001 + i % 2));
    EXPECT_EQ(debugger().view().windows.size(), Debugger::MAX_LOCAL_WINDOWS);
    perform(DebugAction::hide_window, {}, 5);
    perform(DebugAction::show_locals, "wall");
    EXPECT_EQ(debugger().view().windows.size(), Debugger::MAX_LOCAL_WINDOWS);
    EXPECT_EQ(window(5).caption, "Local Variables for wall");
    EXPECT_TRUE(window(5).shown);
}

TEST_F(DebuggerTest, GlobalVariablesAndAllInstancesWindows)
{
    library_code.push_back("global.lives_left = 3");
    start_game();
    perform(DebugAction::show_globals);
    perform(DebugAction::show_instances);
    EXPECT_EQ(window(0).caption, "Global Variables");
    EXPECT_EQ(window(1).caption, "All Instances");
    const std::string& globals = window(0).text;
    EXPECT_TRUE(globals.starts_with("mouse_x:            0\r\nmouse_y:            0\r\n")) << globals;
    EXPECT_NE(globals.find("room_speed:         20\r\n"), std::string::npos);
    EXPECT_NE(globals.find("________________________________\r\nworking_directory:  "), std::string::npos);
    EXPECT_TRUE(globals.ends_with("\nlives_left:         3\r\n")) << globals;
    EXPECT_EQ(window(1).text, "   Id     Object Name    Sprite Name\r\n"
                              "____________________________________\r\n"
                              "100001           ball        sprite0\r\n"
                              "100002           wall    <undefined>\r\n");
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(DebuggerTest, DebugMessagesGoToAHiddenMessagesWindowUntilShown)
{
    debugger().debug_message("first");
    debugger().debug_message("second");
    ASSERT_EQ(debugger().view().windows.size(), 1u);
    EXPECT_FALSE(window(0).shown);
    EXPECT_EQ(window(0).caption, "Messages");
    EXPECT_EQ(window(0).text, "first\r\n\r\nsecond\r\n\r\n");
    perform(DebugAction::show_messages);
    EXPECT_TRUE(window(0).shown);
    EXPECT_EQ(window(0).text, "first\r\n\r\nsecond\r\n\r\n");
    // A flood of messages keeps the newest, starting at a whole line.
    std::string line(1000, 'm');
    for (int i = 0; i < 5000; ++i)
        debugger().debug_message(line);
    EXPECT_LE(window(0).text.size(), Debugger::MAX_MESSAGES_BYTES);
    EXPECT_GT(window(0).text.size(), Debugger::MAX_MESSAGES_BYTES - 2000);
    EXPECT_TRUE(window(0).text.ends_with(line + "\r\n\r\n"));
    EXPECT_TRUE(window(0).text.starts_with("m") || window(0).text.starts_with("\r\nm"));
}

TEST_F(DebuggerTest, StatusBarShowsRateInstancesAndTheInstanceUnderTheMouse)
{
    start_game();
    debugger().refresh();
    EXPECT_EQ(debugger().view().status[1], "2 inst");
    EXPECT_EQ(debugger().view().status[2], "mouse id: ");
    EXPECT_EQ(debugger().view().status[0], "0 fps");
    create(ball, 12, 2);
    loop().input().mouse_x = 14;
    loop().input().mouse_y = 3;
    debugger().refresh_timer();
    EXPECT_EQ(debugger().view().status[2], "mouse id: " + std::to_string(LAST_INSTANCE_ID + 1));
}

TEST(DebugCaptions, ActionsCarryTheirCaptionsHintsAndQuestions)
{
    EXPECT_EQ(debug_action_text(DebugAction::run).caption, "&Run");
    EXPECT_EQ(debug_action_text(DebugAction::stop).hint, "Ends the game");
    EXPECT_EQ(debug_action_text(DebugAction::show_messages).caption, "Show &Messages");
    EXPECT_EQ(debug_action_text(DebugAction::watch_change).question_caption, "Provide an expression.");
    EXPECT_EQ(debug_action_text(DebugAction::show_locals).question_prompt,
        "Please provide the instance id or object name.");
    EXPECT_EQ(debug_action_text(DebugAction::set_speed).question_caption, "Changing Game Speed.");
}

}  // namespace
