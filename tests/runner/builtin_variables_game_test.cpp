// The built-in variables as a running game sees them: first values, what writes store and set off, and what
// the read-only ones and the room speed refuse.
#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "runner/runner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// Code that prints "name=value" for each expression, a line each.
std::string show(std::initializer_list<const char*> expressions)
{
    std::string code;
    for (const char* expression : expressions)
        code += std::string("show_debug_message('") + expression + "=' + string(" + expression + "));\n";
    return code;
}

// A written variable and what reading it back shows afterwards.
struct WriteCase {
    const char* assignment;  // game code that writes one variable
    const char* read;        // the expression printed after it
    const char* shown;       // what string() of the expression gives
};

class BuiltinVariablesGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("builtin_variables_game_test_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Plays the game headless for some steps and gives what it printed.
    std::string play(const GameBuilder& builder, std::int64_t steps = 1)
    {
        CommandLine command_line;
        command_line.game = m_folder / "game.bin";
        builder.write(*command_line.game);
        command_line.headless = true;
        command_line.steps = steps;
        command_line.seed = 7;
        Runner runner(*m_platform, command_line);
        testing::internal::CaptureStdout();
        runner.run();
        return testing::internal::GetCapturedStdout();
    }

    // A 16x8 sprite of two opaque images with its origin at (4, 2).
    static void add_sprite(GameBuilder& builder)
    {
        builder.sprite("spr", {Bitmap24(16, 8, 0xFF0000), Bitmap24(16, 8, 0x00FF00)},
            {{"origin_x", 4}, {"origin_y", 2}, {"transparent", false}});
    }

    fs::path m_folder;                               // the game file
    std::ostringstream m_messages;                   // the message boxes' texts
    std::unique_ptr<platform::Platform> m_platform;  // headless services
};

}  // namespace

TEST_F(BuiltinVariablesGameTest, AFreshGameReadsTheFirstValues)
{
    GameBuilder builder;
    add_sprite(builder);
    builder.object("obj").set("sprite", "spr").on("create",
        show({"x", "y", "xstart", "gravity_direction", "object_index", "id", "alarm[0]", "alarm[9]", "visible",
            "bbox_left", "bbox_right", "bbox_top", "bbox_bottom", "image_single", "image_number", "sprite_width",
            "sprite_height", "sprite_xoffset", "sprite_yoffset", "image_scale", "mask_index", "path_index",
            "timeline_index", "argument_relative", "room", "room_first", "room_last", "transition_kind",
            "transition_time", "transition_steps", "score", "lives", "health", "instance_count", "instance_id[0]",
            "instance_id[1]", "instance_id[9]", "room_width", "room_height", "room_caption", "room_speed",
            "background_width[0]", "view_current", "show_score", "show_lives", "caption_score", "caption_lives",
            "caption_health", "scale_window", "scale_screen", "screen_width", "screen_height", "event_type",
            "event_number", "event_object", "event_action", "error_occurred", "error_last"}));
    builder.room("main").set("width", 300).set("height", 200).set("caption", "Cap").set("speed", 30)
        .instance("obj", 10, 20);
    EXPECT_EQ(play(builder),
        "x=10\ny=20\nxstart=10\ngravity_direction=270\nobject_index=0\nid=100001\nalarm[0]=-1\nalarm[9]=-1\n"
        "visible=1\nbbox_left=6\nbbox_right=21\nbbox_top=18\nbbox_bottom=25\nimage_single=-1\nimage_number=2\n"
        "sprite_width=16\nsprite_height=8\nsprite_xoffset=4\nsprite_yoffset=2\nimage_scale=1\nmask_index=-1\n"
        "path_index=-1\ntimeline_index=-1\nargument_relative=0\nroom=0\nroom_first=0\nroom_last=0\n"
        "transition_kind=0\ntransition_time=0\ntransition_steps=40\nscore=0\nlives=-1\nhealth=100\n"
        "instance_count=1\ninstance_id[0]=100001\ninstance_id[1]=-4\ninstance_id[9]=-4\nroom_width=300\n"
        "room_height=200\nroom_caption=Cap\nroom_speed=30\nbackground_width[0]=0\nview_current=0\n"
        "show_score=1\nshow_lives=0\ncaption_score=Score: \ncaption_lives=Lives: \ncaption_health=Health: \n"
        "scale_window=100\nscale_screen=0\nscreen_width=300\nscreen_height=200\nevent_type=0\nevent_number=0\n"
        "event_object=0\nevent_action=0\nerror_occurred=0\nerror_last=\n");
    EXPECT_EQ(m_messages.str(), "");
}

TEST_F(BuiltinVariablesGameTest, WritesRoundIntegersAndFlagsTakeTheirOwnSlotAndGoThroughTheSetters)
{
    const WriteCase cases[] = {
        // Flags are true when the value rounded, halves to even, is above 0.5.
        {"visible = 0.5", "visible", "0"},
        {"visible = 0.6", "visible", "1"},
        {"solid = 1.5", "solid", "1"},
        {"solid = -3", "solid", "0"},
        {"background_showcolor = 0.4", "background_showcolor", "0"},
        // Integers store the value rounded, halves to even; reals keep it.
        {"image_index = 2.5", "image_index", "2"},
        {"image_index = 3.5", "image_index", "4"},
        {"image_single = 0.5", "image_single", "0"},
        {"score = 2.5", "score", "2"},
        {"transition_kind = 2.5", "transition_kind", "2"},
        {"room_speed = 1.5", "room_speed", "2"},
        {"keyboard_key = 65.5", "keyboard_key", "66"},
        {"view_x[3] = 7.5", "view_x[3]", "8"},
        {"depth = 1.5", "depth", "1.50"},
        {"health = 50.5", "health", "50.50"},
        // A numeric setter takes the real slot and a string setter the string slot, whatever the kind.
        {"score = 'abc'", "score", "0"},
        {"room_caption = 5", "'[' + room_caption + ']'", "[]"},
        {"caption_score = 'S='", "caption_score", "S="},
        // Array variables take 0 to 7, and `argument` 0 to 15; other indices mean 0.
        {"alarm[9] = 5", "alarm[0]", "5"},
        {"alarm[1,2] = 6", "alarm[0]", "6"},
        {"background_visible[9] = 1", "background_visible[0]", "1"},
        {"argument[20] = 'q'", "argument0", "q"},
        {"argument3 = 'three'", "argument[3]", "three"},
        // Setters with an effect on the instance, the screen and the error state.
        {"x = 50", "bbox_left", "46"},
        {"speed = 5", "hspeed", "5"},
        {"direction = 90", "vspeed", "-5"},
        {"image_scale = 2", "sprite_width", "32"},
        {"sprite_index = 99", "sprite_height", "0"},
        {"scale_screen = 1", "scale_full", "0"},
        {"scale_screen = 0", "scale_full", "100"},
        {"scale_window = 200", "scale_window", "200"},
        {"screen_width = 400", "screen_height", "200"},
        {"show_cursor = 0", "show_cursor", "0"},
        {"keyboard_string = 'typed'", "keyboard_string", "typed"},
        {"error_occurred = 0.5", "error_occurred", "1"},
        {"error_last = 'e'", "error_last", "e"},
    };
    std::string code;
    std::string expected;
    for (const WriteCase& c : cases) {
        code += std::string(c.assignment) + "; show_debug_message(string(" + c.read + "));\n";
        expected += std::string(c.shown) + "\n";
    }
    GameBuilder builder;
    add_sprite(builder);
    builder.object("obj").set("sprite", "spr").on("create", code);
    builder.room("main").set("width", 300).set("height", 200).instance("obj", 10, 20);
    EXPECT_EQ(play(builder), expected);
    EXPECT_EQ(m_messages.str(), "");
}
