// The dialog built-ins answered by script: the message form, input boxes and choosers with their default
// answers and refusals, exclusive mode returning at once with nothing shown, the input that closed a dialog
// cleared, and the highscore table's order and its persistence from one run to the next.
#include "code/builtin_variables.h"
#include "dialogs/form_host.h"
#include "dialogs/message_settings.h"
#include "functions/dialog_functions.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/registry_store.h"
#include "play_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

class DialogFunctions : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        for (const FunctionEntry& entry : dialog_functions())
            use_handler(entry.name, entry.handler);
        m_folder = std::filesystem::temp_directory_path() / ("quillon-dialogs-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
        setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
        platform::close_user_registry();
        add_room({ { 0, 0, add_object("player"), 100001, {}, false } });
        start();
        loop();
        play_services().forms = &forms;
    }
    void TearDown() override
    {
        errors().m_settings.exclusive_mode = false;
        message_settings() = MessageSettings();
        game_counters() = GameCounters();
        platform::close_user_registry();
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(m_folder);
        PlayTest::TearDown();
    }
    // Runs the code with these answers queued; its result as text, strings quoted.
    std::string answer(const std::string& code, std::initializer_list<const char*> answers = {})
    {
        for (const char* line : answers)
            dialogs.push_answer(line);
        Value result = run(instance(0), "return " + code);
        if (result.is_string())
            return "'" + result.string.str() + "'";
        char text[32];
        std::snprintf(text, sizeof text, "%g", result.real);
        return text;
    }
    std::string shown()
    {
        std::string text = log.str();
        log.str("");
        return text;
    }

    std::ostringstream log;
    platform::HeadlessDialogHost dialogs { log };
    FormHost forms { dialogs, nullptr };
    std::filesystem::path m_folder;
};

TEST_F(DialogFunctions, DialogsTakeTheirAnswersOrTheirDefaults)
{
    struct Case {
        const char* code;
        std::initializer_list<const char*> answers;
        const char* result;
    };
    const Case cases[] = {
        { "show_message_ext('a#b', '&Yes', '', '&No')", {}, "1" },          // Enter
        { "show_message_ext('a', '&Yes', '', '&No')", { "no" }, "3" },       // a label, "&" left out
        { "show_message_ext('a', '&Yes', 'Maybe', '&No')", { "2" }, "2" },  // a button's number
        { "show_message_ext('a', '', '', '')", { "escape" }, "0" },
        { "show_message_ext('a', '', '', '')", { "" }, "1" },
        { "get_integer('How many?', 7.6)", {}, "8" },
        { "get_integer('How many?', 7)", { " -12 " }, "-12" },
        { "get_integer('How many?', 7)", { "twelve" }, "7" },
        { "get_integer('How many?', 7)", { "3.5" }, "7" },
        { "get_integer('How many?', 7)", { "99999999999" }, "7" },
        { "get_string('Name?', 'anna')", {}, "'anna'" },
        { "get_string('Name?', 'anna')", { "" }, "''" },
        { "get_string('Name?', 'anna')", { "b\xc3\xa9la" }, "'b\xe9la'" },
        { "get_color(255)", {}, "255" },
        { "get_color(255)", { "65280" }, "65280" },
        { "get_color(255)", { "<cancel>" }, "-1" },
        { "get_color(255)", { "green" }, "-1" },
        { "get_open_filename('Text|*.txt', 'a.txt')", {}, "'a.txt'" },
        { "get_save_filename('Text|*.txt', 'a.txt')", { "b.txt" }, "'b.txt'" },
        { "get_open_filename('Text|*.txt', 'a.txt')", { "<cancel>" }, "''" },
        { "get_directory('/tmp')", {}, "'/tmp'" },
        { "get_directory_alt('Pick', '/')", { "/srv" }, "'/srv'" },
        { "get_directory_alt('Pick', '/')", { "<cancel>" }, "''" },
    };
    for (const Case& test : cases) {
        EXPECT_EQ(answer(test.code, test.answers), test.result) << test.code;
        EXPECT_EQ(dialogs.pending_answers(), 0u) << test.code;
    }
    std::string log = shown();
    EXPECT_NE(log.find("a\nb\n"), std::string::npos);  // "#" is a line break
    EXPECT_NE(log.find("Color\nanswers: \"green\" is no colour here; the dialog is cancelled\n"), std::string::npos);
    EXPECT_NE(log.find("Open\nSave As\n"), std::string::npos);
}

TEST_F(DialogFunctions, ExclusiveModeShowsNothingAndClosingClearsTheInput)
{
    InputState& input = loop().input();
    struct Case {
        const char* code;
        const char* exclusive_result;
    };
    const Case cases[] = {
        { "show_message_ext('a', 'x', 'y', 'z')", "0" },
        { "get_integer('n', 4)", "4" },
        { "get_string('s', 'd')", "'d'" },
        { "get_color(9)", "9" },
        { "get_open_filename('', 'f')", "''" },
        { "get_directory('d')", "''" },
        { "highscore_show(5)", "0" },
    };
    for (bool exclusive : { true, false }) {
        errors().m_settings.exclusive_mode = exclusive;
        for (const Case& test : cases) {
            input.mouse_down(1);
            std::string result = answer(test.code);
            if (exclusive)
                EXPECT_EQ(result, test.exclusive_result) << test.code;
            EXPECT_EQ(shown().empty(), exclusive) << test.code;
            EXPECT_EQ(input.buttons[1].state != 0, exclusive) << test.code;
        }
        // The table is shown, and changed, only when windows may show.
        EXPECT_EQ(answer("highscore_value(1)"), exclusive ? "0" : "5");
    }
}

TEST_F(DialogFunctions, SettingsRefuseMissingResourcesAndKeepTheirRules)
{
    answer("message_background(3)");
    EXPECT_NE(take_trace().find("Trying to set a non-existing message background"), std::string::npos);
    answer("message_button(5)");
    EXPECT_NE(take_trace().find("Trying to set a non-existing message button"), std::string::npos);
    answer("message_text_font('', -1, 255, 7)");
    answer("message_button_font('Arial', 12, -1, 2)");
    answer("message_size(-5, 300)");
    answer("message_caption(0.5, 'Hello')");
    const MessageSettings& settings = message_settings();
    EXPECT_EQ(settings.text_font.name, "MS Sans Serif");
    EXPECT_EQ(settings.text_font.size, 8);
    EXPECT_EQ(settings.text_font.color, 255);
    EXPECT_FALSE(settings.text_font.bold);
    EXPECT_EQ(settings.button_font.name, "Arial");
    EXPECT_FALSE(settings.button_font.bold);
    EXPECT_TRUE(settings.button_font.italic);
    EXPECT_EQ(settings.width, 0);
    EXPECT_EQ(settings.height, 300);
    EXPECT_TRUE(settings.border);
    EXPECT_EQ(settings.caption, "Hello");
}

TEST_F(DialogFunctions, HighscoresKeepTheirOrderAndLastBetweenRuns)
{
    EXPECT_EQ(answer("highscore_name(1)") + answer("highscore_value(10)"), "'<nobody>'0");
    answer("highscore_add('ann', 50)");
    answer("highscore_add('bob', 80)");
    answer("highscore_add('cid', 50)");  // after the equal value already there
    EXPECT_EQ(answer("highscore_name(1)") + answer("highscore_name(2)") + answer("highscore_name(3)"),
        "'bob''ann''cid'");
    EXPECT_EQ(answer("highscore_value(1)") + answer("highscore_value(4)") + answer("highscore_value(11)"), "8000");

    // A new run reads the same table; the value shown gets the name the player types.
    platform::close_user_registry();
    answer("highscore_show(60)", { "dee" });
    EXPECT_NE(shown().find("Top Ten Players"), std::string::npos);
    EXPECT_EQ(answer("highscore_name(2)") + answer("highscore_value(2)"), "'dee'60");

    // Ten equal values fill the table; a value equal to rank 10 asks for the name but is not inserted.
    answer("action_highscore_clear()");
    for (int i = 0; i < 10; ++i)
        answer("highscore_add('x', 5)");
    game_counters().score = 5;
    answer("highscore_add_current()", { "eve" });
    EXPECT_NE(shown().find("You reached a place in the highscore table.\nPlease provide your name."),
        std::string::npos);
    game_counters().score = 6;
    answer("highscore_add_current()");
    EXPECT_EQ(answer("highscore_name(1)") + answer("highscore_name(10)"), "'player''x'");
    EXPECT_EQ(answer("highscore_value(1)"), "6");
}

}  // namespace
