// The form host headless: each form writes its transcript and takes the next answer, a note on an answer that
// names nothing goes to the log, and the observer hears of every form, numbered, before it is answered.
#include "dialogs/form_host.h"
#include "dialogs/message_form.h"
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
