// CInstance: its record in a saved game, every field in a fixed order followed by its own variables.
#include "world/instance.h"

namespace quillon {

void CInstance::save(CStream& stream) const
{
    stream.WriteInt(m_id);
    stream.WriteInt(m_sprite_index);
    for (double value : {image_index, image_single, image_speed, m_image_scale, image_alpha})
        stream.WriteReal(value);
    stream.WriteInt(m_mask_index);
    stream.WriteReal(depth);
    stream.WriteBool(m_precise);
    for (double value : {m_x, m_y, xstart, ystart, xprevious, yprevious, m_direction, m_speed, friction,
                         gravity_direction, gravity, m_hspeed, m_vspeed})
        stream.WriteReal(value);
    for (std::int32_t value : {m_bbox_left, m_bbox_right, m_bbox_top, m_bbox_bottom})
        stream.WriteInt(value);
    stream.WriteBool(visible);
    stream.WriteBool(solid);
    stream.WriteBool(persistent);
    stream.WriteInt(object_index);
    for (std::int32_t alarm_steps : alarms)
        stream.WriteInt(alarm_steps);
    stream.WriteBool(m_destroyed);
    stream.WriteInt(path_index);
    stream.WriteReal(path_position);
    stream.WriteReal(path_scale);
    stream.WriteReal(path_orientation);
    stream.WriteInt(timeline_index);
    stream.WriteReal(timeline_position);
    stream.WriteReal(timeline_speed);
    stream.WriteString(creation_code);
    m_variables.save(stream);
}

void CInstance::load(CStream& stream, const ResourceList<CObject>& objects)
{
    m_id = stream.ReadInt();
    m_sprite_index = stream.ReadInt();
    for (double* value : {&image_index, &image_single, &image_speed, &m_image_scale, &image_alpha})
        *value = stream.ReadReal();
    m_mask_index = stream.ReadInt();
    depth = stream.ReadReal();
    m_precise = stream.ReadBool();
    for (double* value : {&m_x, &m_y, &xstart, &ystart, &xprevious, &yprevious, &m_direction, &m_speed, &friction,
                          &gravity_direction, &gravity, &m_hspeed, &m_vspeed})
        *value = stream.ReadReal();
    for (std::int32_t* value : {&m_bbox_left, &m_bbox_right, &m_bbox_top, &m_bbox_bottom})
        *value = stream.ReadInt();
    visible = stream.ReadBool();
    solid = stream.ReadBool();
    persistent = stream.ReadBool();
    object_index = stream.ReadInt();
    object = objects.get(object_index);
    for (std::int32_t& alarm_steps : alarms)
        alarm_steps = stream.ReadInt();
    m_destroyed = stream.ReadBool();
    path_index = stream.ReadInt();
    path_position = stream.ReadReal();
    path_scale = stream.ReadReal();
    path_orientation = stream.ReadReal();
    timeline_index = stream.ReadInt();
    timeline_position = stream.ReadReal();
    timeline_speed = stream.ReadReal();
    creation_code = stream.ReadString();
    m_variables.load(stream);
}

}  // namespace quillon
