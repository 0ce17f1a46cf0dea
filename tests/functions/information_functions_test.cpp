// The game information built-ins answered by script: show_info writes the page's text and takes one answer,
// clearing the input that closed it; load_info replaces the page from a file, keeps it for a missing one, and
// works in exclusive mode, where show_info shows nothing; show_text shows a file's page or nothing.
#include "dialogs/form_host.h"
#include "dialogs/game_information.h"
#include "functions/information.h"
#include "platform/headless/headless_dialog_host.h"
#include "play_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class InformationFunctions : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        for (const FunctionEntry& entry : information_functions())
            use_handler(entry.name, entry.handler);
        add_room({ { 0, 0, add_object("player"), 100001, {}, false } });
        start();
        loop();
        information.rich_text = "{\\rtf1 First page\\par second line}";
        play_services().forms = &forms;
        play_services().information = &information;
        m_folder = std::filesystem::temp_directory_path() / ("quillon-information-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        errors().m_settings.exclusive_mode = false;
        std::filesystem::remove_all(m_folder);
        PlayTest::TearDown();
    }
    double call(const std::string& code) { return run(instance(0), "return " + code).real; }
    std::string shown()
    {
        std::string text = log.str();
        log.str("");
        return text;
    }

    std::ostringstream log;
    platform::HeadlessDialogHost dialogs { log };
    FormHost forms { dialogs, nullptr };
    GameInformation information;
    std::filesystem::path m_folder;
};

TEST_F(InformationFunctions, ShowInfoWritesThePageAndTakesOneAnswer)
{
    InputState& input = loop().input();
    dialogs.push_answer("");
    dialogs.push_answer("next");
    input.mouse_down(1);
    call("show_info()");
    EXPECT_EQ(shown(), "First page\nsecond line\n");
    EXPECT_EQ(dialogs.pending_answers(), 1u);
    EXPECT_EQ(input.buttons[1].state, 0);
    // With no answers left the window still closes.
    call("show_info()");
    call("show_info()");
    EXPECT_EQ(dialogs.pending_answers(), 0u);
    // In exclusive mode nothing shows and the input stays.
    errors().m_settings.exclusive_mode = true;
    shown();
    input.mouse_down(1);
    call("show_info()");
    EXPECT_EQ(shown(), "");
    EXPECT_NE(input.buttons[1].state, 0);
}

TEST_F(InformationFunctions, LoadInfoReplacesThePageOnlyFromAFile)
{
    EXPECT_EQ(call("load_info('" + (m_folder / "missing.rtf").string() + "')"), 0);
    EXPECT_EQ(call("load_info('" + m_folder.string() + "')"), 0);   // a folder is no page
    EXPECT_EQ(information.rich_text, "{\\rtf1 First page\\par second line}");
    std::ofstream(m_folder / "help.rtf", std::ios::binary) << "{\\rtf1 New page}";
    // In exclusive mode too, and with the folders written the Windows way.
    errors().m_settings.exclusive_mode = true;
    std::string windows_name = m_folder.string() + "\\help.rtf";
    EXPECT_EQ(call("load_info('" + windows_name + "')"), 1);
    EXPECT_EQ(information.rich_text, "{\\rtf1 New page}");
    errors().m_settings.exclusive_mode = false;
    call("show_info()");
    EXPECT_EQ(shown(), "New page\n");
}

TEST_F(InformationFunctions, ShowTextShowsAFilesPageAndNothingForAMissingFile)
{
    InputState& input = loop().input();
    std::ofstream(m_folder / "page.txt", std::ios::binary) << "{\\rtf1\\b Bold\\b0  words}";
    dialogs.push_answer("");
    input.mouse_down(1);
    call("show_text('" + (m_folder / "page.txt").string() + "', 0, c_white, 100)");
    EXPECT_EQ(shown(), "Bold words\n");
    EXPECT_EQ(dialogs.pending_answers(), 0u);
    EXPECT_EQ(input.buttons[1].state, 0);
    // A missing file shows nothing, takes no answer, and still clears the input.
    dialogs.push_answer("");
    input.mouse_down(1);
    call("show_text('" + (m_folder / "missing.txt").string() + "', 1, 0, 0)");
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(dialogs.pending_answers(), 1u);
    EXPECT_EQ(input.buttons[1].state, 0);
}

}  // namespace
