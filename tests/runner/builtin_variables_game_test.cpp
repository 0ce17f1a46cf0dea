// The built-in variables as a running game sees them: first values, what writes store and set off, and what
// the read-only ones and the room speed refuse.
#include "runner_game_fixture.h"

#include "code/builtin_variables.h"
#include "world/room_draw.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillon;
namespace fs = std::filesystem;

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
    const char* assignment; // game code that writes one variable
    const char* read; // the expression printed after it
    const char* shown; // what string() of the expression gives
};

class BuiltinVariablesGameTest : public quillon::testing::RunnerGameTest {
protected:
    // A 16x8 sprite of two opaque images with its origin at (4, 2).
    static void add_sprite(GameBuilder& builder)
    {
        builder.sprite("spr", { Bitmap24(16, 8, 0xFF0000), Bitmap24(16, 8, 0x00FF00) },
            { { "origin_x", 4 }, { "origin_y", 2 }, { "transparent", false } });
    }
};

} // namespace

TEST_F(BuiltinVariablesGameTest, AFreshGameReadsTheFirstValues)
{
    GameBuilder builder;
    builder.manifest("game_id", 4321);
    add_sprite(builder);
    builder.object("obj")
        .set("sprite", "spr")
        .on("create",
            show({ "x", "y", "xstart", "gravity_direction", "object_index", "id", "alarm[0]", "alarm[9]", "visible",
                "bbox_left", "bbox_right", "bbox_top", "bbox_bottom", "image_single", "image_number", "sprite_width",
                "sprite_height", "sprite_xoffset", "sprite_yoffset", "image_scale", "mask_index", "path_index",
                "timeline_index", "argument_relative", "room", "room_first", "room_last", "transition_kind",
                "transition_time", "transition_steps", "score", "lives", "health", "game_id", "instance_count",
                "instance_id[0]", "instance_id[1]", "instance_id[9]", "room_width", "room_height", "room_caption",
                "room_speed", "background_width[0]", "view_current", "show_score", "show_lives", "caption_score",
                "caption_lives", "caption_health", "scale_window", "scale_screen", "screen_width", "screen_height",
                "event_type", "event_number", "event_object", "event_action", "error_occurred", "error_last" }));
    builder.room("main")
        .set("width", 300)
        .set("height", 200)
        .set("caption", "Cap")
        .set("speed", 30)
        .instance("obj", 10, 20);
    EXPECT_EQ(play(builder),
        "x=10\ny=20\nxstart=10\ngravity_direction=270\nobject_index=0\nid=100001\nalarm[0]=-1\nalarm[9]=-1\n"
        "visible=1\nbbox_left=6\nbbox_right=21\nbbox_top=18\nbbox_bottom=25\nimage_single=-1\nimage_number=2\n"
        "sprite_width=16\nsprite_height=8\nsprite_xoffset=4\nsprite_yoffset=2\nimage_scale=1\nmask_index=-1\n"
        "path_index=-1\ntimeline_index=-1\nargument_relative=0\nroom=0\nroom_first=0\nroom_last=0\n"
        "transition_kind=0\ntransition_time=0\ntransition_steps=40\nscore=0\nlives=-1\nhealth=100\n"
        "game_id=4321\ninstance_count=1\ninstance_id[0]=100001\ninstance_id[1]=-4\ninstance_id[9]=-4\nroom_width=300\n"
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
        { "visible = 0.5", "visible", "0" },
        { "visible = 0.6", "visible", "1" },
        { "solid = 1.5", "solid", "1" },
        { "solid = -3", "solid", "0" },
        { "background_showcolor = 0.4", "background_showcolor", "0" },
        // Integers store the value rounded, halves to even; reals keep it.
        { "image_index = 2.5", "image_index", "2" },
        { "image_index = 3.5", "image_index", "4" },
        { "image_single = 0.5", "image_single", "0" },
        { "score = 2.5", "score", "2" },
        { "transition_kind = 2.5", "transition_kind", "2" },
        { "room_speed = 1.5", "room_speed", "2" },
        { "keyboard_key = 65.5", "keyboard_key", "66" },
        { "view_x[3] = 7.5", "view_x[3]", "8" },
        { "depth = 1.5", "depth", "1.50" },
        { "health = 50.5", "health", "50.50" },
        // A numeric setter takes the real slot and a string setter the string slot, whatever the kind.
        { "score = 'abc'", "score", "0" },
        { "room_caption = 5", "'[' + room_caption + ']'", "[]" },
        { "caption_score = 'S='", "caption_score", "S=" },
        // Array variables take 0 to 7, and `argument` 0 to 15; other indices mean 0.
        { "alarm[9] = 5", "alarm[0]", "5" },
        { "alarm[1,2] = 6", "alarm[0]", "6" },
        { "background_visible[9] = 1", "background_visible[0]", "1" },
        { "argument[20] = 'q'", "argument0", "q" },
        { "argument3 = 'three'", "argument[3]", "three" },
        // Setters with an effect on the instance, the screen and the error state.
        { "x = 50", "bbox_left", "46" },
        { "speed = 5", "hspeed", "5" },
        { "direction = 90", "vspeed", "-5" },
        { "image_scale = 2", "sprite_width", "32" },
        { "sprite_index = 99", "sprite_height", "0" },
        { "scale_screen = 1", "scale_full", "0" },
        { "scale_screen = 0", "scale_full", "100" },
        { "scale_window = 200", "scale_window", "200" },
        { "screen_width = 400", "screen_height", "200" },
        { "show_cursor = 0", "show_cursor", "0" },
        { "keyboard_string = 'typed'", "keyboard_string", "typed" },
        { "error_occurred = 0.5", "error_occurred", "1" },
        { "error_last = 'e'", "error_last", "e" },
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

TEST_F(BuiltinVariablesGameTest, ReadOnlyVariablesRefuseEveryWrite)
{
    const char* read_only[] = { "object_index", "id", "bbox_left", "bbox_right", "bbox_top", "bbox_bottom",
        "image_number", "sprite_width", "sprite_height", "sprite_xoffset", "sprite_yoffset", "argument_relative",
        "room_first", "room_last", "game_id", "working_directory", "temp_directory", "instance_count", "instance_id",
        "room_width", "room_height", "background_width", "background_height", "view_current", "mouse_x", "mouse_y",
        "fps", "current_time", "current_year", "current_month", "current_day", "current_weekday", "current_hour",
        "current_minute", "current_second", "monitor_width", "monitor_height", "event_type", "event_number",
        "event_object", "event_action", "secure_mode" };
    // Each write is the first statement of its own object's Create event: the refusal ends that code.
    GameBuilder builder;
    RoomBuilder room = builder.room("main");
    for (const char* name : read_only) {
        builder.object(std::string("o_") + name)
            .on("create", std::string(name) + " = 1; show_debug_message('written');");
        room.instance(std::string("o_") + name, 0, 0);
    }
    EXPECT_EQ(play(builder), "");
    std::string messages = m_messages.str();
    for (const char* name : read_only) {
        std::string refusal = std::string("for object o_") + name + ":\r\n\r\nError in code at line 1:\n   " + name
            + " = 1; show_debug_message('written');\n\nat position 1: Cannot assign to the variable\n";
        EXPECT_NE(messages.find(refusal), std::string::npos) << name << "\n" << messages;
    }
}

TEST_F(BuiltinVariablesGameTest, RunningOutOfLivesOrHealthPerformsItsEventOnceForEveryInstance)
{
    GameBuilder builder;
    builder.object("listener")
        .on({ { "event", "other" }, { "number", "no_more_lives" } },
            "show_debug_message('no more lives ' + string(id) + ' ' + string(lives) + ' ' + string(event_number))")
        .on({ { "event", "other" }, { "number", "no_more_health" } },
            "show_debug_message('no more health ' + string(id))");
    // From 3 to 0 runs out, 0 to 0 does not, and 0.4 rounds to 0; health runs out at 0 and not again below it.
    builder.object("ctl").on("create", R"(
lives = 3; lives = 0; show_debug_message('lives 0'); lives = 0; lives = 2; lives = 0.4;
show_debug_message('back in ' + string(event_type) + ' ' + string(event_number));
health = 0; health = -1; health = 5; health = 'none';
)");
    builder.room("main").instance("listener", 0, 0).instance("listener", 0, 0).instance("ctl", 0, 0);
    EXPECT_EQ(play(builder),
        "no more lives 100001 0 6\nno more lives 100002 0 6\nlives 0\n"
        "no more lives 100001 0 6\nno more lives 100002 0 6\nback in 0 0\n"
        "no more health 100001\nno more health 100002\nno more health 100001\nno more health 100002\n");
}

TEST_F(BuiltinVariablesGameTest, ARoomSpeedNotAboveZeroIsReportedKeptAndFailsTheAssignment)
{
    GameBuilder builder;
    builder.object("obj")
        .on("create", "room_speed = 0.4; show_debug_message('not here')")
        .on("step", "show_debug_message(string(room_speed) + ' ' + string(error_occurred))");
    builder.room("main").set("speed", 30).instance("obj", 0, 0);
    EXPECT_EQ(play(builder), "30 1\n");
    EXPECT_EQ(m_messages.str(),
        "Trying to set the room speed to a value <= 0.\n"
        "ERROR in\r\naction number 1\r\nof Create Event\r\nfor object obj:\r\n\r\n"
        "Error in code at line 1:\n   room_speed = 0.4; show_debug_message('not here')\n\nat position 1: "
        "Cannot assign to the variable\n");
}

TEST_F(BuiltinVariablesGameTest, EventAndRoomVariablesFollowTheRunningGame)
{
    GameBuilder builder;
    builder.object("parent")
        .on("create", "show_debug_message('create for ' + string(event_object))")
        .on({ { "event", "other" }, { "number", "user0" } },
            "show_debug_message('inherited ' + string(event_object) + ' ' + string(event_type) + ' '"
            " + string(event_number))");
    builder.object("child")
        .set("parent", "parent")
        .on({ { "event", "other" }, { "number", "user0" } },
            "show_debug_message('child ' + string(event_object)); event_inherited()");
    builder.object("filler").on("create", "");
    builder.object("ctl")
        .on("create", R"(
with (child) event_user(0);
with (filler) instance_destroy();
show_debug_message('instances ' + string(instance_count) + ' ' + string(instance_id[2]) + ' '
    + string(instance_id[9]) + ' ' + string(instance_id[instance_count]));
)")
        .on_actions("step",
            Json::array({ { { "code", "show_debug_message('first ' + string(event_action))" } },
                { { "code", "show_debug_message('second ' + string(event_action) + ' ' + string(argument_relative))" },
                    { "relative", true } },
                { { "code", "room = room_last" } } }));
    builder.object("drawer").on("draw", "show_debug_message('view ' + string(view_current))");
    builder.object("second").on(
        "create", "show_debug_message('room ' + string(room) + ' of ' + string(room_first) + '-' + string(room_last))");
    RoomBuilder first = builder.room("main");
    first.set("views_enabled", true)
        .set("views", Json::array({ { { "visible", false } }, { { "visible", true } }, { { "visible", true } } }))
        .instance("child", 0, 0)
        .instance("parent", 0, 0);
    for (int i = 0; i < 8; ++i)
        first.instance("filler", 0, 0);
    first.instance("ctl", 0, 0).instance("drawer", 0, 0);
    builder.room("other").instance("second", 0, 0);
    // The child's Create comes from its parent but names the child; the instance array keeps the destroyed
    // fillers until the step ends; views 1 and 2 are drawn; the room change waits for the end of the step.
    EXPECT_EQ(play(builder, 2),
        "create for 1\ncreate for 0\nchild 1\ninherited 0 7 10\ninstances 12 100003 100010 -4\n"
        "view 1\nview 2\nfirst 0\nsecond 1 1\nroom 1 of 0-1\n");
}

namespace {

// What a writable variable is given and then reads as, where that is not 3 and "3".
const std::map<std::string, std::pair<const char*, const char*>> WRITTEN = {
    { "solid", { "1", "1" } }, { "visible", { "1", "1" } }, { "persistent", { "1", "1" } },
    { "room_persistent", { "1", "1" } }, { "background_showcolor", { "1", "1" } },
    { "background_visible", { "1", "1" } }, { "background_foreground", { "1", "1" } },
    { "background_htiled", { "1", "1" } }, { "background_vtiled", { "1", "1" } }, { "view_enabled", { "1", "1" } },
    { "view_visible", { "1", "1" } }, { "full_screen", { "1", "1" } }, { "scale_screen", { "1", "1" } },
    { "show_cursor", { "1", "1" } }, { "show_score", { "1", "1" } }, { "show_lives", { "1", "1" } },
    { "show_health", { "1", "1" } }, { "keyboard_continuous", { "1", "1" } }, { "mouse_continuous", { "1", "1" } },
    { "error_occurred", { "1", "1" } }, { "room_caption", { "'w'", "w" } }, { "keyboard_lastchar", { "'w'", "w" } },
    { "keyboard_string", { "'w'", "w" } }, { "caption_score", { "'w'", "w" } }, { "caption_lives", { "'w'", "w" } },
    { "caption_health", { "'w'", "w" } }, { "error_last", { "'w'", "w" } }, { "screen_width", { "300", "300" } },
    { "screen_height", { "200", "200" } }, { "image_index", { "1", "1" } }, { "brush_style", { "5", "5" } },
    { "font_name", { "'w'", "w" } },
};

}  // namespace

// Every variable a game may write keeps the value (as its kind stores it); none drops it silently. The room
// changes at the end of the step, so the next room reports it.
TEST_F(BuiltinVariablesGameTest, EveryWritableVariableKeepsWhatIsWritten)
{
    std::string code;
    std::string expected;
    const BuiltinVariables& variables = builtin_variables();
    for (std::int32_t id = 0; id < static_cast<std::int32_t>(variables.size()); ++id) {
        const std::string& name = variables.at(id).name;
        if (!variables.at(id).settable || name == "room")
            continue;
        auto written = WRITTEN.find(name);
        auto [value, shown] = written == WRITTEN.end() ? std::pair { "3", "3" } : written->second;
        code += name + " = " + value + "; show_debug_message('" + name + "=' + string(" + name + "));\n";
        expected += name + "=" + shown + "\n";
    }
    GameBuilder builder;
    add_sprite(builder);
    builder.object("writer").set("sprite", "spr").on("create", code + "room = 1;");
    builder.object("reporter").on("create", "show_debug_message('room=' + string(room))");
    builder.room("main").instance("writer", 0, 0);
    builder.room("next").instance("reporter", 0, 0);
    EXPECT_EQ(play(builder, 2), expected + "room=1\n");
    EXPECT_EQ(m_messages.str(), "");
    // The caption's state and the counters live for the process: the next game starts from their first values.
    room_draw_state() = RoomDrawState();
    game_counters() = GameCounters();
}
