// The built-in function table: order, counts, shared handlers, and functions not built yet.
#include "functions/table.h"

#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace quillon;

namespace {

const FunctionRegistry& table()
{
    static FunctionRegistry s_table;
    if (s_table.size() == 0)
        register_builtin_functions(s_table);
    return s_table;
}

TEST(FunctionTable, PositionsAndCounts)
{
    ASSERT_EQ(table().size(), 507u);
    struct Case {
        const char* name;     // a built-in
        std::int32_t index;   // its position
        std::int32_t count;   // its argument count
    };
    const Case cases[] = {
        {"action_move", 0, 2},         {"action_set_caption", 82, 6}, {"is_real", 83, 1},
        {"point_direction", 135, 4},   {"set_cursor", 136, 1},        {"tile_delete_at", 205, 3},
        {"place_free", 206, 2},        {"sleep", 280, 1},             {"file_open_read", 281, 1},
        {"parameter_string", 316, 1},  {"show_error", 317, 2},        {"keyboard_wait", 379, 0},
        {"mplay_init_ipx", 380, 0},    {"mplay_ipaddress", 408, 0},   {"event_perform", 409, 2},
        {"external_define", 412, -1},  {"external_call8", 431, 9},    {"execute_string", 432, 1},
        {"clipboard_get_text", 438, 0}, {"discard_all", 439, 0},      {"room_get_name", 506, 1},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(table().find(c.name), c.index) << c.name;
        EXPECT_EQ(table().argument_count(c.index), c.count) << c.name;
    }
    EXPECT_EQ(table().argument_count(507), FunctionRegistry::NO_FUNCTION);
}

TEST(FunctionTable, NamesAreUniqueAndPairsShareAHandler)
{
    std::set<std::string> names;
    for (std::size_t i = 0; i < table().size(); ++i)
        EXPECT_TRUE(names.insert(table().at(static_cast<std::int32_t>(i)).name).second) << table().at(i).name;
    const char* pairs[][2] = {
        {"action_move_random", "move_random"}, {"action_message", "show_message"},
        {"action_if_question", "show_question"}, {"action_inherited", "event_inherited"},
        {"move_bounce", "move_bounce_solid"}, {"sprite_name", "sprite_get_name"},
        {"background_name", "background_get_name"}, {"sound_name", "sound_get_name"},
        {"script_name", "script_get_name"}, {"path_name", "path_get_name"},
        {"datafile_name", "datafile_get_name"}, {"object_name", "object_get_name"}, {"room_name", "room_get_name"},
    };
    for (auto& [first, second] : pairs)
        EXPECT_EQ(table().at(*table().find(first)).handler, table().at(*table().find(second)).handler) << second;
}

void given_handler(FunctionCall& call) { call.result.set_real(42); }

TEST(FunctionTable, HandlersGivenByNameKeepPositionsAndShare)
{
    const FunctionEntry given[] = {{"action_inherited", 0, given_handler}, {"no_such_function", 0, given_handler}};
    FunctionRegistry registry;
    register_builtin_functions(registry, {given});
    ASSERT_EQ(registry.size(), 507u);
    EXPECT_EQ(registry.at(*registry.find("action_inherited")).handler, given_handler);
    EXPECT_EQ(registry.at(*registry.find("event_inherited")).handler, given_handler);
    EXPECT_EQ(registry.find("event_inherited"), table().find("event_inherited"));
    EXPECT_FALSE(registry.find("no_such_function"));
}

TEST(FunctionTable, ShowErrorIsFatalFromHalfOn)
{
    if (function_registry().size() == 0)
        register_builtin_functions(function_registry());
    std::vector<std::string> shown;
    errors().set_dialog([&](const std::string& text, bool fatal) {
        shown.push_back((fatal ? "fatal " : "") + text.substr(text.rfind('\n') + 1));
        return ErrorChoice::ignore;
    });
    ScriptInstance self;
    for (const char* text : {"show_error('careful', 0.49)", "show_error('stop', 0.5)", "show_error('ignored', 0)"}) {
        CCode code(text, false);
        ASSERT_TRUE(code.compile());
        Value result;
        execute(&self, &self, code, result);
    }
    EXPECT_EQ(shown, (std::vector<std::string> {"careful", "fatal stop"}));
    EXPECT_TRUE(errors().aborted());
    errors().reset();
    errors().set_dialog(nullptr);
}

TEST(FunctionTable, FunctionsNotBuiltYetCompileAndReportTheirName)
{
    if (function_registry().size() == 0)
        register_builtin_functions(function_registry());
    std::string shown;
    errors().reset();
    errors().set_dialog([&](const std::string& text, bool fatal) {
        shown = text;
        EXPECT_FALSE(fatal);
        return ErrorChoice::ignore;
    });
    CCode code("x = instance_create(1, 2, 3); y = 4", false);
    ASSERT_TRUE(code.compile());
    ScriptInstance self;
    Value result;
    EXPECT_TRUE(execute(&self, &self, code, result));
    EXPECT_NE(shown.find("This function is not available yet: instance_create"), std::string::npos) << shown;
    EXPECT_EQ(result.real, 4);
    errors().set_dialog(nullptr);
}

}  // namespace
