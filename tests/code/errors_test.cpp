// Error reporting: the two formatters, the dialog choices, the log file and fatal errors.
#include "language_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

class ErrorReporting : public LanguageTest {
protected:
    void SetUp() override
    {
        LanguageTest::SetUp();
        errors().set_dialog([this](const std::string& text, bool fatal) {
            m_shown.push_back((fatal ? "fatal: " : "") + text);
            return m_choice;
        });
    }

    std::vector<std::string> m_shown;            // dialogs shown
    ErrorChoice m_choice = ErrorChoice::ignore;  // what the player chooses
};

TEST_F(ErrorReporting, CodeErrorsNameLineAndColumn)
{
    struct Case {
        const char* text;      // code
        bool expression;       // compiled as an expression
        std::int32_t position; // where the error is
        const char* expected;  // the formatted text
    };
    const Case cases[] = {
        {"x = 1", false, 0, "Error in code at line 1:\r   x = 1\r\rat position 1: M"},
        {"a\r\nb\r\nc = 1", false, 7, "Error in code at line 3:\r   \nc = 1\r\rat position 2: M"},
        {"a\r\nb", false, 99, "Error in code at line 2:\r   \nb\r\rat position 2: M"},
        {"1 + ", true, 3, "Error in expression:1 + \r position 3: M"},
    };
    for (const Case& c : cases) {
        errors().clear_code_error();
        errors().code_error(c.text, c.expression, c.position, "M");
        EXPECT_EQ(errors().code_error_text(), c.expected) << c.text;
    }
    errors().code_error("x", false, 1, "second");
    EXPECT_EQ(errors().code_error_text(), "Error in expression:1 + \r position 3: M") << "only the first is kept";
}

TEST_F(ErrorReporting, ContextNamesActionEventAndObjectOrTimeLine)
{
    errors().m_context = ErrorContext {3, 2, 5, 1};
    EXPECT_EQ(errors().context_text("T", false),
              "ERROR in\r\naction number 2\r\nof Alarm Event for alarm 5\r\nfor object obj3:\r\n\r\nT");
    EXPECT_EQ(errors().context_text("T", true).substr(0, 14), "FATAL ERROR in");
    errors().m_context = ErrorContext {0, ErrorContext::TIME_LINE_EVENT, 40, 0};
    EXPECT_EQ(errors().context_text("T", false),
              "ERROR in\r\naction number 1\r\nat time step 40\r\nof time line <undefined>:\r\n\r\nT");
}

TEST_F(ErrorReporting, IgnoreKeepsTheGameAndRecordsTheError)
{
    errors().report_in_context("bad", false);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_FALSE(m_host.m_ended);
    EXPECT_TRUE(errors().m_error_occurred);
    EXPECT_EQ(errors().m_error_last, errors().context_text("bad", false));
}

TEST_F(ErrorReporting, AbortMakesTheErrorFatalAndSilencesTheRest)
{
    m_choice = ErrorChoice::abort;
    errors().report("first", false);
    EXPECT_TRUE(m_host.m_ended);
    errors().report("second", false);
    EXPECT_EQ(m_shown, std::vector<std::string> {"first"});
    EXPECT_EQ(errors().m_error_last, "first");
}

TEST_F(ErrorReporting, AbortOnErrorsOffersOnlyAbort)
{
    errors().m_settings.abort_on_errors = true;
    errors().report("bad", false);
    EXPECT_EQ(m_shown, std::vector<std::string> {"fatal: bad"});
    EXPECT_TRUE(m_host.m_ended);
}

TEST_F(ErrorReporting, ExclusiveModeHidesDialogsWhileTheGameRuns)
{
    struct RunningHost : FakeHost {
        bool game_running() override { return true; }
    } running;
    set_host(&running);
    errors().m_settings.exclusive_mode = true;
    errors().report("hidden", false);
    EXPECT_TRUE(m_shown.empty());
    errors().report("fatal", true);
    EXPECT_TRUE(m_shown.empty());
    EXPECT_TRUE(running.m_ended);
}

TEST_F(ErrorReporting, LogIsCreatedAfreshAtTheFirstErrorOfARun)
{
    auto log = std::filesystem::temp_directory_path() / "quillon_errors_test.log";
    {
        std::ofstream old(log);
        old << "from an earlier run";
    }
    errors().set_log_path(log);
    errors().m_settings.log_errors = true;
    errors().m_settings.display_errors = false;
    for (const char* text : {"one", "two", "three"})
        errors().report(text, false);
    auto contents = [&] {
        std::ifstream in(log, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(contents(), "one\r\n\r\n\r\ntwo\r\n\r\n\r\nthree\r\n\r\n\r\n");
    EXPECT_TRUE(m_shown.empty());
    errors().reset();
    errors().report("new run", false);
    EXPECT_EQ(contents(), "new run\r\n\r\n\r\n");
    std::filesystem::remove(log);
    errors().set_log_path("game_errors.log");
}

TEST_F(ErrorReporting, DeepRecursionEndsWithAnOrderlyError)
{
    scripts().add("down", std::string("return down(argument0 + 1)"));
    ASSERT_TRUE(scripts().compile_all());
    std::string result = run("x = down(0)");
    EXPECT_NE(result.find("Recursion too deep"), std::string::npos);
    EXPECT_EQ(result.rfind("error: In script down:\rIn script down:", 0), 0u);
}

}  // namespace
