// Debug information texts: the contents of the global-variables, local-variables and all-instances windows.
#pragma once

#include "world/world.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// What a local-variables window looks for: an instance id, or else an object name.
struct InstanceChoice {
    std::optional<std::int32_t> id;  // an integer answer
    std::string object_name;         // any other answer, compared case-sensitively
};

// The choice an answer names: an integer is an id, anything else an object name.
InstanceChoice instance_choice(const std::string& answer);

// Each writer replaces the text. Built-in variables are read for `reader`, a new, otherwise empty instance.
void write_global_variables(std::string& text, ScriptInstance& reader);
// The first live instance of the current room the choice names, or "NO SUCH INSTANCE EXISTS".
void write_local_variables(std::string& text, World& world, const InstanceChoice& choice);
// A header, then one line per live instance in the room's order: id, object name, sprite name.
void write_all_instances(std::string& text, World& world);

// The first live instance the choice names in the current room, or none.
CInstance* find_chosen_instance(World& world, const InstanceChoice& choice);

}  // namespace quillon
