// Instance queries of the built-in functions: grid snapping, distances, and finding and counting instances.
#pragma once

#include "world/instance.h"
#include "world/live_room.h"

#include <cstdint>

namespace quillon {

// Selectors of the queries and place tests: every instance, none, an id from FIRST_INSTANCE_ID up, or else an
// object index (its instances and its descendants'). Marked instances are never selected.
constexpr std::int32_t SELECTOR_ALL = -3;
constexpr std::int32_t SELECTOR_NONE = -4;

// The instance with the id that is not marked destroyed, or none. A changed instance and a carried persistent
// one leave a marked instance with the same id earlier in the array until the marked ones are removed.
CInstance* live_instance(const LiveRoom& room, std::int32_t id);

// Each coordinate whose snap value is above 0 moves to the nearest multiple of it.
void snap_to_grid(CInstance& instance, double hsnap, double vsnap);
// Each coordinate whose snap value is above 0 lies within 0.001 of a multiple of it.
bool is_on_grid(const CInstance& instance, double hsnap, double vsnap);

// Heads for the point: the speeds become the way there, then the speed is set, keeping that direction.
void move_towards(CInstance& instance, double x, double y, double speed);

// From the bounding box to the point; 0 inside the box.
double distance_to_point(const CInstance& self, double x, double y);
// The smallest distance between the boxes of self and of the instances that match: all, other (-2), exactly
// that object (not its descendants), or that id. Self and marked instances are left out; 1000000 without any.
double distance_to_object(const LiveRoom& room, const CInstance& self, const CInstance* other, std::int32_t selector);

// The n-th selected instance (from 0) not marked destroyed: of the array, of an object and its descendants, or
// the instance of an id when n is 0. None otherwise.
CInstance* find_selected(const LiveRoom& room, std::int32_t selector, std::int32_t n);
// The selected instances not marked destroyed; an id counts 1 or 0.
int count_selected(const LiveRoom& room, std::int32_t selector);
// The selected instance whose position is nearest to (x, y), or furthest from it; ties keep the earlier one.
// Only the array and object lists take part; an id selects none. Nearest finds nothing 100000 or more away.
CInstance* nearest_selected(const LiveRoom& room, double x, double y, std::int32_t selector);
CInstance* furthest_selected(const LiveRoom& room, double x, double y, std::int32_t selector);

} // namespace quillon
