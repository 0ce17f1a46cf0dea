// World: copies of instances made by game code.
#include "world/world.h"

namespace quillon {

CInstance* World::copy_instance(const CInstance& instance, bool perform_create)
{
    // The temporary instance that room and library code run for is of no object: it has nothing to copy.
    if (!m_current || !m_objects.exists(instance.object_index))
        return nullptr;
    // 1. A new instance draws its id, 2. takes every other field of the original, its variables copied,
    // 3. and runs its create event when asked.
    auto copy = new_instance(instance.object_index, instance.x(), instance.y());
    std::int32_t id = copy->m_id;
    copy->copy_from(instance);
    copy->m_id = id;
    copy->m_destroyed = false;
    CInstance& added = m_current->append(std::move(copy));
    if (perform_create)
        perform_event_for(added, &added, EVENT_CREATE, 0);
    return &added;
}

} // namespace quillon
