// Small games built in memory from the record classes, with a trace that actions and code write to.
#pragma once

#include "code/builtin_variables.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/script.h"
#include "functions/events.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillon::testing {

// What `trace` calls and reported errors wrote, in order.
inline std::string& trace_log()
{
    static std::string s_log;
    return s_log;
}

// trace(a, b, ...): appends each argument, strings as they are and reals as integers.
inline void trace(FunctionCall& call)
{
    for (int i = 0; i < call.count; ++i) {
        const Value& value = call.arguments[i];
        trace_log() += value.is_string() ? value.string.str() : std::to_string(round_to_int64(value.real));
    }
}

// yes(answer): a question whose answer is its argument.
inline void yes(FunctionCall& call) { call.result = call.arguments[0]; }

inline CAction code_action(std::string text) { return CAction::code_action(std::move(text)); }

// A function action calling a built-in with expression arguments.
inline CAction call_action(std::string function, std::vector<std::string> arguments)
{
    CAction action;
    action.execution_type = EXECUTE_FUNCTION;
    action.function_name = std::move(function);
    action.argument_count = static_cast<std::int32_t>(arguments.size());
    action.argument_kinds.assign(arguments.size(), 0);
    action.arguments = std::move(arguments);
    return action;
}

inline CAction trace_action(const std::string& text) { return call_action("trace", {"'" + text + "'"}); }

inline CAction question(const std::string& answer, bool negate = false)
{
    CAction action = call_action("yes", {answer});
    action.is_question = true;
    action.negate = negate;
    return action;
}

inline CAction flow_action(std::int32_t kind, std::vector<std::string> arguments = {})
{
    CAction action;
    action.kind = kind;
    action.argument_count = static_cast<std::int32_t>(arguments.size());
    action.argument_kinds.assign(arguments.size(), 0);
    action.arguments = std::move(arguments);
    return action;
}

class WorldTest : public ::testing::Test {
protected:
    // Instances made while the game runs count on from here; placed ones use ids below.
    static constexpr std::int32_t LAST_INSTANCE_ID = 100100;

    void SetUp() override
    {
        if (!function_registry().find("trace")) {
            function_registry().register_function("trace", trace, FunctionRegistry::ANY_COUNT);
            function_registry().register_function("yes", yes, 1);
            for (const FunctionEntry& entry : event_functions())
                function_registry().register_function(entry.name, entry.handler, entry.argument_count);
            function_registry().register_function("event_inherited", event_functions().back().handler, 0);
        }
        trace_log().clear();
        errors().reset();
        errors().m_settings = LanguageSettings();
        errors().m_context = ErrorContext();
        errors().set_dialog([](const std::string& text, bool fatal) {
            trace_log() += (fatal ? "[fatal] " : "[error] ") + text + "\n";
            return ErrorChoice::ignore;
        });
        global_variables().clear();
        reset_script_arguments();
        game_counters() = GameCounters();
    }
    void TearDown() override
    {
        m_world.reset();
        errors().set_dialog(nullptr);
    }

    int add_object(const std::string& name, std::int32_t parent = -1)
    {
        auto object = std::make_unique<CObject>();
        object->parent = parent;
        return objects.add(name, std::move(object));
    }
    CEvent& event(int object, int kind, int number = 0) { return objects.get(object)->event(kind, number); }
    // A room placing instances (object, id) at (id mod 100, 0), with creation code when given.
    int add_room(std::vector<PlacedInstance> placed = {}, std::string code = {}, bool persistent = false)
    {
        auto room = std::make_unique<CRoom>();
        room->instances = std::move(placed);
        room->creation_code = std::move(code);
        room->persistent = persistent;
        return rooms.add("room" + std::to_string(rooms.count()), std::move(room));
    }
    int add_sprite(int frames, BoundingBox box = {0, 0, 31, 31}, int origin_x = 0, int origin_y = 0)
    {
        auto sprite = std::make_unique<CSprite>();
        sprite->frames.resize(frames);
        sprite->bounding_box = box;
        sprite->origin_x = origin_x;
        sprite->origin_y = origin_y;
        sprite->width = box.right + 1;
        sprite->height = box.bottom + 1;
        return sprites.add("sprite" + std::to_string(sprites.count()), std::move(sprite));
    }

    // Compiles everything (unless told not to) and installs the world as host; the game is not started.
    World& world(bool compile = true)
    {
        if (!m_world) {
            if (room_order.empty())
                for (int i = 0; i < rooms.count(); ++i)
                    room_order.push_back(i);
            m_world = std::make_unique<World>(
                WorldResources {objects, time_lines, rooms, paths, sprites, backgrounds, sounds, data_files,
                                library_code, room_order, LAST_INSTANCE_ID},
                WorldHooks {[](std::string_view text) { trace_log() += "[notice] " + std::string(text) + "\n"; },
                            {}, [] { trace_log() += "[shown]"; }, {}, {}});
            m_world->install();
            if (compile) {
                EXPECT_TRUE(m_world->compile_time_lines());
                EXPECT_TRUE(m_world->compile_objects());
            }
        }
        return *m_world;
    }
    // Starts the game and gives the trace it wrote, cleared afterwards.
    std::string start()
    {
        world().start_game();
        return take_trace();
    }
    std::string take_trace()
    {
        std::string text = trace_log();
        trace_log().clear();
        return text;
    }
    CInstance& instance(int index) { return *world().current_room()->instance(index); }
    // Runs code for the instance and gives its result.
    Value run(CInstance& self, const std::string& text)
    {
        CCode code(text, false);
        EXPECT_TRUE(code.compile()) << errors().code_error_text();
        Value result;
        execute_reporting(&self, &self, code, result);
        return result;
    }

    ResourceList<CObject> objects;
    ResourceList<CTimeLine> time_lines;
    ResourceList<CRoom> rooms;
    ResourceList<CPath> paths;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    ResourceList<CSound> sounds;
    ResourceList<CDataFile> data_files;
    std::vector<std::string> library_code;
    std::vector<std::int32_t> room_order;
    std::unique_ptr<World> m_world;
};

}  // namespace quillon::testing
