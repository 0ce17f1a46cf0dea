// The game information built-ins answered by script: show_info writes the page's text and takes one answer,
// clearing the input that closed it; load_info replaces the page from a file, keeps it for a missing one, and
// works in exclusive mode, where show_info shows nothing.
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

}  // namespace
