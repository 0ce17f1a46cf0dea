// Small games for the world's built-ins: the loop fixture with the world's handlers in the function table, the
// game loop and clock as the built-ins' services, and the relative flag set by a function action as the game
// sets it.
#pragma once

#include "../world/loop_fixture.h"
#include "functions/resources.h"
#include "functions/table.h"
#include "functions/world_families.h"

#include <ranges>
#include <utility>
#include <vector>

namespace quillon::testing {

class PlayTest : public LoopTest {
protected:
    void SetUp() override
    {
        // The world's handlers replace those of the table for this test only, so that other tests of the
        // executable still see the families that are not built.
        if (function_registry().size() == 0)
            register_builtin_functions(function_registry());
        for (auto family : { action_functions(), action_drawing_functions(), interaction_functions(), tile_functions(),
                 resource_functions() })
            for (const FunctionEntry& entry : family)
                use_handler(entry.name, entry.handler);
        use_handler("move_random", *handler_named("action_move_random"));
        use_handler("move_bounce_solid", *handler_named("move_bounce"));
        use_handler("show_message", *handler_named("action_message"));
        use_handler("show_question", *handler_named("action_if_question"));
        LoopTest::SetUp();
        // Running this object's user event 0 (1) leaves the relative flag set (cleared), as any function
        // action with (without) the relative option does.
        m_flag_object = add_object("flag");
        CAction on = call_action("action_if", { "0" });
        on.may_be_relative = on.relative = true;
        CAction off = call_action("action_if", { "0" });
        event(m_flag_object, EVENT_OTHER, OTHER_USER_0).actions = { on };
        event(m_flag_object, EVENT_OTHER, OTHER_USER_0 + 1).actions = { off };
    }
    void TearDown() override
    {
        play_services() = PlayServices();
        LoopTest::TearDown();
        for (auto [index, handler] : std::ranges::reverse_view(m_saved_handlers))
            function_registry().set_handler(index, handler);
    }

    // The loop over the world, made once and given to the built-ins with its clock; the game itself is started
    // by start().
    GameLoop& loop()
    {
        GameLoop& made = LoopTest::loop();
        play_services().loop = &made;
        play_services().clock = &clock;
        return made;
    }
    void set_relative(CInstance& self, bool relative)
    {
        world().perform_event(&self, &self, m_flag_object, EVENT_OTHER, OTHER_USER_0 + (relative ? 0 : 1));
    }
    // A solid object with a 32 by 32 sprite.
    int add_wall()
    {
        int wall = add_object("wall");
        objects.get(wall)->sprite = add_sprite(1);
        objects.get(wall)->solid = true;
        return wall;
    }

    // Gives a built-in another handler until the test ends.
    void use_handler(const char* name, FunctionHandler handler)
    {
        std::int32_t index = *function_registry().find(name);
        m_saved_handlers.emplace_back(index, function_registry().at(index).handler);
        function_registry().set_handler(index, handler);
    }

private:
    static const FunctionHandler* handler_named(const char* name)
    {
        for (auto family : { action_functions(), action_drawing_functions(), interaction_functions() })
            for (const FunctionEntry& entry : family)
                if (std::string_view(entry.name) == name)
                    return &entry.handler;
        return nullptr;
    }
    std::vector<std::pair<std::int32_t, FunctionHandler>> m_saved_handlers; // restored after the test
    int m_flag_object = -1; // sets and clears the relative flag
};

} // namespace quillon::testing
