// The collision stage of a step: every colliding pair of instances of the objects with collision events.
#include "world/collision.h"

namespace quillon {

void Collisions::collision_stage(std::span<const ObjectPair> pairs)
{
    LiveRoom* room = m_world.current_room();
    if (!room)
        return;
    // For each pair of objects (A, B), each instance a of A and each instance b of B in array order, as a walk
    // over B's list would meet them. The grid narrows b to the instances of B near a, without touching the
    // others; after events, which may move, make or destroy anyone, it is asked again for those after the last
    // b met.
    for (const ObjectPair& pair : pairs) {
        for (int i = 0; i < room->object_count(pair.object); ++i) {
            CInstance& a = *room->object_instance(pair.object, i);
            if (a.m_destroyed)
                continue;
            int last_met = -1;
            m_grid.query(*room, {a.bbox_left(), a.bbox_top(), a.bbox_right(), a.bbox_bottom()}, m_stage_slots,
                             pair.other);
            for (std::size_t k = 0; k < m_stage_slots.size(); ++k) {
                int slot = m_stage_slots[k];
                CInstance& b = *room->instance(slot);
                if (slot <= last_met || b.object_index != pair.other || !collide(a, b))
                    continue;
                last_met = slot;
                meet_pair(a, b);
                m_grid.query(*room, {a.bbox_left(), a.bbox_top(), a.bbox_right(), a.bbox_bottom()}, m_stage_slots,
                             pair.other);
                k = static_cast<std::size_t>(-1);
            }
        }
    }
}

void Collisions::meet_pair(CInstance& a, CInstance& b)
{
    // 1. A solid one among them puts both back where the step began.
    auto put_back = [&] {
        a.set_position(a.xprevious, a.yprevious);
        b.set_position(b.xprevious, b.yprevious);
    };
    if (a.solid || b.solid)
        put_back();
    // 2. Both events, each instance as self once.
    m_world.perform_event(&a, &b, a.object_index, EVENT_COLLISION, b.object_index);
    m_world.perform_event(&b, &a, b.object_index, EVENT_COLLISION, a.object_index);
    // 3. With a solid one among them, both move on by their speeds as the events left them, and go back again
    // when they still meet.
    if (a.solid || b.solid) {
        a.set_position(a.x() + a.hspeed(), a.y() + a.vspeed());
        b.set_position(b.x() + b.hspeed(), b.y() + b.vspeed());
        if (collide(a, b))
            put_back();
    }
}

}  // namespace quillon
