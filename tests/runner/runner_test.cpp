// The runner from start to end: loading, preparation, data files, the temporary directory and each message.
#include "functions/files.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/registry_store.h"
#include "platform/headless/headless_display.h"
#include "runner/runner.h"
#include "support/picture_file.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// A game whose one instance runs code in its Create event.
GameFile game_running(std::string create_code)
{
    GameFile game;
    auto object = std::make_unique<CObject>();
    object->event(EVENT_CREATE, 0).actions.push_back(CAction::code_action(std::move(create_code)));
    game.objects.add("obj_main", std::move(object));
    auto room = std::make_unique<CRoom>();
    room->instances.push_back({0, 0, 0, 100001, "", false});
    game.rooms.add("room_main", std::move(room));
    game.room_order = {0};
    return game;
}

GameFile small_game()
{
    GameFile game;
    game.seed = 321;
    auto room = std::make_unique<CRoom>();
    room->caption = "First room";
    room->width = 320;
    room->height = 200;
    room->background_color = make_color(10, 20, 30);
    game.rooms.add("room_first", std::move(room));
    game.room_order = {0};
    auto data_file = std::make_unique<CDataFile>();
    data_file->file_name = "notes.txt";
    data_file->set_contents({'h', 'i'});
    game.data_files.add("notes", std::move(data_file));
    return game;
}

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("runner_test_" + std::to_string(::getpid()));
        fs::create_directories(m_folder / "tmp");
        setenv("TMPDIR", (m_folder / "tmp").c_str(), 1);
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
    }
    void TearDown() override
    {
        unsetenv("TMPDIR");
        fs::remove_all(m_folder);
    }

    fs::path write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        fs::path path = m_folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    int run(std::optional<fs::path> game, std::int64_t steps = 3, std::string input = {})
    {
        CommandLine command_line;
        command_line.game = std::move(game);
        command_line.headless = true;
        command_line.steps = steps;
        command_line.seed = 7;
        Runner runner(*m_platform, command_line);
        std::string error;
        if (!input.empty())
            runner.set_scripted_input(*ScriptedInput::parse(input, "input", error));
        return runner.run();
    }

    fs::path m_folder;                                  // everything the test writes
    std::ostringstream m_messages;                      // the message boxes' texts
    std::unique_ptr<platform::Platform> m_platform;     // headless services
};

}  // namespace

TEST_F(RunnerTest, AGameLoadsPreparesPlaysAndEndsInOrder)
{
    EXPECT_EQ(run(write("game.bin", write_game_file(small_game()))), EXIT_NORMAL_END);
    EXPECT_EQ(m_messages.str(), "");
    auto& display = static_cast<platform::HeadlessDisplay&>(*m_platform->display);
    EXPECT_EQ(display.caption(), "First room");
    EXPECT_EQ(display.last_frame().width, 320);
    EXPECT_EQ(display.last_frame().pixel(5, 5), 0x0A141Eu);
    // The data file went into the temporary directory, and both are gone at the end.
    EXPECT_TRUE(fs::is_empty(m_folder / "tmp"));
}

TEST_F(RunnerTest, TheLoadingWindowTakesTheSettingsPicturesOver)
{
    GameFile game = small_game();
    game.settings.own_loading_image = true;
    game.settings.loading_image = StoredImage::from_bitmap(Bitmap24(40, 30, 0x123456));
    game.settings.loading_bar = LOADING_BAR_OWN;
    game.settings.loading_bar_back = StoredImage::from_bitmap(Bitmap24(8, 4, 0x111111));
    game.settings.loading_bar_front = StoredImage::from_bitmap(Bitmap24(8, 4, 0x222222));
    CommandLine command_line;
    command_line.game = write("pictures.bin", write_game_file(game));
    command_line.headless = true;
    command_line.steps = 1;
    Runner runner(*m_platform, command_line);
    EXPECT_EQ(runner.run(), EXIT_NORMAL_END);
    const GameSettings& settings = runner.game().settings;
    EXPECT_FALSE(settings.loading_image.bitmap || settings.loading_bar_back.bitmap || settings.loading_bar_front.bitmap);
    EXPECT_TRUE(settings.loading_image.compressed.empty());
    EXPECT_TRUE(settings.own_loading_image);
}

TEST_F(RunnerTest, EachFailureShowsExactlyOneMessage)
{
    GameFile no_rooms = small_game();
    no_rooms.room_order.clear();
    std::vector<std::uint8_t> truncated = write_game_file(small_game());
    truncated.resize(truncated.size() - 10);
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {std::vector<std::uint8_t>(1000), "Not a valid quillon file.\n"},
        {write_game_file(no_rooms), "Error loading room order. Game has no rooms?\n"},
        {truncated, "Unexpected error occured when running the game.\n"},
    };
    for (const auto& [bytes, message] : cases) {
        m_messages.str("");
        EXPECT_EQ(run(write("bad.bin", bytes)), EXIT_LOAD_FAILED);
        EXPECT_EQ(m_messages.str(), message);
    }
    m_messages.str("");
    EXPECT_EQ(run(m_folder / "missing.bin"), EXIT_LOAD_FAILED);
    EXPECT_EQ(m_messages.str(), "Cannot open the game file.\n");
    EXPECT_TRUE(fs::is_empty(m_folder / "tmp"));
}

TEST_F(RunnerTest, GameDatInTheCurrentDirectoryIsTheDefault)
{
    GameFile game = small_game();
    game.rooms.get(0)->caption = "From game.dat";
    write("game.dat", write_game_file(game));
    fs::path before = fs::current_path();
    fs::current_path(m_folder);
    int status = run(std::nullopt);
    fs::current_path(before);
    EXPECT_EQ(status, EXIT_NORMAL_END);
    EXPECT_EQ(static_cast<platform::HeadlessDisplay&>(*m_platform->display).caption(), "From game.dat");
}

TEST_F(RunnerTest, GameCodeRunsWithItsOutputsAndExitStatuses)
{
    struct Case {
        const char* code;
        int status;
        const char* output;
        const char* messages;
    };
    const Case cases[] = {
        {"show_debug_message(\"hello\");", EXIT_NORMAL_END, "hello\n", ""},
        {"show_error(\"boom\", false); show_debug_message(\"after\");", EXIT_NORMAL_END, "after\n",
            "ERROR in\r\naction number 1\r\nof Create Event\r\nfor object obj_main:\r\n\r\nboom\n"},
        // A built-in cannot stop the code that calls it; the game ends once the action is over.
        {"show_error(\"stop\", true); show_debug_message(\"still\");", EXIT_FATAL_ERROR, "still\n",
            "FATAL ERROR in\r\naction number 1\r\nof Create Event\r\nfor object obj_main:\r\n\r\nstop\n"},
        // The headless clipboard starts empty and keeps the game's text.
        {"show_debug_message(string(clipboard_has_text())); clipboard_set_text(\"copied\"); "
         "show_debug_message(clipboard_get_text());",
            EXIT_NORMAL_END, "0\ncopied\n", ""},
    };
    for (const Case& c : cases) {
        m_messages.str("");
        testing::internal::CaptureStdout();
        int status = run(write("code.bin", write_game_file(game_running(c.code))));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output) << c.code;
        EXPECT_EQ(status, c.status) << c.code;
        EXPECT_EQ(m_messages.str(), c.messages) << c.code;
    }
}

TEST_F(RunnerTest, ACompileErrorStopsPreparation)
{
    EXPECT_EQ(run(write("bad_code.bin", write_game_file(game_running("x = ;")))), EXIT_LOAD_FAILED);
    EXPECT_NE(m_messages.str().find("COMPILATION ERROR in code action"), std::string::npos) << m_messages.str();
    EXPECT_NE(m_messages.str().find("Failed to compile the actions in the objects.\n"), std::string::npos);
}

TEST_F(RunnerTest, GameCodeReadsTheTemporaryDirectory)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(run(write("temp.bin", write_game_file(game_running("show_debug_message(temp_directory);")))),
              EXIT_NORMAL_END);
    std::string shown = testing::internal::GetCapturedStdout();
    std::string expected = (m_folder / "tmp" / "qn_ttt_").string();
    EXPECT_EQ(shown.substr(0, expected.size()), expected) << shown;
}

TEST_F(RunnerTest, GameCodeSetsTheCursorRedrawsAndRefreshesTheScreen)
{
    testing::internal::CaptureStdout();
    GameFile game = game_running("set_cursor(-3); shown = show_cursor; set_cursor(-1);"
                                 "show_debug_message(string(shown) + string(show_cursor));"
                                 "screen_redraw(); screen_refresh(); screen_gamma(0.5, 0, -2);");
    EXPECT_EQ(run(write("screen.bin", write_game_file(game))), EXIT_NORMAL_END);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "10\n");
    EXPECT_EQ(m_messages.str(), "");  // every call is served
}

TEST_F(RunnerTest, AParentLoopIsRefusedAtLoad)
{
    GameFile game = game_running("");
    game.objects.get(0)->parent = 0;
    EXPECT_EQ(run(write("loop.bin", write_game_file(game))), EXIT_LOAD_FAILED);
    EXPECT_EQ(m_messages.str(), "Object obj_main is its own ancestor.\n");
}

TEST_F(RunnerTest, ScriptedInputAndTheSeedMakeRunsRepeatable)
{
    GameFile game = game_running("");
    CObject& object = *game.objects.get(0);
    object.event(EVENT_KEY_PRESS, 32).actions.push_back(
        CAction::code_action("show_debug_message(\"space \" + string(random(1000)));"));
    object.event(EVENT_MOUSE, 4).actions.push_back(CAction::code_action("show_debug_message(\"click\");"));
    object.event(EVENT_OTHER, OTHER_GAME_END).actions.push_back(CAction::code_action("show_debug_message(\"end\");"));
    auto& sprite = *game.sprites.get(game.sprites.add("spr", std::make_unique<CSprite>()));
    sprite.width = sprite.height = 8;
    sprite.bounding_box = {0, 0, 7, 7};
    sprite.transparent = false;
    sprite.frames.push_back(StoredImage::from_bitmap(Bitmap24(8, 8, 0xFF)));
    object.sprite = 0;
    fs::path file = write("input.bin", write_game_file(game));
    const std::string input = "2 key_down Space\n3 key_up Space\n4 mouse_move 3 3\n4 mouse_down left\n5 mouse_up left\n6 mouse_move 30 30\n6 mouse_down left\n";

    std::string outputs[2];
    for (std::string& output : outputs) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(run(file, 6, input), EXIT_NORMAL_END);
        output = testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(outputs[0].substr(0, 6), "space ");
    EXPECT_NE(outputs[0].find("\nclick\nend\n"), std::string::npos) << outputs[0];
}

TEST_F(RunnerTest, WithoutABorderTheCaptionIsDrawnInTheImageAndTheScreenCanBeSaved)
{
    GameFile game = game_running("screen_save(\"" + (m_folder / "shot.bmp").string() + "\"); screen_save(\"\");");
    game.settings.no_window_border = true;
    game.rooms.get(0)->caption = "Caption";
    game.rooms.get(0)->background_color = 0;
    EXPECT_EQ(run(write("caption.bin", write_game_file(game))), EXIT_NORMAL_END);
    const auto& frame = static_cast<platform::HeadlessDisplay&>(*m_platform->display).last_frame();
    int lit = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x)
            lit += frame.pixel(x, y) == 0xFFFFFFu;
    EXPECT_GT(lit, 20);
    EXPECT_TRUE(fs::exists(m_folder / "shot.bmp"));
    EXPECT_NE(m_messages.str().find("Trying to save screen to empty image file name."), std::string::npos);
}

TEST_F(RunnerTest, ARoomChangeShowsItsTransitionInVirtualTimeAndScreenshotsCatchItsFrames)
{
    // Room 0 (red) asks in step 1 for a reveal from the left over 400 ms in 4 frames and sleeps 100 ms first;
    // room 1 (blue) tells in step 2 how much time game code saw pass since.
    GameFile game = game_running("");
    game.objects.get(0)->event(EVENT_STEP, 0).actions.push_back(CAction::code_action(
        "transition_kind = 1; transition_time = 400; transition_steps = 4; global.t = current_time; sleep(100);"
        "room_goto_next();"));
    auto watcher = std::make_unique<CObject>();
    watcher->event(EVENT_STEP, 0).actions.push_back(
        CAction::code_action("show_debug_message(string(current_time - global.t) + \" \" + string(transition_kind));"));
    game.objects.add("obj_watcher", std::move(watcher));
    CRoom& first = *game.rooms.get(0);
    first.width = 16;
    first.height = 8;
    first.background_color = make_color(255, 0, 0);
    auto second = std::make_unique<CRoom>(first);
    second->background_color = make_color(0, 0, 255);
    second->instances = {{0, 0, 1, 100002, "", false}};
    game.rooms.add("room_second", std::move(second));
    game.room_order = {0, 1};

    CommandLine command_line;
    command_line.game = write("transition.bin", write_game_file(game));
    command_line.headless = true;
    command_line.steps = 2;
    command_line.screenshots = {{1, m_folder / "middle.png", 2}, {1, m_folder / "new_room.png", 0},
        {1, m_folder / "late.png", 5}};
    testing::internal::CaptureStdout();
    EXPECT_EQ(Runner(*m_platform, command_line).run(), EXIT_NORMAL_END);
    // 100 ms of sleep and 4 x 100 ms of transition; the kind was used up by the room's first frame.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "500 0\n");
    EXPECT_EQ(m_messages.str(), "");

    auto middle = load_picture_file(m_folder / "middle.png");
    ASSERT_TRUE(middle);
    const Bitmap24& shot = middle->front().image;
    EXPECT_EQ(shot.width, 16);
    EXPECT_EQ(shot.pixel(7, 4), make_color(0, 0, 255));   // the new room, revealed up to the middle
    EXPECT_EQ(shot.pixel(8, 4), make_color(255, 0, 0));   // the old one beside it
    auto whole = load_picture_file(m_folder / "new_room.png");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->front().image.pixel(15, 7), make_color(0, 0, 255));
    // A transition of 4 frames has no fifth.
    EXPECT_FALSE(fs::exists(m_folder / "late.png"));
}

// The player's store: secure mode comes from the preference at start, the game's values stay between runs under
// its game id, and the arguments after "--" are the game's parameters.
TEST_F(RunnerTest, SecureModeParametersAndRegistryValuesComeFromThePlayer)
{
    setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
    platform::close_user_registry();
    GameFile game = game_running(
        "show_debug_message(string(secure_mode) + ' ' + string(parameter_count()) + parameter_string(1));"
        "registry_write_real('runs', registry_read_real('runs') + 1);"
        "show_debug_message(string(registry_read_real('runs')));"
        "if (secure_mode) game_save('saves/one.sav');");
    game.game_id = 4321;
    fs::path file = write("store.bin", write_game_file(game));
    CommandLine command_line;
    command_line.game = file;
    command_line.headless = true;
    command_line.steps = 1;
    command_line.game_arguments = {"--level", "3"};
    std::string shown;
    for (bool secure : {true, false}) {
        ASSERT_TRUE(set_secure_mode_preference(secure));
        testing::internal::CaptureStdout();
        Runner runner(*m_platform, command_line);
        EXPECT_EQ(runner.run(), EXIT_NORMAL_END);
        shown += testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(shown, "1 2--level\n1\n0 2--level\n2\n");
    EXPECT_NE(m_messages.str().find("In secure mode you cannot save game to file saves/one.sav"), std::string::npos)
        << m_messages.str();
    EXPECT_EQ(platform::user_registry().read_real(platform::RegistryRoot::current_user, "Software\\Quillon\\4321",
                                                  "runs"),
              2);
    platform::close_user_registry();
    unsetenv("XDG_CONFIG_HOME");
}
