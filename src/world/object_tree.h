// ObjectTree: the parent chains of the objects, and the event lookups that follow them.
#pragma once

#include "support/resource_list.h"
#include "world/object.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

// The message for the first object whose parent chain comes back to it, or none when every chain ends.
// A game whose chains loop is refused at load: every lookup below would otherwise run forever.
std::optional<std::string> find_parent_loop(const ResourceList<CObject>& objects);

class ObjectTree {
public:
    // The objects must have passed find_parent_loop.
    explicit ObjectTree(const ResourceList<CObject>& objects);

    const ResourceList<CObject>& objects() const { return m_objects; }
    bool exists(std::int32_t object) const { return m_objects.exists(object); }
    // The existing parent, or -1.
    std::int32_t parent(std::int32_t object) const;
    // The object itself, then each existing ancestor up the chain; empty for an index without an object.
    const std::vector<std::int32_t>& chain(std::int32_t object) const;

    // The event that runs for (kind, number) on an instance of the object, inherited through the parents;
    // a collision event with an object is also found as one with that object's ancestors. None when absent.
    const CEvent* find_event(std::int32_t object, int kind, std::int32_t number) const;
    // Whether find_event could give an event, counting ancestors on both sides of a collision.
    bool has_event(std::int32_t object, int kind, std::int32_t number) const;
    // Any non-empty event of the kind, own or inherited.
    bool has_events_of_kind(std::int32_t object, int kind) const;

private:
    const CEvent* find_collision(std::int32_t object, std::int32_t other) const;

    const ResourceList<CObject>& m_objects;             // the game's objects
    std::vector<std::vector<std::int32_t>> m_chains;    // per object index: itself and its ancestors
    // Collision lookups already made, by (object, other); each pair is searched once, so chains on both
    // sides cost their product rather than an exponential walk.
    mutable std::unordered_map<std::uint64_t, const CEvent*> m_collisions;
};

}  // namespace quillon
