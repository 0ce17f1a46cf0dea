// DispatchLists: per event, the objects that have it (own or inherited), so that a step visits only those.
#pragma once

#include "world/object_tree.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

constexpr int KEY_EVENT_CODES = 201;    // keyboard, key press and key release codes 0..200
constexpr int MOUSE_EVENT_NUMBERS = 51; // mouse events 0..50

// Objects A and B where A has a collision event with B.
struct ObjectPair {
    std::int32_t object;  // A, whose instances are self first
    std::int32_t other;   // B
};

// Object indices in ascending order; pairs in order of A, then B.
class DispatchLists {
public:
    void build(const ObjectTree& tree);
    bool built() const { return m_built; }

    const std::vector<std::int32_t>& alarm(int index) const { return m_alarms[index]; }
    const std::vector<std::int32_t>& step(int number) const { return m_steps[number]; }
    const std::vector<std::int32_t>& outside() const { return m_outside; }
    const std::vector<std::int32_t>& boundary() const { return m_boundary; }
    // kind is EVENT_KEYBOARD, EVENT_KEY_PRESS or EVENT_KEY_RELEASE.
    const std::vector<std::int32_t>& key(int kind, int code) const;
    const std::vector<std::int32_t>& mouse(int number) const { return m_mouse[number]; }
    const std::vector<ObjectPair>& collisions() const { return m_collisions; }

private:
    using List = std::vector<std::int32_t>;

    bool m_built = false;                                 // filled once
    std::array<List, 8> m_alarms;                         // alarm events 0..7
    std::array<List, 3> m_steps;                          // step, begin step, end step
    List m_outside;                                       // Outside Room
    List m_boundary;                                      // Intersect Boundary
    std::array<std::array<List, KEY_EVENT_CODES>, 3> m_keys;  // keyboard, key press, key release by code
    std::array<List, MOUSE_EVENT_NUMBERS> m_mouse;        // mouse events by number
    std::vector<ObjectPair> m_collisions;                 // collision pairs
};

}  // namespace quillon
