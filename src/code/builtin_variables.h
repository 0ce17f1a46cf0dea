// The table of built-in variables: 158 names with a getter and a setter each, and the game counters.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class ScriptInstance;

// Ids of the built-in variables that code/ itself needs. ORDER: positions in the table of the .cpp.
enum BuiltinVariableId : std::int32_t {
    VARIABLE_X = 0,
    VARIABLE_ID = 14,
    VARIABLE_ALARM = 15,
    VARIABLE_ARGUMENT_RELATIVE = 43,
    VARIABLE_ARGUMENT = 44,
    VARIABLE_ARGUMENT0 = 45,
    VARIABLE_SCORE = 67,
    VARIABLE_LIVES = 68,
    VARIABLE_HEALTH = 69,
    VARIABLE_ERROR_LAST = 157,
};

using VariableGetter = bool (*)(ScriptInstance* self, std::int32_t id, std::int32_t index, Value& result);
using VariableSetter = bool (*)(ScriptInstance* self, std::int32_t id, std::int32_t index, const Value& value);

struct BuiltinVariable {
    std::string name;       // at most 64 characters
    VariableGetter getter;  // always succeeds
    VariableSetter setter;  // may refuse a value
    bool settable;          // false for read-only variables
    bool kept_by_instance = false;  // an instance variable that instances read and write themselves
};

// The instance variables come first in the table: ids 0 to 42.
inline constexpr std::int32_t INSTANCE_VARIABLE_COUNT = VARIABLE_ARGUMENT_RELATIVE;

// Every id below 10000 is a built-in variable; the variable ids of the instance's own store start at 100000.
inline constexpr std::int32_t FIRST_STORED_VARIABLE = 10000;

class BuiltinVariables {
public:
    static constexpr std::size_t CAPACITY = 500;

    BuiltinVariables();  // registers the 158 variables in their fixed order

    // Appends an entry; ignored once CAPACITY entries exist.
    void register_variable(std::string_view name, VariableGetter getter, VariableSetter setter, bool settable);
    // A family above code/ serves the named variable from its own state from now on (the host no longer sees
    // it); the id and whether it is settable stay.
    void serve(std::string_view name, VariableGetter getter, VariableSetter setter);
    // The index of the first entry with this exact name, or -1.
    std::int32_t find(std::string_view name) const;
    std::size_t size() const { return m_entries.size(); }
    const BuiltinVariable& at(std::int32_t id) const { return m_entries[id]; }
    // Whether the instance keeps this variable itself (ScriptInstance::get_builtin and set_builtin), as every
    // instance variable does unless a family serves it.
    bool kept_by_instance(std::int32_t id) const
    {
        return id >= 0 && id < INSTANCE_VARIABLE_COUNT && static_cast<std::size_t>(id) < m_entries.size() &&
               m_entries[id].kept_by_instance;
    }

    // Ids from 10000 up go to the instance's own store; lower ids to the entry's getter or setter.
    bool read(ScriptInstance* self, std::int32_t id, std::int32_t index, Value& result) const;
    bool write(ScriptInstance* self, std::int32_t id, std::int32_t index, const Value& value) const;

private:
    std::vector<BuiltinVariable> m_entries;  // in registration order; the index is the id
};

BuiltinVariables& builtin_variables();

// The game values that belong to no instance. A new game sets score 0 and lives -1; health is 100 from
// program start on.
struct GameCounters {
    std::int32_t score = 0;   // `score`
    std::int32_t lives = -1;  // `lives`
    double health = 100;      // `health`
};
GameCounters& game_counters();

// The runner's temporary directory, which `temp_directory` reads; empty until the runner has made it.
void set_temp_directory(const std::filesystem::path& directory);

// The conversions of setters: an integer variable stores the value rounded, a flag stores true when the
// rounded value is greater than 0.5.
inline bool as_flag(const Value& value) { return round_to_int64(value.real) > 0; }
inline std::int32_t as_integer(const Value& value) { return round_to_int32(value.real); }

}  // namespace quillon
