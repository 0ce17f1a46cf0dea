// Which event a JSON event record means: its kind by name, and its number by name or as a number.
#pragma once

#include "resource_names.h"

#include <string>
#include <vector>

namespace quillon {

struct EventKey {
    std::int32_t kind = 0;    // create, destroy, alarm ... key release
    std::int32_t number = 0;  // alarm index, step kind, other object, key code, mouse or other event number
};

// A name of the project files and the number it stands for.
struct NamedNumber {
    std::string name;    // as written in the project
    std::int32_t number; // as stored
};
using NameTable = std::vector<NamedNumber>;

// The event kinds by name: create, destroy, alarm ... key_release.
const NameTable& event_kind_names();
// The names of the numbers of an event kind (steps, mouse events, other events, keys), or null when its numbers
// have no names.
const NameTable* event_number_names(std::int32_t kind);
// The key that gives an event kind's number: "number", "key" or "with".
std::string event_number_field(std::int32_t kind);

// Reads "event" and, depending on the kind, "number", "key" or "with" (the other object of a collision).
EventKey read_event_key(Fields& fields, const ResourceNames& objects);
// Writes the same keys, with names wherever a name exists.
void write_event_key(Json& out, EventKey key, const ResourceNames& objects);
// A short description for messages, as in "step" or "collision with wall".
std::string event_label(EventKey key, const ResourceNames& objects);

}  // namespace quillon
