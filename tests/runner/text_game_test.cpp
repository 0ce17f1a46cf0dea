// Text in a running game: the font variables' first values, what writes keep and across rooms; the text
// measures and the text value rules; and the text actions, which draw exactly what draw_text draws.
#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "platform/registry_store.h"
#include "runner/runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// Game code and what show_debug_message(string(...)) of an expression prints after it.
struct Case {
    const char* code;       // run first
    const char* read;       // the expression printed
    const char* shown;      // what it prints
};

class TextGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("text_game_test_" + std::to_string(::getpid()));
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
        Runner runner(*m_platform, command_line);
        ::testing::internal::CaptureStdout();
        runner.run();
        return ::testing::internal::GetCapturedStdout();
    }

    // Runs each case's code in turn in one create event; checks what each printed.
    void expect_cases(std::initializer_list<Case> cases)
    {
        std::string code;
        std::string expected;
        for (const Case& c : cases) {
            if (*c.code)
                code += std::string(c.code) + ";\n";
            code += std::string("show_debug_message(string(") + c.read + "));\n";
            expected += std::string(c.shown) + "\n";
        }
        GameBuilder builder;
        builder.object("obj").on("create", code);
        builder.room("main").set("width", 200).set("height", 100).instance("obj", 0, 0);
        EXPECT_EQ(play(builder), expected);
        EXPECT_EQ(m_messages.str(), "");
    }

    // The last frame of a one-step game whose writer draws with the actions, or the code, in its draw event.
    // The game has a sprite "spr" of three 4 by 6 images: red, green and blue.
    std::vector<std::uint32_t> drawn(const Json& actions)
    {
        GameBuilder builder;
        builder.sprite("spr", {Bitmap24(4, 6, 0x0000FF), Bitmap24(4, 6, 0x00FF00), Bitmap24(4, 6, 0xFF0000)},
            {{"transparent", false}});
        builder.object("writer").on_actions("draw", actions);
        builder.room("main").set("width", 120).set("height", 60).instance("writer", 10, 20);
        play(builder);
        return static_cast<const platform::HeadlessDisplay&>(*m_platform->display).last_frame().pixels;
    }
    static Json code(const std::string& text) { return Json::array({Json {{"code", text}}}); }

    fs::path m_folder;                                // the game file
    std::ostringstream m_messages;                    // the message boxes' texts
    std::unique_ptr<platform::Platform> m_platform;   // headless services
};

Json text(const std::string& value) { return Json {{"text", value}, {"kind", "string"}}; }

Json action(const std::string& function, Json arguments, bool relative = false)
{
    return Json {{"function", function}, {"arguments", std::move(arguments)}, {"relative", relative}};
}

}  // namespace

TEST_F(TextGameTest, FontVariablesStartAsTheDrawingFontAndKeepWhatIsWritten)
{
    expect_cases({
        {"", "font_name", "MS Sans Serif"},
        {"", "font_size", "8"},
        {"", "font_color", "-2147483640"},
        {"", "font_style", "0"},
        {"", "font_angle", "0"},
        {"", "font_align", "0"},
        {"font_name = 'Arial'", "font_name", "Arial"},
        // A number written to the name is the empty name (its string part).
        {"font_name = 5", "'[' + font_name + ']'", "[]"},
        {"font_size = 10.5", "font_size", "10"},
        {"font_size = 0", "font_size", "0"},
        {"font_color = c_red", "font_color", "255"},
        {"font_style = 5.6", "font_style", "6"},
        {"font_style = 31", "font_style", "15"},
        {"font_style = -3", "font_style", "0"},
        {"font_angle = 12.25", "font_angle", "12.25"},
        {"font_align = 7", "font_align", "7"},
        {"font_align = fa_right", "font_align", "2"},
    });
}

TEST_F(TextGameTest, TheFontKeepsItsValuesAcrossRooms)
{
    GameBuilder builder;
    builder.object("setter").on("create", "font_name = 'Courier New'; font_size = 14; room_goto_next()");
    builder.object("reader").on("create", "show_debug_message(font_name + ' ' + string(font_size))");
    builder.room("first").instance("setter", 0, 0);
    builder.room("second").instance("reader", 0, 0);
    EXPECT_EQ(play(builder, 3), "Courier New 14\n");
}

// Measures of known strings in known fonts, and the text rules: "#" breaks a line, "\#" is "#", a real with a
// fraction has two decimals, an empty text is 1 by 1, and the _ext forms wrap and step as drawing does.
TEST_F(TextGameTest, StringsMeasureAsTheyAreDrawn)
{
    expect_cases({
        {"", "string_width('Lives: 3')", "38"},
        {"", "string_height('Lives: 3')", "13"},
        {"font_name = 'Arial'; font_size = 12", "string_width('Score: 1234')", "86"},
        {"", "string_height('M')", "19"},
        {"", "string_width('') + string_height('')", "2"},
        {"", "string_height('a#b') == 2 * string_height('M')", "1"},
        {"", "string_width('a#b\\#c') == string_width('b\\#c')", "1"},
        {"", "string_width('b\\#c') > string_width('bc')", "1"},
        {"", "string_height('a#b\\#c') == 2 * string_height('M')", "1"},
        {"", "string_width(2.5) == string_width('2.50')", "1"},
        {"", "string_width(3) == string_width('3')", "1"},
        {"", "string_width(2.5) == string_width('2.5')", "0"},
        {"", "string_width_ext('one two three', -1, 0) == string_width('three')", "1"},
        {"", "string_height_ext('one two three', 20, 0) == string_height('M') + 40", "1"},
        {"", "string_height_ext('one two three', -1, -1) == string_height('M')", "1"},
        {"font_name = 'No Such Font'; font_size = 0", "string_width('Lives: 3')", "38"},
        {"font_size = 100000", "string_height('M') > 999", "1"},
    });
}

TEST_F(TextGameTest, FontActionsSetTheDrawingFont)
{
    GameBuilder builder;
    const char* show = "show_debug_message(font_name + ',' + string(font_size) + ',' + string(font_color) + ','"
                       " + string(font_style))";
    builder.object("obj").on_actions("create", Json::array({
        action("action_draw_font", Json::array({text("Arial,12,255,1")})), Json {{"code", show}},
        // Fields left empty or out keep what the font has.
        action("action_draw_font", Json::array({text("Courier New,,65280")})), Json {{"code", show}},
        action("action_draw_font", Json::array({text("x,y")})), Json {{"code", show}},
        action("action_draw_font_old", Json::array({text("Times New Roman"), "10.5", "16711680", "1", "0.4", "0.6"})),
        Json {{"code", show}},
    }));
    builder.room("main").instance("obj", 0, 0);
    EXPECT_EQ(play(builder), "Arial,12,255,1\nCourier New,12,65280,1\nCourier New,12,65280,1\n"
                             "Times New Roman,10,16711680,5\n");
    EXPECT_NE(m_messages.str().find("Wrong argument to action_draw_font()."), std::string::npos) << m_messages.str();
}

// Each text action draws what draw_text draws with the same text at the same place (relative to the instance
// at (10, 20) when asked), and something is drawn at all.
TEST_F(TextGameTest, TextActionsDrawWhatDrawTextDraws)
{
    const std::string font = "font_name = 'Arial'; font_size = 12; font_color = c_red; score = 42; lives = 3; ";
    struct ActionCase {
        Json action;
        const char* same_as;   // the draw_text call that draws the same
    };
    const ActionCase cases[] = {
        {action("action_draw_text", Json::array({text("Hi#there"), "5.5", "7.5"})), "draw_text(6, 8, 'Hi#there')"},
        {action("action_draw_text", Json::array({text("Hi"), "5", "7"}), true), "draw_text(15, 27, 'Hi')"},
        {action("action_draw_variable", Json::array({"2.5", "5", "7"})), "draw_text(5, 7, '2.50')"},
        {action("action_draw_score", Json::array({"5", "7", text("Score: ")})), "draw_text(5, 7, 'Score: 42')"},
        {action("action_draw_life", Json::array({"5", "7", text("Lives: ")}), true), "draw_text(15, 27, 'Lives: 3')"},
    };
    std::vector<std::uint32_t> blank = drawn(code(""));
    for (const ActionCase& c : cases) {
        std::vector<std::uint32_t> by_action = drawn(Json::array({Json {{"code", font}}, c.action}));
        EXPECT_EQ(by_action, drawn(code(font + c.same_as))) << c.same_as;
        EXPECT_NE(by_action, blank) << c.same_as;
    }
    EXPECT_EQ(m_messages.str(), "");
}

// Sprite text: a character draws the image of its code less the first character's, lines break at "#" and
// after the last space that keeps a line within the width, and the font's alignment places each line.
TEST_F(TextGameTest, SpriteTextDrawsAnImagePerCharacter)
{
    struct SpriteCase {
        const char* sprite_text;
        const char* same_as;
    };
    const SpriteCase cases[] = {
        {"draw_text_sprite(10, 5, 'ab#ca', -1, -1, spr, 'a', 1)",
            "draw_sprite(spr, 0, 10, 5); draw_sprite(spr, 1, 14, 5); draw_sprite(spr, 2, 10, 11); draw_sprite(spr, 0, 14, 11)"},
        // The first character 32 maps the space to image 0; characters without an image still advance.
        {"draw_text_sprite(0, 0, ' !z\"', -1, -1, spr, 32, 1)",
            "draw_sprite(spr, 0, 0, 0); draw_sprite(spr, 1, 4, 0); draw_sprite(spr, 2, 12, 0)"},
        // Three characters fit in 12 pixels: "ab " then "ba"; line distance 10.
        {"draw_text_sprite(0, 0, 'ab ba', 10, 12, spr, 97, 1)",
            "draw_sprite(spr, 0, 0, 0); draw_sprite(spr, 1, 4, 0); draw_sprite(spr, 1, 0, 10); draw_sprite(spr, 0, 4, 10)"},
        {"font_align = fa_right; draw_text_sprite(40, 0, 'ab', -1, -1, spr, 97, 2)",
            "draw_sprite_scaled(spr, 0, 24, 0, 2); draw_sprite_scaled(spr, 1, 32, 0, 2)"},
        {"font_align = fa_center; draw_text_sprite(40, 20.5, 'abc', -1, -1, spr, 97, 1)",
            "draw_sprite(spr, 0, 34, 20); draw_sprite(spr, 1, 38, 20); draw_sprite(spr, 2, 42, 20)"},
    };
    std::vector<std::uint32_t> blank = drawn(code(""));
    for (const SpriteCase& c : cases) {
        std::vector<std::uint32_t> by_text = drawn(code(c.sprite_text));
        EXPECT_EQ(by_text, drawn(code(c.same_as))) << c.sprite_text;
        EXPECT_NE(by_text, blank) << c.sprite_text;
    }
    EXPECT_EQ(m_messages.str(), "");
    drawn(code("draw_text_sprite(0, 0, 'a', -1, -1, 7, 97, 1)"));
    EXPECT_NE(m_messages.str().find("Trying to draw text using non-existing sprite number: 7"), std::string::npos)
        << m_messages.str();
}

// Text pixels read back as exactly the font colour: no shade of it at the edges of the glyphs.
TEST_F(TextGameTest, TextPixelsReadBackAsTheFontColour)
{
    expect_cases({
        {"brush_color = c_white; pen_color = c_white; draw_rectangle(0, 0, 80, 40);"
         "font_name = 'Times New Roman'; font_size = 16; font_color = c_red; font_style = fs_italic;"
         "draw_text(5, 5, 'Wig'); red = 0; stray = 0;"
         "for (i = 2; i < 78; i += 1) for (j = 2; j < 38; j += 1) {"
         "  c = draw_getpixel(i, j); if (c == c_red) red += 1 else if (c != c_white) stray += 1 }",
            "string(red > 20) + ' ' + string(stray)", "1 0"},
    });
}

namespace {

TEST_F(TextGameTest, TheHighscoreTableIsDrawnAsItsRowsOfText)
{
    setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
    platform::close_user_registry();
    std::vector<std::uint32_t> table = drawn(code("highscore_clear(); highscore_add('ann', 42);"
                                                  "draw_highscore(10.4, 4, 110, 54)"));
    std::vector<std::uint32_t> rows = drawn(code("for (i = 1; i <= 10; i += 1) { font_align = 0;"
                                                 "draw_text(10, 4 + (i - 1) * 5, highscore_name(i)); font_align = 2;"
                                                 "draw_text(110, 4 + (i - 1) * 5, string(highscore_value(i))) }"));
    EXPECT_EQ(table, rows);
    EXPECT_NE(std::count(table.begin(), table.end(), table[0]), static_cast<long>(table.size()));
    EXPECT_EQ(m_messages.str(), "");
    platform::close_user_registry();
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
