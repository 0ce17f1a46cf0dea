// The splash and menu built-ins answered by script: menus give the number chosen or their default, pictures
// show and close, missing files show nothing, exclusive mode shows nothing, and the input is cleared afterwards.
#include "dialogs/form_host.h"
#include "functions/splash_functions.h"
#include "platform/headless/headless_dialog_host.h"
#include "play_fixture.h"
#include "support/picture_file.h"
#include "../platform/video_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

class SplashFunctions : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        for (const FunctionEntry& entry : splash_functions())
            use_handler(entry.name, entry.handler);
        add_room({ { 0, 0, add_object("player"), 100001, {}, false } });
        start();
        loop();
        play_services().forms = &forms;
        m_picture = std::filesystem::path(::testing::TempDir()) / "splash_functions.png";
        std::vector<std::uint8_t> png = encode_png(Bitmap24(4, 3));
        std::ofstream(m_picture, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    void TearDown() override
    {
        errors().m_settings.exclusive_mode = false;
        std::filesystem::remove(m_picture);
        PlayTest::TearDown();
    }
    // Runs the code with these answers queued; its result.
    double answer(const std::string& code, std::initializer_list<const char*> answers = {})
    {
        for (const char* line : answers)
            dialogs.push_answer(line);
        return run(instance(0), "return " + code).real;
    }
    std::string shown()
    {
        std::string text = log.str();
        log.str("");
        return text;
    }

    std::ostringstream log;
    platform::HeadlessDialogHost dialogs { log };
    FormHost forms { dialogs, {} };
    std::filesystem::path m_picture;
};

}  // namespace

TEST_F(SplashFunctions, MenusGiveTheChosenItemsNumberOrTheirDefault)
{
    struct Case {
        const char* code;
        std::initializer_list<const char*> answers;
        double result;
    };
    const Case cases[] = {
        { "show_menu('New|-|Open|Quit', 4)", { "Open" }, 1 },
        { "show_menu('New|-|Open|Quit', 4)", { "2" }, 2 },
        { "show_menu('New|-|Open|Quit', 4)", { "<cancel>" }, 4 },
        { "show_menu('New|-|Open|Quit', 4)", { "" }, 4 },
        { "show_menu('New|-|Open|Quit', -1)", {}, -1 },
        { "show_menu_pos(10, 20, 'a|b', 0)", { "B" }, 1 },
        { "show_menu_pos(10, 20, '-|-', 3)", { "0" }, 3 },
    };
    for (const Case& test : cases) {
        EXPECT_EQ(answer(test.code, test.answers), test.result) << test.code;
        EXPECT_EQ(dialogs.pending_answers(), 0u) << test.code;
    }
    EXPECT_NE(shown().find("Menu:\n0: New\n-\n1: Open\n2: Quit\n"), std::string::npos);
}

TEST_F(SplashFunctions, APictureShowsUntilAnAnswerAndAMissingFileShowsNothing)
{
    std::string file = m_picture.string();
    answer("show_image('" + file + "', 1, 0)", { "" });
    EXPECT_EQ(shown(), "show_image: " + file + "\n");
    EXPECT_EQ(dialogs.pending_answers(), 0u);
    answer("show_image('" + file + "_missing', 1, 0)", { "" });
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(dialogs.pending_answers(), 1u);
}

TEST_F(SplashFunctions, AVideoShowsUntilAnAnswerAndAMissingOrBrokenFileShowsNothing)
{
    std::string video = (std::filesystem::path(::testing::TempDir()) / "splash_functions.nut").string();
    ASSERT_TRUE(write_video_fixture(video, 2));
    answer("show_video('" + video + "', 0, 1)", { "" });
    EXPECT_EQ(shown(), "show_video: " + video + "\n");
    answer("show_video('" + video + "_missing', 0, 1)", { "" });
    std::ofstream(video + ".txt") << "no video";
    answer("show_video('" + video + ".txt', 0, 1)", { "" });
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(dialogs.pending_answers(), 2u);
    std::filesystem::remove(video);
    std::filesystem::remove(video + ".txt");
}

TEST_F(SplashFunctions, ExclusiveModeShowsNothingOtherwiseTheInputIsClearedAfterwards)
{
    InputState& input = loop().input();
    std::string file = m_picture.string();
    const std::string codes[] = {
        "show_image('" + file + "', 0, 0)", "show_image('missing.png', 0, 0)", "show_menu('a|b', 7)",
        "show_menu_pos(0, 0, 'a|b', 7)", "show_video('missing.avi', 1, 1)",
    };
    for (bool exclusive : { true, false }) {
        errors().m_settings.exclusive_mode = exclusive;
        for (const std::string& code : codes) {
            input.mouse_down(1);
            double result = answer(code);
            if (exclusive) {
                EXPECT_EQ(shown(), "") << code;
                if (code.find("menu") != std::string::npos) {
                    EXPECT_EQ(result, 7) << code;
                }
            }
            shown();
            EXPECT_EQ(input.buttons[1].state != 0, exclusive) << code;
        }
    }
}
