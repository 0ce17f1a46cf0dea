// Limits that keep hostile or careless code from exhausting memory, the stack or time.
#include "code/messages.h"
#include "language_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Robustness : public LanguageTest {
protected:
    void TearDown() override
    {
        set_loop_limit(-1);
        LanguageTest::TearDown();
    }
};

TEST_F(Robustness, ArraysStopGrowingAtTheirLimit)
{
    EXPECT_EQ(run("a[31999, 31999] = 1; show_debug_message(string(a[31999, 31999]))"), "1\n");
    std::string result = run("var i; for (i = 0; i < 32000; i += 1) b[i, 31999] = 1");
    EXPECT_NE(result.find(message::ARRAY_TOO_LARGE), std::string::npos) << result;
    result = run("for (i = 0; i < 32000; i += 1) global.g[i, 31999] = 1");
    EXPECT_NE(result.find(message::CANNOT_ASSIGN), std::string::npos) << result;
}

TEST_F(Robustness, StringsStopGrowingAtTheirLimit)
{
    std::string result = run("s = 'ab'; repeat (40) s += s");
    EXPECT_NE(result.find(message::STRING_TOO_LONG), std::string::npos);
    result = run("s = 1000000000 * 'abc'");
    EXPECT_NE(result.find(message::STRING_TOO_LONG), std::string::npos);
}

TEST_F(Robustness, LoopLimitEndsEndlessLoops)
{
    set_loop_limit(1000);
    for (const char* loop : {"while (1) {}", "do {} until 0", "for (i = 0; 1; i += 1) {}", "repeat (1000000000000) {}"}) {
        set_loop_limit(1000);
        EXPECT_NE(run(loop).find(message::LOOP_LIMIT), std::string::npos) << loop;
    }
}

TEST_F(Robustness, RecursionThroughExecutedCodeStops)
{
    std::string result = run("s = 'execute_string(s)'; execute_string(s); show_debug_message('survived')");
    EXPECT_NE(result.find(message::RECURSION_TOO_DEEP), std::string::npos) << result;
    EXPECT_NE(result.find("survived"), std::string::npos) << result;
}

}  // namespace
