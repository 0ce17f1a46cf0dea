// The form host headless: each form writes its transcript and takes the next answer, a note on an answer that
// names nothing goes to the log, and the observer hears of every form, numbered, before it is answered.
#include "dialogs/form_host.h"
#include "dialogs/message_form.h"
#include "dialogs/splash_form.h"
#include "platform/headless/headless_dialog_host.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quillon;

TEST(FormHost, HeadlessFormsAreAnsweredInOrderAndObservedAsTheyOpen)
{
    std::ostringstream log;
    platform::HeadlessDialogHost dialogs(log);
    dialogs.push_answer("no");
    dialogs.push_answer("perhaps");
    FormHost host(dialogs, nullptr);
    std::string observed;
    host.set_open_observer([&](int number, Form& form) {
        observed += std::to_string(number) + (form.finished() ? " answered;" : " open;");
    });
    MessageSettings settings;
    MessageForm first(settings, {}, "First", { "&Yes", "", "&No" });
    MessageForm second(settings, {}, "Second", { "&Yes", "", "&No" });
    MessageForm third(settings, {}, "Third", { "&Yes", "", "&No" });
    host.run(first);
    host.run(second);
    host.run(third);
    EXPECT_EQ(first.result(), 3);
    EXPECT_EQ(second.result(), 1);
    EXPECT_EQ(third.result(), 1);
    EXPECT_EQ(observed, "1 open;2 open;3 open;");
    EXPECT_EQ(log.str(), "First\nSecond\nanswers: \"perhaps\" names no button here; Enter is pressed\nThird\n");
}

namespace {

// A window that records what the host asks of it and closes its form with Escape (the key and the character
// it types) at the first wait.
class RecordingWindow final : public platform::FormWindow {
public:
    explicit RecordingWindow(std::string& record) : m_record(record) {}
    bool open(const platform::WindowPlacement&, std::string_view) override { m_record += "open;"; return true; }
    bool present(const platform::FrameView&) override { return true; }
    bool wait(std::vector<platform::Event>& events, int) override
    {
        platform::Event escape;
        escape.kind = platform::EventKind::key_down;
        escape.virtual_key = 27;
        events.push_back(escape);
        escape.kind = platform::EventKind::text;
        escape.text = "\x1b";
        events.push_back(escape);
        return true;
    }
    void show_pointer(bool shown) override { m_record += shown ? "pointer shown;" : "pointer hidden;"; }
    platform::ScreenSize screen_size() const override { return {640, 480}; }
    void close() override { m_record += "close;"; }

private:
    std::string& m_record;
};

struct BlankSplash final : SplashForm {
    using SplashForm::SplashForm;
    std::string transcript() const override { return "splash"; }
};

}  // namespace

// Over a splash window the pointer is as the game shows it; over a form that asks something it always shows.
TEST(FormHost, SplashWindowsFollowTheGamesPointerAndQuestionsShowIt)
{
    std::ostringstream log;
    platform::HeadlessDialogHost dialogs(log);
    std::string record;
    FormHost host(dialogs, [&] { return std::make_unique<RecordingWindow>(record); });
    bool game_shows_pointer = false;
    host.set_game_pointer([&] { return game_shows_pointer; });
    BlankSplash splash({false, 20, 10}, make_color(0, 0, 0), 0);
    host.run(splash);
    EXPECT_EQ(record, "open;pointer hidden;close;");
    record.clear();
    game_shows_pointer = true;
    BlankSplash again({false, 20, 10}, make_color(0, 0, 0), 0);
    host.run(again);
    EXPECT_EQ(record, "open;pointer shown;close;");
    record.clear();
    game_shows_pointer = false;
    MessageSettings settings;
    MessageForm question(settings, {}, "Sure?", { "&Yes", "", "&No" });
    host.run(question);
    EXPECT_EQ(record, "open;pointer shown;close;");
}
