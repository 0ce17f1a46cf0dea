// Games that change their resources while they play: sprites and backgrounds from picture files beside the game,
// replaced and deleted, image sheets discarded and rebuilt on use, and data files exported and discarded.
#include "../graphics/graphics_fixture.h"
#include "../support/solid_jpeg.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "functions/files.h"
#include "platform/registry_store.h"
#include "runner/runner.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr Color YELLOW = make_color(255, 255, 0);

// Three 8 x 8 frames side by side: red, green, blue.
Bitmap24 strip_picture()
{
    Bitmap24 strip(24, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x)
            strip.set_pixel(x, y, x < 8 ? test::RED : x < 16 ? test::GREEN : test::BLUE);
    return strip;
}

class ResourceChangesGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("resource_changes_game_test_" + std::to_string(::getpid()));
        m_started_in = fs::current_path();
        fs::create_directories(m_folder / "pics");
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
    }
    void TearDown() override
    {
        fs::current_path(m_started_in);
        fs::remove_all(m_folder);
    }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream(m_folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // A 64 x 16 black room whose one instance runs the code in its Create event; object 1 has no events, for
    // instances that show sprites.
    GameFile game(const std::string& create_code)
    {
        GameFile game;
        auto main = std::make_unique<CObject>();
        main->event(EVENT_CREATE, 0).actions.push_back(CAction::code_action(create_code));
        game.objects.add("obj_main", std::move(main));
        game.objects.add("obj_show", std::make_unique<CObject>());
        auto room = std::make_unique<CRoom>();
        room->width = 64;
        room->height = 16;
        room->background_color = 0;
        room->instances.push_back({0, 0, 0, 100001, "", false});
        game.rooms.add("room", std::move(room));
        game.room_order = {0};
        return game;
    }

    // Plays the game from the folder's game file, started from another directory, and gives what it printed.
    std::string play(const GameFile& game, std::int64_t steps = 1)
    {
        write("game.bin", write_game_file(game));
        CommandLine command_line;
        command_line.game = m_folder / "game.bin";
        command_line.headless = true;
        command_line.steps = steps;
        Runner runner(*m_platform, command_line);
        ::testing::internal::CaptureStdout();
        runner.run();
        return ::testing::internal::GetCapturedStdout();
    }

    Color shown(int x, int y) const
    {
        const auto& display = static_cast<const platform::HeadlessDisplay&>(*m_platform->display);
        return pixel_to_color(display.last_frame().pixel(x, y));
    }

    fs::path m_folder;                               // the game and its pictures
    fs::path m_started_in;                           // the current directory before the test
    std::ostringstream m_messages;                   // the message boxes' texts
    std::unique_ptr<platform::Platform> m_platform;  // headless services
};

// Shows image `image` of the sprite in global variable `name` at (x, y).
std::string show(const std::string& name, int image, int x, int y)
{
    return "with (instance_create(" + std::to_string(x) + ", " + std::to_string(y) + ", obj_show)) { sprite_index = global."
        + name + "; image_index = " + std::to_string(image) + "; image_speed = 0 }\n";
}

// Prints the sprite's index, image count, width and x origin.
std::string describe(const std::string& name)
{
    return "show_debug_message(string(global." + name + ") + ' ' + string(sprite_get_number(global." + name
        + ")) + ' ' + string(sprite_get_width(global." + name + ")) + ' ' + string(sprite_get_xoffset(global." + name
        + ")));\n";
}

}  // namespace

TEST_F(ResourceChangesGameTest, SpritesComeFromEachKindOfPictureBesideTheGame)
{
    write("pics/strip.png", encode_png(strip_picture()));
    write("pics/walk.gif", test::make_gif(2, 1, {{{0, 1}, DISPOSE_DO_NOT}, {{2, 3}, DISPOSE_DO_NOT}}));
    write("pics/Tile.BMP", encode_bmp(Bitmap24(8, 8, YELLOW)));
    write("pics/photo.jpg", quillon::testing::solid_jpeg(8, 8, 200, 100, 50));
    write("pics/junk.png", {'n', 'o', 't'});
    std::string code = R"(global.png = sprite_add('pics\strip.png', 3, 0, 0, 0, 0, 0, 0);
        global.gif = sprite_add('pics/walk.gif', 1, 0, 0, 0, 0, 0, 0);
        global.bmp = sprite_add('pics\Tile.BMP', 1, 0, 0, 0, 0, 4, 4);
        global.jpg = sprite_add('pics/photo.jpg', 1, 0, 0, 0, 1, 0, 0);
        show_debug_message(string(sprite_add('pics/missing.png', 1, 0, 0, 0, 0, 0, 0)) + ' '
            + string(sprite_add('pics/junk.png', 1, 0, 0, 0, 0, 0, 0)) + ' ' + sprite_get_name(global.jpg));
    )";
    code += describe("png") + describe("gif") + describe("bmp") + describe("jpg");
    code += show("png", 1, 0, 0) + show("gif", 1, 16, 0) + show("bmp", 0, 36, 4) + show("jpg", 0, 48, 0);
    fs::current_path(fs::temp_directory_path());
    EXPECT_EQ(play(game(code)), "-1 -1 __newsprite3\n0 3 8 0\n1 2 2 0\n2 1 8 4\n3 1 8 0\n");
    EXPECT_EQ(m_messages.str(), "");
    EXPECT_EQ(shown(3, 3), test::GREEN);    // the strip's second frame
    EXPECT_EQ(shown(16, 0), test::BLUE);    // the GIF's second frame, drawn over the first
    EXPECT_EQ(shown(17, 0), test::GREEN);
    EXPECT_EQ(shown(32, 0), YELLOW);        // placed by its origin
    EXPECT_EQ(shown(39, 7), YELLOW);
    Color photo = shown(52, 4);             // a load-on-use sheet, made when first drawn
    EXPECT_NEAR(color_red(photo), 200, 3);
    EXPECT_NEAR(color_green(photo), 100, 3);
    EXPECT_NEAR(color_blue(photo), 50, 3);
}

TEST_F(ResourceChangesGameTest, ReplacedDeletedAndDiscardedImages)
{
    write("pics/strip.png", encode_png(strip_picture()));
    write("pics/one.bmp", encode_bmp(Bitmap24(8, 8, YELLOW)));
    std::string code = R"(global.s = sprite_add('pics/strip.png', 3, 0, 0, 0, 1, 0, 0);
        global.b = background_add('pics/one.bmp', 0, 0, 1);
        show_debug_message(string(sprite_replace(global.s, 'pics/one.bmp', 1, 0, 0, 0, 0, 0, 0)) + ' '
            + string(sprite_replace(global.s, 'pics/missing.png', 1, 0, 0, 0, 0, 0, 0)) + ' '
            + string(sprite_get_number(global.s)) + ' ' + background_get_name(global.b) + ' '
            + string(background_replace(global.b, 'pics/strip.png', 0, 0, 0)) + ' '
            + string(background_get_width(global.b)));
        sprite_replace(7, 'pics/one.bmp', 1, 0, 0, 0, 0, 0, 0);
        background_replace(7, 'pics/one.bmp', 0, 0, 0);
        global.gone = sprite_add('pics/strip.png', 1, 0, 0, 0, 0, 0, 0);
        sprite_delete(global.gone);
        sprite_delete(global.gone);
        background_delete(9);
        show_debug_message(sprite_get_name(global.gone) + ' ' + string(sprite_add('pics/one.bmp', 1, 0, 0, 0, 0, 0, 0)));
        sprite_discard(global.s); background_discard(global.b); discard_all();
        sprite_restore(global.gone); sprite_discard(99); background_restore(-1);
        background_visible[0] = true; background_index[0] = global.b; background_vtiled[0] = false;
        background_htiled[0] = false; background_y[0] = 8;
    )";
    code += show("s", 0, 0, 0);
    EXPECT_EQ(play(game(code), 2), "1 0 1 __newbackground0 1 24\n<undefined> 2\n");
    std::string messages = m_messages.str();
    for (const char* message : {"Trying to replace non-existing sprite.", "Trying to replace non-existing background.",
             "Trying to delete non-existing sprite.", "Trying to delete non-existing background."})
        EXPECT_NE(messages.find(message), std::string::npos) << message << " in " << messages;
    // Each discarded sheet is made again when it is next drawn.
    EXPECT_EQ(shown(4, 4), YELLOW);        // the replaced sprite, a load-on-use one
    EXPECT_EQ(shown(4, 12), test::RED);    // the replaced background, below it
    EXPECT_EQ(shown(20, 12), test::BLUE);
}

TEST_F(ResourceChangesGameTest, DataFilesAreExportedBesideTheGameUntilDiscarded)
{
    GameFile played = game(R"(datafile_export(0, 'out\copy.txt'); datafile_export(7, 'out\none.txt');
        datafile_discard(0); datafile_export(0, 'out\later.txt');)");
    auto notes = std::make_unique<CDataFile>();
    notes->file_name = "notes.txt";
    notes->export_mode = DATA_FILE_NOT_EXPORTED;
    notes->free_after_export = false;
    notes->set_contents({'h', 'i'});
    played.data_files.add("notes", std::move(notes));
    fs::create_directories(m_folder / "out");
    fs::current_path(fs::temp_directory_path());
    play(played);
    EXPECT_EQ(m_messages.str(), "");
    std::ifstream copy(m_folder / "out" / "copy.txt");
    std::string text((std::istreambuf_iterator<char>(copy)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "hi");
    EXPECT_FALSE(fs::exists(m_folder / "out" / "none.txt"));
    EXPECT_FALSE(fs::exists(m_folder / "out" / "later.txt"));
}

TEST_F(ResourceChangesGameTest, SecureModeRefusesToExportDataFilesIntoFolders)
{
    setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
    platform::close_user_registry();
    ASSERT_TRUE(set_secure_mode_preference(true));
    GameFile played = game(R"(datafile_export(0, 'out\copy.txt'); datafile_export(0, 'plain.txt');)");
    auto notes = std::make_unique<CDataFile>();
    notes->export_mode = DATA_FILE_NOT_EXPORTED;
    notes->free_after_export = false;
    notes->set_contents({'h', 'i'});
    played.data_files.add("notes", std::move(notes));
    fs::create_directories(m_folder / "out");
    play(played);
    ASSERT_TRUE(set_secure_mode_preference(false));
    platform::close_user_registry();
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_NE(m_messages.str().find("In secure mode you cannot export a data file to out\\copy.txt"),
        std::string::npos) << m_messages.str();
    EXPECT_FALSE(fs::exists(m_folder / "out" / "copy.txt"));
    EXPECT_TRUE(fs::exists(m_folder / "plain.txt"));
}
