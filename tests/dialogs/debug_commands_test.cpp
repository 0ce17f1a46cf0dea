// Scripts of debugger commands: what each line asks for, the order they come in, and the lines refused.
#include "dialogs/debug_commands.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::DebugAction;

TEST(DebugCommands, LinesBecomeRequestsInStepOrder)
{
    std::string error;
    auto commands = DebugCommands::parse("# a comment\n"
                                         "5 watch change 2   x + 1 \r\n"
                                         "\n"
                                         "3 pause\n"
                                         "3 show locals obj ball\n"
                                         "3 execute a = 1; b = \"two\"\n"
                                         "7 hide 1\n"
                                         "3 watch delete 1\n",
        "cmds", error);
    ASSERT_TRUE(commands) << error;
    struct Expected {
        std::int64_t step;
        DebugAction action;
        int row;
        const char* text;
    };
    const Expected expected[] = {
        {3, DebugAction::pause, -1, ""},
        {3, DebugAction::show_locals, -1, "obj ball"},
        {3, DebugAction::execute_code, -1, "a = 1; b = \"two\""},
        {3, DebugAction::watch_delete, 0, ""},
        {5, DebugAction::watch_change, 1, "x + 1"},
        {7, DebugAction::hide_window, 0, ""},
    };
    EXPECT_EQ(commands->next_due(2), nullptr);
    for (const Expected& want : expected) {
        const DebugCommand* command = commands->next_due(want.step);
        ASSERT_NE(command, nullptr) << want.text;
        EXPECT_EQ(command->step, want.step);
        EXPECT_EQ(command->request.action, want.action);
        EXPECT_EQ(command->request.row, want.row);
        EXPECT_EQ(command->request.text, want.text);
    }
    EXPECT_TRUE(commands->used_up());
}

TEST(DebugCommands, BadLinesNameTheirPlace)
{
    const std::pair<const char*, const char*> cases[] = {
        {"pause", "cmds:1: a line starts with the step number, from 1"},
        {"0 pause", "cmds:1: a line starts with the step number, from 1"},
        {"\n2 jump", "cmds:2: unknown command 'jump'"},
        {"2 watch", "cmds:1: unknown command 'watch'"},
        {"2 pauses", "cmds:1: unknown command 'pauses'"},
        {"2 watch add", "cmds:1: 'watch add' needs a text"},
        {"2 watch delete x", "cmds:1: 'watch delete' needs a row or window number from 1"},
        {"2 watch delete 0", "cmds:1: 'watch delete' needs a row or window number from 1"},
        {"2 pause now", "cmds:1: 'pause' takes nothing more, not 'now'"},
        {"2 show", "cmds:1: unknown command 'show'"},
    };
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(DebugCommands::parse(text, "cmds", error)) << text;
        EXPECT_EQ(error, message);
    }
}
