// CInstance: one living copy of an object in a room, with its motion, image, alarms, path and time line.
#include "world/instance.h"

#include "code/value.h"

#include <cmath>
#include <numbers>

namespace quillon {

namespace {

constexpr double SNAP_DISTANCE = 1e-7;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// A value within 1e-7 of an integer becomes that integer, so that right angles give exact speeds.
double snapped(double value)
{
    double rounded = std::nearbyint(value);
    return std::abs(value - rounded) < SNAP_DISTANCE ? rounded : value;
}

double wrapped_degrees(double degrees) { return degrees - 360.0 * std::floor(degrees / 360.0); }

}  // namespace

void CInstance::create(std::int32_t id, std::int32_t object_index_, const CObject* object_, double x, double y)
{
    *this = CInstance(m_sprites);
    m_id = id;
    set_object(object_index_, object_);
    m_x = x;
    m_y = y;
    xstart = xprevious = x;
    ystart = yprevious = y;
    compute_bounding_box();
}

void CInstance::set_object(std::int32_t object_index_, const CObject* object_)
{
    object_index = object_index_;
    object = object_;
    if (!object)
        return;
    set_sprite(object->sprite);
    m_mask_index = object->mask;
    depth = object->depth;
    solid = object->solid;
    visible = object->visible;
    persistent = object->persistent;
    compute_bounding_box();
}

void CInstance::copy_from(const CInstance& other) { *this = other; }

void CInstance::set_position(double x, double y)
{
    if (x == m_x && y == m_y)
        return;
    m_x = x;
    m_y = y;
    compute_bounding_box();
}

void CInstance::set_direction(double direction)
{
    if (direction == m_direction)
        return;
    m_direction = wrapped_degrees(direction);
    speeds_from_polar();
}

void CInstance::set_speed(double speed)
{
    if (speed == m_speed)
        return;
    m_speed = speed;
    speeds_from_polar();
}

void CInstance::set_hspeed(double hspeed)
{
    if (hspeed == m_hspeed)
        return;
    m_hspeed = hspeed;
    polar_from_speeds();
}

void CInstance::set_vspeed(double vspeed)
{
    if (vspeed == m_vspeed)
        return;
    m_vspeed = vspeed;
    polar_from_speeds();
}

void CInstance::add_motion(double length, double direction)
{
    m_hspeed += std::cos(radians(direction)) * length;
    m_vspeed -= std::sin(radians(direction)) * length;
    polar_from_speeds();
}

void CInstance::speeds_from_polar()
{
    m_hspeed = snapped(std::cos(radians(m_direction)) * m_speed);
    m_vspeed = snapped(-std::sin(radians(m_direction)) * m_speed);
}

void CInstance::polar_from_speeds()
{
    // 1. The direction of the motion; straight up or down when there is no horizontal part.
    if (m_hspeed != 0) {
        double angle = std::atan2(m_vspeed, m_hspeed) * 180.0 / std::numbers::pi;
        m_direction = angle > 0 ? 360 - angle : -angle;
    } else {
        m_direction = m_vspeed > 0 ? 270 : m_vspeed < 0 ? 90 : 0;
    }
    // 2. Snapped to whole degrees, 3. within 0..360.
    m_direction = wrapped_degrees(snapped(m_direction));
    // 4. The speed, never negative here.
    m_speed = snapped(std::sqrt(m_hspeed * m_hspeed + m_vspeed * m_vspeed));
}

void CInstance::set_sprite(std::int32_t sprite_)
{
    m_sprite_index = sprite_;
    if (round_to_int64(image_index) >= image_number())
        image_index = 0;
    compute_bounding_box();
}

void CInstance::set_mask(std::int32_t mask)
{
    m_mask_index = mask;
    compute_bounding_box();
}

void CInstance::set_image_scale(double scale)
{
    if (scale == m_image_scale)
        return;
    m_image_scale = scale;
    compute_bounding_box();
}

std::int32_t CInstance::alarm(int index) const
{
    return index >= 0 && index < INSTANCE_ALARM_COUNT ? alarms[index] : -1;
}

void CInstance::set_alarm(int index, std::int32_t value)
{
    if (index >= 0 && index < INSTANCE_ALARM_COUNT)
        alarms[index] = value;
}

int CInstance::image_number() const
{
    const CSprite* shown = sprite();
    return shown ? shown->frame_count() : 0;
}

void CInstance::compute_bounding_box()
{
    if (s_box_listener)
        s_box_listener->box_changed(*this);
    const CSprite* mask = m_sprites ? m_sprites->get(m_mask_index >= 0 ? m_mask_index : m_sprite_index) : nullptr;
    if (!mask) {
        m_bbox_left = m_bbox_top = m_bbox_right = m_bbox_bottom = FAR_AWAY;
        m_precise = false;
        return;
    }
    const BoundingBox& box = mask->bounding_box;
    double scale = m_image_scale;
    m_bbox_left = round_to_int32((box.left - mask->origin_x) * scale + m_x);
    m_bbox_right = round_to_int32(m_x + scale * (box.right - mask->origin_x));
    m_bbox_top = round_to_int32(scale * (box.top - mask->origin_y) + m_y);
    m_bbox_bottom = round_to_int32(m_y + scale * (box.bottom - mask->origin_y));
    m_precise = mask->precise;
}

void CInstance::apply_friction_and_gravity()
{
    // 1. Friction slows the instance down to a standstill, never through it; a negative friction speeds up.
    if (friction != 0) {
        double speed_now = m_speed;
        double slowed = speed_now > 0 ? speed_now - friction : speed_now + friction;
        if ((speed_now > 0 && slowed < 0) || (speed_now < 0 && slowed > 0))
            set_speed(0);
        else if (speed_now != 0)
            set_speed(slowed);
    }
    // 2. Gravity pushes in its own direction.
    if (gravity != 0)
        add_motion(gravity, gravity_direction);
}

bool CInstance::box_covers(double x, double y) const
{
    if (m_destroyed)
        return false;
    return x >= m_bbox_left && x <= m_bbox_right && y >= m_bbox_top && y <= m_bbox_bottom;
}

}  // namespace quillon
