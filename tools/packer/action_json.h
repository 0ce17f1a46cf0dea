// Actions and their event lists as JSON records, in both directions.
#pragma once

#include "project_context.h"
#include "world/event.h"

namespace quillon {

// Reads an array of action records into event (appending).
void pack_actions(const Json& actions, const Place& place, const PackContext& context, CEvent& event);

// The shortest JSON form of each action that packs back to the same record. Code of several lines goes into
// files named folder/stem_N.code.
Json unpack_actions(const CEvent& event, UnpackContext& context, const std::string& folder, const std::string& stem);

}  // namespace quillon
