// The actions over other services: what they ask of the drawing, sound and highscore built-ins and of the pen,
// brush, font and caption variables; the relative flag, the instance's own image, missing resources, and the
// health bar's widths and colours.
#include "dialogs/highscore_settings.h"
#include "functions/drawing.h"
#include "graphics/drawing_state.h"
#include "play_fixture.h"

#include <cmath>
#include <map>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Keeps the variables that the world hands on (the font), as the text engine will; the pen and brush are the
// drawing state's.
class DrawingHost : public ScriptHost {
public:
    bool get_variable(ScriptInstance*, int id, int, Value& result) override
    {
        result = values.contains(id) ? values[id] : Value();
        return true;
    }
    bool set_variable(ScriptInstance*, int id, int, const Value& value) override
    {
        values[id] = value;
        return true;
    }
    std::map<int, Value> values; // by variable id
};

DrawingHost& drawing_host()
{
    static DrawingHost s_host;
    return s_host;
}

double variable(const char* name)
{
    Value value;
    builtin_variables().read(nullptr, builtin_variables().find(name), 0, value);
    return value.real;
}

// A real as an integer when whole, else as written by %g.
std::string number(double real)
{
    if (real == std::floor(real))
        return std::to_string(static_cast<long long>(real));
    char text[32];
    std::snprintf(text, sizeof text, "%g", real);
    return text;
}

// Traces the built-in's name and arguments; rectangles add the brush and pen colours they are drawn in.
void traced_drawing(FunctionCall& call)
{
    std::string& log = trace_log();
    log += function_registry().at(call.index).name + "(";
    for (int i = 0; i < call.count; ++i)
        log += (i ? "," : "")
            + (call.arguments[i].is_string() ? call.arguments[i].string.str() : number(call.arguments[i].real));
    log += ")";
    if (function_registry().at(call.index).name == "draw_rectangle")
        log += " " + number(variable("brush_color")) + "/" + number(variable("pen_color"));
    log += " ";
}

class ActionServices : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        serve_drawing_variables();
        drawing_state() = DrawingState();
        for (const char* name :
            { "draw_sprite", "draw_background", "draw_background_tiled", "draw_text", "draw_rectangle", "draw_ellipse",
                "draw_line", "sound_play", "sound_loop", "sound_stop", "highscore_show", "highscore_clear" })
            use_handler(name, traced_drawing);
        use_handler("sound_isplaying", [](FunctionCall& call) { call.result.set_real(call.arguments[0].real == 3); });
        drawing_host().values.clear();
        m_previous_host = &host();
        set_host(&drawing_host());
        m_object = add_object("drawer");
        m_sprite = add_sprite(3);
        auto background = std::make_unique<CBackground>();
        backgrounds.add("back", std::move(background));
        add_room({ { 10, 20, m_object, 100001, {}, false } });
        start();
    }
    void TearDown() override
    {
        PlayTest::TearDown();
        set_host(m_previous_host);
    }

    ScriptHost* m_previous_host = nullptr; // the host before the drawing one
    int m_object = -1; // the drawing instance's object, at (10, 20)
    int m_sprite = -1; // three images, 32 pixels wide
};

TEST_F(ActionServices, ShapesTextAndImagesTakeTheRelativeFlag)
{
    struct Case {
        const char* call; // with score 12 and 3 lives
        const char* absolute; // the drawing without the flag
        const char* relative; // and with it
    };
    const Case cases[] = {
        { "action_draw_rectangle(1, 2, 3, 4)", "draw_rectangle(1,2,3,4) 16777215/0 ", "draw_rectangle(11,22,13,24) 16777215/0 " },
        { "action_draw_ellipse(1, 2, 3, 4)", "draw_ellipse(1,2,3,4) ", "draw_ellipse(11,22,13,24) " },
        { "action_draw_line(-1, 2, 3, -4)", "draw_line(-1,2,3,-4) ", "draw_line(9,22,13,16) " },
        { "action_draw_text('a#b', 1.4, 2.6)", "draw_text(1,3,a#b) ", "draw_text(11,23,a#b) " },
        { "action_draw_variable(2.5, 1.5, 0)", "draw_text(1.5,0,2.5) ", "draw_text(11.5,20,2.5) " },
        { "action_draw_variable('x', 0, 0)", "draw_text(0,0,x) ", "draw_text(10,20,x) " },
        { "action_draw_score(0, 0, 'Score: ')", "draw_text(0,0,Score: 12) ", "draw_text(10,20,Score: 12) " },
        { "action_draw_life(0, 0, '')", "draw_text(0,0,3) ", "draw_text(10,20,3) " },
        { "action_draw_life_images(5, 0, 0)", "draw_sprite(0,0,5,0) draw_sprite(0,0,37,0) draw_sprite(0,0,69,0) ",
            "draw_sprite(0,0,15,20) draw_sprite(0,0,47,20) draw_sprite(0,0,79,20) " },
        { "action_draw_life_images(5, 0, 9)", "", "" },
        { "action_draw_sprite(0, 3, 4, 2)", "draw_sprite(0,2,3,4) ", "draw_sprite(0,2,13,24) " },
        { "action_draw_sprite(0, 0, 0, -1)", "draw_sprite(0,1,0,0) ", "draw_sprite(0,1,10,20) " },
        { "image_single = 2; action_draw_sprite(0, 0, 0, -1)", "draw_sprite(0,2,0,0) ", "draw_sprite(0,2,10,20) " },
        { "action_draw_background(0, 1, 2, 0)", "draw_background(0,1,2) ", "draw_background(0,11,22) " },
        { "action_draw_background(0, 1, 2, 1)", "draw_background_tiled(0,1,2) ", "draw_background_tiled(0,11,22) " },
    };
    CInstance& self = instance(0);
    for (const Case& test : cases) {
        for (bool relative : { false, true }) {
            run(self, "score = 12; lives = 3; image_index = 1; image_single = -1");
            set_relative(self, relative);
            run(self, test.call);
            EXPECT_EQ(take_trace(), relative ? test.relative : test.absolute) << test.call << " " << relative;
        }
    }
}

TEST_F(ActionServices, MissingSpritesAndBackgroundsAreReported)
{
    for (const char* call : { "action_draw_sprite(9, 0, 0, 0)", "action_draw_background(-1, 0, 0, 0)" }) {
        run(instance(0), call);
        std::string trace = take_trace();
        EXPECT_EQ(trace.find("draw_"), std::string::npos) << trace;
        EXPECT_NE(trace.find(std::string(call).find("sprite") != std::string::npos
                          ? "Trying to draw a non-existing sprite: 9"
                          : "Trying to draw a non-existing background: -1"),
            std::string::npos)
            << trace;
    }
}

TEST_F(ActionServices, HealthBarsAsWideAsTheHealthInTheirColours)
{
    struct Case {
        double health; // the game's health
        const char* call; // the bar drawn
        bool relative; // the flag
        const char* drawn; // rectangles with brush/pen
    };
    const Case cases[] = {
        { 150, "action_draw_health(0, 0, 100, 10, 0, 0)", false, "draw_rectangle(0,0,100,10) 65280/0 " },
        { 50, "action_draw_health(0, 0, 100, 10, 1, 0)", false,
            "draw_rectangle(0,0,100,10) 0/0 draw_rectangle(0,0,50,10) 65535/0 " },
        { 25, "action_draw_health(0, 0, 100, 10, 0, 0)", false, "draw_rectangle(0,0,25,10) 33023/0 " },
        { 75, "action_draw_health(0, 0, 100, 10, 4, 1)", false,
            "draw_rectangle(0,0,100,10) 16777215/0 draw_rectangle(0,0,75,10) 12566463/0 " },
        { -10, "action_draw_health(0, 0, 100, 10, 0, 12)", false, "draw_rectangle(0,0,0,10) 255/0 " },
        { 50, "action_draw_health(0, 0, 100, 10, 16, 17)", true,
            "draw_rectangle(10,20,110,30) 16776960/0 draw_rectangle(10,20,60,30) 16776960/0 " },
        { 33, "action_draw_health(0, 0, 10, 10, 0, 2)", false, "draw_rectangle(0,0,3,10) 0/0 " },
    };
    CInstance& self = instance(0);
    for (const Case& test : cases) {
        game_counters().health = test.health;
        run(self, "action_color(111, 222)");
        set_relative(self, test.relative);
        run(self, test.call);
        EXPECT_EQ(take_trace(), test.drawn) << test.health << " " << test.call;
        EXPECT_EQ(variable("brush_color"), 111) << test.call;
        EXPECT_EQ(variable("pen_color"), 222) << test.call;
    }
}

TEST_F(ActionServices, ColoursAndTheFontGoToTheirVariables)
{
    run(instance(0), "action_fill_color(5.4); action_line_color(6)");
    EXPECT_EQ(variable("brush_color"), 5);
    EXPECT_EQ(variable("pen_color"), 6);
    run(instance(0), "action_color(7, 8); action_draw_font_old('Arial', 12.5, 255, 1, 0.5, 0.6)");
    EXPECT_EQ(variable("brush_color"), 7);
    EXPECT_EQ(variable("pen_color"), 8);
    Value name;
    drawing_host().get_variable(nullptr, builtin_variables().find("font_name"), 0, name);
    EXPECT_EQ(name.string.str(), "Arial");
    EXPECT_EQ(variable("font_size"), 12);
    EXPECT_EQ(variable("font_color"), 255);
    EXPECT_EQ(variable("font_style"), 5);
}

TEST_F(ActionServices, TheFontIsTakenFromItsDescription)
{
    struct Case {
        const char* call; // after the font "Arial", 10, colour 5, bold
        const char* font; // name size colour style, as the variables read then
        bool wrong; // the argument is reported as wrong
    };
    const Case cases[] = {
        { "action_draw_font('Courier New,12,255,6')", "Courier New 12 255 6", false },
        { "action_draw_font(' Verdana , 9.5 ')", "Verdana 10 5 1", false },
        { "action_draw_font(',,,0')", "Arial 10 5 0", false },
        { "action_draw_font('Times,-1,-3,-1')", "Times 10 5 1", false },
        { "action_draw_font('')", "Arial 10 5 1", false },
        { "action_draw_font('Times,big')", "Arial 10 5 1", true },
        { "action_draw_font('Times,1,2,3,4')", "Arial 10 5 1", true },
        { "action_draw_font(12)", "Arial 10 5 1", true },
    };
    for (const Case& test : cases) {
        run(instance(0), "action_draw_font_old('Arial', 10, 5, 1, 0, 0)");
        run(instance(0), test.call);
        std::string trace = take_trace();
        EXPECT_EQ(trace.find("Wrong argument to action_draw_font().") != std::string::npos, test.wrong)
            << test.call << trace;
        Value name;
        drawing_host().get_variable(nullptr, builtin_variables().find("font_name"), 0, name);
        EXPECT_EQ(name.string.str() + " " + number(variable("font_size")) + " " + number(variable("font_color")) + " "
                + number(variable("font_style")),
            test.font)
            << test.call;
    }
}

TEST_F(ActionServices, TheHighscoreTableTakesItsLookThenShows)
{
    run(instance(0), "score = 12");
    for (bool exclusive : { false, true }) {
        highscore_settings() = HighscoreSettings();
        errors().m_settings.exclusive_mode = exclusive;
        run(instance(0), "action_highscore_show(2, 1.6, 65280, 128, 'Arial,14,,3')");
        EXPECT_EQ(take_trace(), exclusive ? "" : "highscore_show(12) ");
        const HighscoreSettings& look = highscore_settings();
        EXPECT_EQ(look.background, 2);
        EXPECT_FALSE(look.border);
        EXPECT_EQ(look.new_entry_color, 65280);
        EXPECT_EQ(look.other_color, 128);
        EXPECT_EQ(look.font_name, "Arial");
        EXPECT_EQ(look.font_size, 14);
        EXPECT_EQ(look.font_style, 3);
    }
    errors().m_settings.exclusive_mode = false;
    run(instance(0), "action_highscore_show(-1, 1, 255, 0, 'Times,x')");
    std::string trace = take_trace();
    EXPECT_NE(trace.find("Wrong argument to action_highscore_show()."), std::string::npos) << trace;
    EXPECT_NE(trace.find("highscore_show(12) "), std::string::npos) << trace;
    EXPECT_EQ(highscore_settings().font_name, "Arial");
    EXPECT_TRUE(highscore_settings().border);
    EXPECT_EQ(highscore_settings().font_size, 14);
    highscore_settings() = HighscoreSettings();
}

TEST_F(ActionServices, SoundsHighscoresAndTheCaptionGoToTheirServices)
{
    struct Case {
        const char* code; // run with score 12
        const char* asked; // what the services were asked
    };
    const Case cases[] = {
        { "action_sound(3, 0)", "sound_play(3) " },
        { "action_sound(3.4, 0.5)", "sound_loop(3) " },
        { "action_end_sound(2, 1)", "sound_stop(2) " },
        { "trace(action_if_sound(3), action_if_sound(2))", "10" },
        { "action_highscore()", "highscore_show(12) " },
        { "action_highscore_clear()", "highscore_clear() " },
    };
    run(instance(0), "score = 12");
    for (const Case& test : cases) {
        run(instance(0), test.code);
        EXPECT_EQ(take_trace(), test.asked) << test.code;
    }
    run(instance(0), "action_set_caption(1, 'S:', 0, 'L:', 1.4, 'H:')");
    run(instance(0), "trace(show_score, show_lives, show_health, caption_score, caption_lives, caption_health)");
    EXPECT_EQ(take_trace(), "101S:L:H:");
}

} // namespace
