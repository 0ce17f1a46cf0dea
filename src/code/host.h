// ScriptHost: the little the language needs from the game world, as an interface the world implements.
#pragma once

#include "code/value.h"
#include "code/variable_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// What code sees of an instance: its id, its destroyed mark and its own variables. The world's
// instance class derives from it.
class ScriptInstance {
public:
    virtual ~ScriptInstance() = default;

    // The built-in instance variable `id` (an id below INSTANCE_VARIABLE_COUNT, not an array) read as a real,
    // without the lookups of the variable table; false when this instance does not keep it, and the read then
    // goes through the variable's getter.
    virtual bool get_builtin(std::int32_t /*id*/, double& /*value*/) const { return false; }
    // Writes it from the real part of a value, with every effect of its setter; false, with nothing written,
    // for a variable this instance does not keep or that is read-only, which then goes through the table.
    virtual bool set_builtin(std::int32_t /*id*/, double /*value*/) { return false; }

    std::int32_t m_id = 0;          // instance id
    bool m_destroyed = false;       // marked as destroyed, not yet removed
    CVariableList m_variables;      // the instance's own variables
};

// Every method has a default for a game without a world: no instances, no resources.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // The room's instance array, marked entries included; the index is below the count.
    virtual int instance_count() { return 0; }
    virtual ScriptInstance* instance_at(int index);
    // The room's list of instances of an object and its descendants.
    virtual int object_instance_count(int object);
    virtual ScriptInstance* object_instance_at(int object, int index);
    // The first instance in the array with this id, marked or not; none when absent.
    virtual ScriptInstance* find_instance(std::int32_t id);

    // A resource's index by name: objects, sprites, sounds, backgrounds, paths, data files, time
    // lines, scripts and rooms, in that order.
    virtual std::optional<double> resource_index(std::string_view name);

    // Built-in variables whose state lives in the world (every one that code/ does not hold itself).
    virtual bool get_variable(ScriptInstance* self, int id, int index, Value& result);
    virtual bool set_variable(ScriptInstance* self, int id, int index, const Value& value);

    // Performs the other event with this number for every instance (no more lives, no more health).
    virtual void perform_other_event_for_all(int number);

    // Names for error places.
    virtual std::string object_name(int object);
    virtual std::string timeline_name(int timeline);
    virtual std::string event_name(int type, int number);

    // Whether the game loop runs, and a request to end the game after a fatal error.
    virtual bool game_running() { return false; }
    virtual void end_game() {}

    // Text for the debug window's message list.
    virtual void debug_message(std::string_view text);
};

// The host in use; a default one until the runner installs the world's.
ScriptHost& host();
void set_host(ScriptHost* host);

}  // namespace quillon
