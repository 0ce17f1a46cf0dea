// DispatchLists: per event, the objects that have it (own or inherited), so that a step visits only those.
#include "world/dispatch_lists.h"

namespace quillon {

namespace {

constexpr int OTHER_OUTSIDE_ROOM = 0;
constexpr int OTHER_INTERSECT_BOUNDARY = 1;

int key_kind_slot(int kind) { return kind == EVENT_KEYBOARD ? 0 : kind == EVENT_KEY_PRESS ? 1 : 2; }

}  // namespace

const std::vector<std::int32_t>& DispatchLists::key(int kind, int code) const
{
    return m_keys[key_kind_slot(kind)][code];
}

void DispatchLists::build(const ObjectTree& tree)
{
    const std::int32_t count = tree.objects().count();
    for (std::int32_t object = 0; object < count; ++object) {
        if (!tree.exists(object))
            continue;
        auto enter = [&](List& list, int kind, std::int32_t number) {
            if (tree.has_event(object, kind, number))
                list.push_back(object);
        };
        for (int i = 0; i < 8; ++i)
            enter(m_alarms[i], EVENT_ALARM, i);
        for (int i = 0; i < 3; ++i)
            enter(m_steps[i], EVENT_STEP, i);
        enter(m_outside, EVENT_OTHER, OTHER_OUTSIDE_ROOM);
        enter(m_boundary, EVENT_OTHER, OTHER_INTERSECT_BOUNDARY);
        for (int kind : {EVENT_KEYBOARD, EVENT_KEY_PRESS, EVENT_KEY_RELEASE})
            for (int code = 0; code < KEY_EVENT_CODES; ++code)
                enter(m_keys[key_kind_slot(kind)][code], kind, code);
        for (int number = 0; number < MOUSE_EVENT_NUMBERS; ++number)
            enter(m_mouse[number], EVENT_MOUSE, number);
        for (std::int32_t other = 0; other < count; ++other)
            if (tree.exists(other) && tree.has_event(object, EVENT_COLLISION, other))
                m_collisions.push_back({object, other});
    }
    m_built = true;
}

}  // namespace quillon
