// CRoom: a level as the game file describes it, with its layers, views, placed instances, tiles and code.
#include "world/room.h"

namespace quillon {

namespace {

// Reads a count followed by that many records; each record consumes at least four bytes, so a count larger
// than the data fails on the reads, not on an allocation.
template<typename T, typename ReadOne>
void read_counted(CStream& stream, std::vector<T>& items, ReadOne read_one)
{
    std::int32_t count = stream.ReadInt();
    items.clear();
    for (std::int32_t i = 0; i < count; ++i)
        read_one(items.emplace_back());
}

template<typename T, typename WriteOne>
void write_counted(CStream& stream, const std::vector<T>& items, WriteOne write_one)
{
    stream.WriteInt(static_cast<std::int32_t>(items.size()));
    for (const T& item : items)
        write_one(item);
}

}  // namespace

bool CRoom::read_record(CStream& s)
{
    if (s.ReadInt() != ROOM_VERSION)
        return false;
    caption = s.ReadString();
    width = s.ReadInt();
    height = s.ReadInt();
    editor_values = {s.ReadInt(), s.ReadInt()};
    speed = s.ReadInt();
    persistent = s.ReadBool();
    background_color = s.ReadInt();
    draw_background_color = s.ReadBool();
    creation_code = s.ReadString();
    read_counted(s, layers, [&](BackgroundLayer& layer) {
        layer.visible = s.ReadBool();
        layer.foreground = s.ReadBool();
        layer.background = s.ReadInt();
        layer.x = s.ReadInt();
        layer.y = s.ReadInt();
        layer.tile_horizontally = s.ReadBool();
        layer.tile_vertically = s.ReadBool();
        layer.horizontal_speed = s.ReadInt();
        layer.vertical_speed = s.ReadInt();
    });
    views_enabled = s.ReadBool();
    read_counted(s, views, [&](RoomView& view) {
        view.visible = s.ReadBool();
        view.x = s.ReadInt();
        view.y = s.ReadInt();
        view.width = s.ReadInt();
        view.height = s.ReadInt();
        view.port_x = s.ReadInt();
        view.port_y = s.ReadInt();
        view.horizontal_border = s.ReadInt();
        view.vertical_border = s.ReadInt();
        view.horizontal_speed = s.ReadInt();
        view.vertical_speed = s.ReadInt();
        view.object_followed = s.ReadInt();
    });
    read_counted(s, instances, [&](PlacedInstance& instance) {
        instance.x = s.ReadInt();
        instance.y = s.ReadInt();
        instance.object = s.ReadInt();
        instance.id = s.ReadInt();
        instance.creation_code = s.ReadString();
        instance.editor_flag = s.ReadBool();
    });
    read_counted(s, tiles, [&](PlacedTile& tile) {
        tile.x = s.ReadInt();
        tile.y = s.ReadInt();
        tile.background = s.ReadInt();
        tile.left = s.ReadInt();
        tile.top = s.ReadInt();
        tile.width = s.ReadInt();
        tile.height = s.ReadInt();
        tile.depth = s.ReadInt();
        tile.id = s.ReadInt();
    });
    for (std::int32_t& field : editor_settings)
        field = s.ReadInt();
    return true;
}

void CRoom::write_record(CStream& s) const
{
    s.WriteInt(ROOM_VERSION);
    s.WriteString(caption);
    s.WriteInt(width);
    s.WriteInt(height);
    s.WriteInt(editor_values[0]);
    s.WriteInt(editor_values[1]);
    s.WriteInt(speed);
    s.WriteBool(persistent);
    s.WriteInt(background_color);
    s.WriteBool(draw_background_color);
    s.WriteString(creation_code);
    write_counted(s, layers, [&](const BackgroundLayer& layer) {
        s.WriteBool(layer.visible);
        s.WriteBool(layer.foreground);
        s.WriteInt(layer.background);
        s.WriteInt(layer.x);
        s.WriteInt(layer.y);
        s.WriteBool(layer.tile_horizontally);
        s.WriteBool(layer.tile_vertically);
        s.WriteInt(layer.horizontal_speed);
        s.WriteInt(layer.vertical_speed);
    });
    s.WriteBool(views_enabled);
    write_counted(s, views, [&](const RoomView& view) {
        s.WriteBool(view.visible);
        for (std::int32_t value : {view.x, view.y, view.width, view.height, view.port_x, view.port_y,
                 view.horizontal_border, view.vertical_border, view.horizontal_speed, view.vertical_speed,
                 view.object_followed})
            s.WriteInt(value);
    });
    write_counted(s, instances, [&](const PlacedInstance& instance) {
        s.WriteInt(instance.x);
        s.WriteInt(instance.y);
        s.WriteInt(instance.object);
        s.WriteInt(instance.id);
        s.WriteString(instance.creation_code);
        s.WriteBool(instance.editor_flag);
    });
    write_counted(s, tiles, [&](const PlacedTile& tile) {
        for (std::int32_t value : {tile.x, tile.y, tile.background, tile.left, tile.top, tile.width, tile.height,
                 tile.depth, tile.id})
            s.WriteInt(value);
    });
    for (std::int32_t field : editor_settings)
        s.WriteInt(field);
}

}  // namespace quillon
