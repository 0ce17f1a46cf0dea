// Which event a JSON event record means: its kind by name, and its number by name or as a number.
#pragma once

#include "resource_names.h"

namespace quillon {

struct EventKey {
    std::int32_t kind = 0;    // create, destroy, alarm ... key release
    std::int32_t number = 0;  // alarm index, step kind, other object, key code, mouse or other event number
};

// Reads "event" and, depending on the kind, "number", "key" or "with" (the other object of a collision).
EventKey read_event_key(Fields& fields, const ResourceNames& objects);
// Writes the same keys, with names wherever a name exists.
void write_event_key(Json& out, EventKey key, const ResourceNames& objects);
// A short description for messages, as in "step" or "collision with wall".
std::string event_label(EventKey key, const ResourceNames& objects);

}  // namespace quillon
