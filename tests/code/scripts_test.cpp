// The script list: slots by index, compiling every script, and finding scripts.
#include "language_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Scripts : public LanguageTest {};

TEST_F(Scripts, EmptySlotsKeepTheIndicesOfLaterScripts)
{
    scripts().add("first", std::string("return 1"));
    scripts().add("", std::nullopt);
    scripts().add("third", std::string("return argument0 + 2"));
    ASSERT_TRUE(scripts().compile_all());
    EXPECT_EQ(scripts().size(), 3u);
    EXPECT_EQ(scripts().find("third"), 2);
    EXPECT_FALSE(scripts().exists(1));
    EXPECT_EQ(scripts().name_of(1), "<undefined>");
    EXPECT_EQ(scripts().name_of(7), "<undefined>");
    EXPECT_EQ(function_registry().find("third"), 100002);
    EXPECT_EQ(run("show_debug_message(string(third(first())))"), "3\n");
}

TEST_F(Scripts, FirstCompileFailureIsFatalAndStopsCompiling)
{
    scripts().add("good", std::string("a = 1"));
    scripts().add("bad", std::string("a = "));
    scripts().add("later", std::string("a = "));
    EXPECT_FALSE(scripts().compile_all());
    EXPECT_EQ(errors().m_error_last,
              "COMPILATION ERROR in Script: bad\rError in code at line 1:\r   a = \r\rat position 4: "
              "Unexpected symbol in expression.");
    EXPECT_TRUE(m_host.m_ended);
    EXPECT_EQ(scripts().script(2)->code(), nullptr);
}

TEST_F(Scripts, BuiltinNamesComeBeforeScripts)
{
    scripts().add("abs", std::string("return 'script'"));
    ASSERT_TRUE(scripts().compile_all());
    EXPECT_EQ(function_registry().find("abs"), 86);
    EXPECT_EQ(run("show_debug_message(string(abs(-2)))"), "2\n");
}

}  // namespace
