// The script list: the script block of the game file, compiling every script, and finding scripts.
#include "language_fixture.h"

#include "support/stream.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Scripts : public LanguageTest {
protected:
    // A script block: version, slot count, then per slot present flag, name, record version, text.
    static CStream block(std::int32_t version, std::int32_t record_version)
    {
        CStream stream;
        stream.WriteInt(version);
        stream.WriteInt(3);
        stream.WriteBool(true);
        stream.WriteString("first");
        stream.WriteInt(record_version);
        stream.WriteString("return 1");
        stream.WriteBool(false);
        stream.WriteBool(true);
        stream.WriteString("third");
        stream.WriteInt(record_version);
        stream.WriteString("return argument0 + 2");
        stream.set_position(0);
        return stream;
    }
};

TEST_F(Scripts, LoadKeepsIndicesOfEmptySlots)
{
    CStream stream = block(400, 400);
    ASSERT_TRUE(scripts().load(stream));
    ASSERT_TRUE(scripts().compile_all());
    EXPECT_EQ(scripts().size(), 3u);
    EXPECT_EQ(scripts().find("third"), 2);
    EXPECT_FALSE(scripts().exists(1));
    EXPECT_EQ(scripts().name_of(1), "<undefined>");
    EXPECT_EQ(scripts().name_of(7), "<undefined>");
    EXPECT_EQ(function_registry().find("third"), 100002);
    EXPECT_EQ(run("show_debug_message(string(third(first())))"), "3\n");
}

TEST_F(Scripts, WrongVersionsFailTheLoad)
{
    CStream wrong_block = block(399, 400);
    EXPECT_FALSE(scripts().load(wrong_block));
    CStream wrong_record = block(400, 401);
    EXPECT_FALSE(scripts().load(wrong_record));
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
