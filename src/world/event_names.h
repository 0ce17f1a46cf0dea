// Display names of events, as error messages and the debug window show them.
#pragma once

#include "support/resource_list.h"
#include "world/object.h"

#include <string>

namespace quillon {

std::string key_name(int code);
// "Create Event", "Alarm Event for alarm 3", "Collision Event with object wall", "<Unknown Event>"...
std::string event_name(int kind, int number, const ResourceList<CObject>& objects);

}  // namespace quillon
