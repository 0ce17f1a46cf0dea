// Views: moving each view after the instance it follows, and the regions that show the views on the screen.
#pragma once

#include "graphics/regions.h"
#include "world/live_room.h"

namespace quillon {

// Moves every visible view of the room toward the instance it follows: inside its borders, kept in the room,
// no faster than its speeds. Views whose object names no live instance stay where they are.
void follow_views(LiveRoom& room);

// Regions 0 to 7 show the visible views at their ports, one to one; all of them are off when the room draws
// without views.
void set_view_regions(const LiveRoom& room, RegionTable& regions);

}  // namespace quillon
