// Views: moving each view after the instance it follows, and the regions that show the views on the screen.
#include "world/views.h"

namespace quillon {

namespace {

// Object values above this are instance ids.
constexpr std::int32_t LAST_OBJECT_VALUE = 99999;

// The instance a view follows: by id the first one in the array with that id, by object the first of the
// object's own instances; marked instances never count.
const CInstance* followed_instance(const LiveRoom& room, std::int32_t object)
{
    if (object > LAST_OBJECT_VALUE) {
        const CInstance* found = room.find_instance(object);
        if (found && !found->m_destroyed)
            return found;
        // An instance that replaced a marked one of the same id sits later in the array.
        for (int i = 0; found && i < room.instance_count(); ++i) {
            const CInstance* instance = room.instance(i);
            if (instance->m_id == object && !instance->m_destroyed)
                return instance;
        }
        return nullptr;
    }
    for (int i = 0; i < room.object_count(object); ++i) {
        const CInstance* instance = room.object_instance(object, i);
        if (!instance->m_destroyed)
            return instance;
    }
    return nullptr;
}

// One axis of following: the new start of a view of this size at position so that the box [low, high] keeps
// the border from its edges, then inside the room's extent, then at most speed away (speed -1: no limit).
std::int32_t follow_axis(std::int32_t position, std::int32_t size, std::int32_t low, std::int32_t high,
    std::int32_t border, std::int32_t speed, std::int32_t extent)
{
    // 1. Keep the border around the box.
    std::int32_t target = position;
    if (position + size < high + border)
        target = high + border - size;
    else if (low - border < position)
        target = low - border;
    // 2. Stay inside the room; a view larger than the room ends at a negative position.
    if (target < 0)
        target = 0;
    if (extent < target + size)
        target = extent - size;
    // 3. Limit the speed.
    if (speed >= 0) {
        if (target > position + speed)
            target = position + speed;
        else if (target < position - speed)
            target = position - speed;
    }
    return target;
}

}  // namespace

void follow_views(LiveRoom& room)
{
    if (!room.views_enabled)
        return;
    for (RoomView& view : room.views) {
        if (!view.visible)
            continue;
        const CInstance* instance = followed_instance(room, view.object_followed);
        if (!instance)
            continue;
        std::int32_t x = follow_axis(view.x, view.width, instance->bbox_left(), instance->bbox_right(),
            view.horizontal_border, view.horizontal_speed, room.width);
        std::int32_t y = follow_axis(view.y, view.height, instance->bbox_top(), instance->bbox_bottom(),
            view.vertical_border, view.vertical_speed, room.height);
        view.x = x;
        view.y = y;
    }
}

void set_view_regions(const LiveRoom& room, RegionTable& regions)
{
    for (int i = 0; i < ROOM_VIEW_COUNT; ++i) {
        regions.disable(i);
        const RoomView& view = room.views[i];
        if (room.views_enabled && view.visible) {
            SurfaceRect port {view.port_x, view.port_y, view.port_x + view.width, view.port_y + view.height};
            regions.set(i, port, view.x, view.y);
        }
    }
}

}  // namespace quillon
