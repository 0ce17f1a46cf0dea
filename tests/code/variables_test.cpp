// Variable stores, the table of names, the built-in variables and the constants.
#include "code/constants.h"
#include "code/variable_names.h"
#include "language_fixture.h"

#include "support/stream.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

std::string shown(const Value* value)
{
    if (!value)
        return "missing";
    return value->is_string() ? "'" + value->string.str() + "'" : std::to_string(static_cast<int>(value->real));
}

TEST(VariableList, ArrayLayoutSharesIndexZeroAndGrowsRowsOnlyAsWritten)
{
    CVariableList store;
    store.set(100000, 0, 5.0);
    EXPECT_EQ(shown(store.find(100000, 0)), "5");
    store.set(100000, 2 * 32000 + 5, 1.0);
    struct Case {
        std::int32_t index;    // element
        const char* expected;  // its value
    };
    const Case cases[] = {
        {2 * 32000 + 3, "0"},   // grown with the row
        {2 * 32000 + 5, "1"},
        {2 * 32000 + 6, "missing"},
        {1 * 32000 + 0, "missing"},  // row 1 exists but is empty
        {3 * 32000 + 0, "missing"},
        {7, "missing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(store.find(100000, c.index)), c.expected) << c.index;
    EXPECT_EQ(shown(store.find(100001, 0)), "missing");
}

TEST(VariableList, SavedAndLoadedStoresKeepEntriesInOrder)
{
    CVariableList store;
    for (int i = 0; i < 20; ++i)
        store.set(100000 + (i * 7) % 20, 0, static_cast<double>(i));
    store.set(100003, 31999, "last column");
    store.set(100004, 32000 * 3 + 2, "row three");
    CStream stream;
    store.save(stream);
    stream.set_position(0);
    CVariableList loaded;
    loaded.set(100050, 0, 1.0);
    loaded.load(stream);
    ASSERT_EQ(loaded.size(), store.size());
    for (std::size_t i = 0; i < store.size(); ++i) {
        const auto& a = store.entries()[i];
        const auto& b = loaded.entries()[i];
        EXPECT_EQ(a.key, b.key);
        EXPECT_EQ(shown(&a.value), shown(&b.value));
        ASSERT_EQ(a.rows.size(), b.rows.size());
        for (std::size_t r = 0; r < a.rows.size(); ++r)
            EXPECT_EQ(a.rows[r].size(), b.rows[r].size());
    }
    EXPECT_EQ(shown(loaded.find(100003, 31999)), "'last column'");
    EXPECT_EQ(shown(loaded.find(100004, 32000 * 3 + 2)), "'row three'");
    EXPECT_EQ(shown(loaded.find(100050, 0)), "missing");
    loaded.set(100050, 0, 2.0);
    EXPECT_EQ(shown(loaded.find(100050, 0)), "2");
}

TEST(VariableList, ValuesKeepTheirUnusedSlotInTheStoredForm)
{
    Value value("text");
    value.real = 2.5;
    CStream stream;
    value.save(stream);
    stream.set_position(0);
    EXPECT_EQ(stream.ReadInt(), 1);
    EXPECT_EQ(stream.ReadReal(), 2.5);
    EXPECT_EQ(stream.ReadString(), "text");
}

TEST(VariableList, WrongVersionLeavesTheStoreEmpty)
{
    CStream stream;
    stream.WriteInt(439);
    stream.WriteInt(1);
    stream.set_position(0);
    CVariableList store;
    store.set(100000, 0, 1.0);
    store.load(stream);
    EXPECT_EQ(store.size(), 0u);
}

TEST(BuiltinVariables, TableHoldsTheFixedOrder)
{
    const BuiltinVariables& table = builtin_variables();
    ASSERT_EQ(table.size(), 158u);
    struct Case {
        const char* name;    // a built-in variable
        std::int32_t id;     // its position
        bool settable;       // whether code may assign it
    };
    const Case cases[] = {
        {"x", VARIABLE_X, true},
        {"id", VARIABLE_ID, false},
        {"alarm", VARIABLE_ALARM, true},
        {"timeline_speed", 42, true},
        {"argument_relative", VARIABLE_ARGUMENT_RELATIVE, false},
        {"argument", VARIABLE_ARGUMENT, true},
        {"argument0", VARIABLE_ARGUMENT0, true},
        {"argument15", VARIABLE_ARGUMENT0 + 15, true},
        {"score", VARIABLE_SCORE, true},
        {"lives", VARIABLE_LIVES, true},
        {"health", VARIABLE_HEALTH, true},
        {"working_directory", 71, false},
        {"temp_directory", 72, false},
        {"fps", 128, false},
        {"current_time", 129, false},
        {"secure_mode", 155, false},
        {"error_occurred", 156, true},
        {"error_last", VARIABLE_ERROR_LAST, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table.find(c.name), c.id) << c.name;
        EXPECT_EQ(table.at(c.id).settable, c.settable) << c.name;
    }
}

class DirectoryVariables : public LanguageTest {};

// Both directories are read-only texts: the current one, and the temporary one once the runner has made it.
TEST_F(DirectoryVariables, ReadAsTextsAndRefuseAssignment)
{
    set_temp_directory("/tmp/qn_ttt_42");
    EXPECT_EQ(run("show_debug_message(temp_directory + '|' + string(is_string(working_directory)))"),
              "/tmp/qn_ttt_42|1\n");
    EXPECT_NE(run("temp_directory = 'elsewhere'").find("Cannot assign to the variable"), std::string::npos);
    set_temp_directory("");
}

TEST(VariableNames, BuiltinsFirstThenNamesInOrderOfAppearance)
{
    VariableNames& names = variable_names();
    EXPECT_EQ(names.find_or_add("score"), VARIABLE_SCORE);
    std::int32_t id = names.find_or_add("a_name_for_the_names_test");
    EXPECT_GE(id, 100000);
    EXPECT_EQ(names.find_or_add("a_name_for_the_names_test"), id);
    EXPECT_EQ(names.find_or_add("A_NAME_FOR_THE_NAMES_TEST"), id + 1);
    EXPECT_EQ(names.name_of(id), "a_name_for_the_names_test");
    EXPECT_EQ(names.name_of(VARIABLE_X), "x");
    EXPECT_EQ(names.name_of(499), "<unknown built-in variable>");
    EXPECT_EQ(names.name_of(100000 + 5000000), "<unknown variable>");
}

class ConstantsTest : public LanguageTest {};

TEST_F(ConstantsTest, TableAndResourceNames)
{
    EXPECT_EQ(constants().size(), 205u);
    struct Case {
        const char* name;  // a constant
        double value;      // its value
    };
    const Case cases[] = {
        {"self", -1}, {"local", -7}, {"pi", 3.141592653589793}, {"c_gray", 8421504}, {"c_silver", 12632256},
        {"vk_f12", 123}, {"vk_numpad9", 105}, {"ev_joystick1_button8", 28}, {"ev_joystick2_button1", 36},
        {"ev_user7", 17}, {"cr_arrrow", -2}, {"cr_size_nesw", -6}, {"cr_size_all", -22}, {"fa_archive", 32},
    };
    for (const Case& c : cases) {
        std::optional<Value> found = constants().find(c.name);
        ASSERT_TRUE(found) << c.name;
        EXPECT_EQ(found->real, c.value) << c.name;
    }
    EXPECT_FALSE(constants().find("cr_arrow"));
    EXPECT_FALSE(constants().find("C_RED"));
    m_host.m_resources["c_red"] = 4;
    EXPECT_EQ(constants().find("c_red")->real, 4);
}

}  // namespace
