// ObjectTree: the parent chains of the objects, and the event lookups that follow them.
#include "world/object_tree.h"

#include <algorithm>

namespace quillon {

std::optional<std::string> find_parent_loop(const ResourceList<CObject>& objects)
{
    // A chain that has not ended after as many steps as there are objects has come back on itself.
    for (int start = 0; start < objects.count(); ++start) {
        if (!objects.exists(start))
            continue;
        int current = start;
        for (int steps = 0; steps <= objects.count(); ++steps) {
            current = objects.get(current)->parent;
            if (!objects.exists(current))
                break;
            if (current == start)
                return "Object " + objects.name(start) + " is its own ancestor.";
        }
    }
    return std::nullopt;
}

ObjectTree::ObjectTree(const ResourceList<CObject>& objects) : m_objects(objects), m_chains(objects.count())
{
    // A chain that comes back to an object already in it is cut there, so that nothing can run forever
    // even in a game whose loops were not refused.
    for (int object = 0; object < objects.count(); ++object) {
        std::vector<std::int32_t>& chain = m_chains[object];
        for (int current = object; m_objects.exists(current); current = m_objects.get(current)->parent) {
            if (std::find(chain.begin(), chain.end(), current) != chain.end())
                break;
            chain.push_back(current);
        }
    }
}

std::int32_t ObjectTree::parent(std::int32_t object) const
{
    const std::vector<std::int32_t>& ancestors = chain(object);
    return ancestors.size() > 1 ? ancestors[1] : -1;
}

const std::vector<std::int32_t>& ObjectTree::chain(std::int32_t object) const
{
    static const std::vector<std::int32_t> s_none;
    return object >= 0 && object < static_cast<std::int32_t>(m_chains.size()) ? m_chains[object] : s_none;
}

const CEvent* ObjectTree::find_event(std::int32_t object, int kind, std::int32_t number) const
{
    if (kind == EVENT_COLLISION)
        return find_collision(object, number);
    for (std::int32_t ancestor : chain(object))
        if (const CEvent* event = m_objects.get(ancestor)->own_event(kind, number))
            return event;
    return nullptr;
}

// 1. The object's own event. 2. The parent's lookup. 3. When the other object has a parent, the lookup
// for that parent, started from this object's parent if it has one, else from this object.
const CEvent* ObjectTree::find_collision(std::int32_t object, std::int32_t other) const
{
    if (!exists(object))
        return nullptr;
    std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(object)) << 32) |
                        static_cast<std::uint32_t>(other);
    if (auto found = m_collisions.find(key); found != m_collisions.end())
        return found->second;
    // A pair met again while it is being searched adds nothing new.
    m_collisions.emplace(key, nullptr);
    const CEvent* event = m_objects.get(object)->own_event(EVENT_COLLISION, other);
    std::int32_t own_parent = parent(object);
    if (!event && own_parent >= 0)
        event = find_collision(own_parent, other);
    if (!event && parent(other) >= 0)
        event = find_collision(own_parent >= 0 ? own_parent : object, parent(other));
    m_collisions[key] = event;
    return event;
}

bool ObjectTree::has_event(std::int32_t object, int kind, std::int32_t number) const
{
    if (kind != EVENT_COLLISION)
        return find_event(object, kind, number) != nullptr;
    // Any ancestor-or-self of the object with a collision event for any ancestor-or-self of the other.
    const std::vector<std::int32_t>& others = exists(number) ? chain(number) : std::vector<std::int32_t> {number};
    for (std::int32_t ancestor : chain(object))
        for (std::int32_t target : others)
            if (m_objects.get(ancestor)->own_event(EVENT_COLLISION, target))
                return true;
    return false;
}

bool ObjectTree::has_events_of_kind(std::int32_t object, int kind) const
{
    if (kind < 0 || kind >= EVENT_KIND_COUNT)
        return false;
    for (std::int32_t ancestor : chain(object))
        for (const NumberedEvent& numbered : m_objects.get(ancestor)->events[kind])
            if (!numbered.event.empty())
                return true;
    return false;
}

}  // namespace quillon
