// World: creating, destroying and changing instances, and the motion, animation and time line of a step.
#include "world/world.h"

#include <cmath>
#include <numbers>

namespace quillon {

CInstance* World::create_instance(std::int32_t object, double x, double y)
{
    if (!m_objects.exists(object)) {
        errors().report_in_context("Creating instance for non-existing object: " + std::to_string(object), false);
        return nullptr;
    }
    if (!m_current)
        return nullptr;
    // 1. Appended with the next id, 2. then its create event runs with it as self and other.
    CInstance& instance = m_current->append(new_instance(object, x, y));
    perform_event_for(instance, &instance, EVENT_CREATE, 0);
    return &instance;
}

void World::destroy_instance(CInstance& instance)
{
    // 1. The destroy event, 2. then the mark; the room removes it at the end of the step.
    perform_event_for(instance, &instance, EVENT_DESTROY, 0);
    instance.m_destroyed = true;
}

bool World::can_change_into(std::int32_t object) const
{
    if (m_objects.exists(object))
        return true;
    errors().report_in_context("Asking to change into non-existing object: " + std::to_string(object), false);
    return false;
}

CInstance* World::change_instance(CInstance& instance, std::int32_t object, bool perform_events)
{
    if (!can_change_into(object) || !m_current)
        return nullptr;
    // 1. The old instance's destroy event, when events are wanted.
    if (perform_events)
        perform_event_for(instance, &instance, EVENT_DESTROY, 0);
    // 2. A new instance (drawing an id) takes every field of the old one, its id too, then the new object.
    auto changed = new_instance(object, instance.x(), instance.y());
    changed->copy_from(instance);
    changed->set_object(object, m_objects.get(object));
    CInstance& added = m_current->append(std::move(changed));
    // 3. The old one is marked, 4. and the new one runs its create event when events are wanted.
    instance.m_destroyed = true;
    if (perform_events)
        perform_event_for(added, &added, EVENT_CREATE, 0);
    return &added;
}

void World::set_sprite_checked(CInstance& instance, std::int32_t sprite)
{
    if (!m_sprites.exists(sprite)) {
        errors().report_in_context("Setting instance to non-existing sprite: " + std::to_string(sprite), false);
        return;
    }
    instance.set_sprite(sprite);
}

void World::move_instance(CInstance& instance)
{
    // 1. Friction and 2. gravity.
    instance.apply_friction_and_gravity();
    // 3. Along the path: the speed moves the position on the path, and the motion becomes the step between
    // the two points, rotated and scaled; the speed itself is kept.
    const CPath* path = m_paths.get(instance.path_index);
    if (path && path->length() > 0) {
        double position = instance.path_position;
        double factor = instance.path_scale == 0 ? 0 : path->PathSpeed(position) / 100.0 / instance.path_scale;
        double next = position + instance.speed() * factor / path->length();
        double angle = instance.path_orientation * std::numbers::pi / 180.0;
        auto placed = [&](const PathSample& point) {
            return std::pair {(std::cos(angle) * point.x + std::sin(angle) * point.y) * instance.path_scale,
                              (std::cos(angle) * point.y - std::sin(angle) * point.x) * instance.path_scale};
        };
        auto [old_x, old_y] = placed(path->PathPosition(position));
        auto [new_x, new_y] = placed(path->PathPosition(next));
        instance.path_position = next;
        double speed = instance.speed();
        instance.set_hspeed(new_x - old_x);
        instance.set_vspeed(new_y - old_y);
        instance.keep_speed(speed);
        if (std::floor(position) != std::floor(next))
            perform_event_for(instance, &instance, EVENT_OTHER, OTHER_END_OF_PATH);
    }
    // 4. The move.
    instance.set_position(instance.x() + instance.hspeed(), instance.y() + instance.vspeed());
}

void World::animate_instance(CInstance& instance)
{
    if (instance.image_single >= 0)
        return;
    instance.image_index += instance.image_speed;
    if (round_to_int64(instance.image_index) >= instance.image_number()) {
        perform_event_for(instance, &instance, EVENT_OTHER, OTHER_ANIMATION_END);
        instance.image_index = 0;
    }
}

void World::advance_time_line(CInstance& instance)
{
    std::int32_t index = instance.timeline_index;
    const CTimeLine* line = m_time_lines.get(index);
    if (!line || instance.m_destroyed)
        return;
    int first = line->MomentIndex(instance.timeline_position);
    instance.timeline_position += instance.timeline_speed;
    int end = line->MomentIndex(instance.timeline_position);
    for (int moment = first; moment < end; ++moment)
        perform_moment(instance, index, moment);
}

}  // namespace quillon
