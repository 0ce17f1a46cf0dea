// LiveRoom: its record in a saved game, with its layers, views, instances and tiles.
#include "world/live_room.h"

namespace quillon {

namespace {

constexpr std::int32_t SAVED_ROOM_VERSION = 420;

// The eleven integers of a view, in stored order after its visible flag.
template<typename View>
auto view_integers(View& view)
{
    return std::array {&view.x,      &view.y,      &view.width,  &view.height, &view.port_x,
                       &view.port_y, &view.horizontal_border,    &view.vertical_border,
                       &view.horizontal_speed,     &view.vertical_speed,     &view.object_followed};
}

void save_layer(CStream& stream, const LiveLayer& layer)
{
    stream.WriteBool(layer.visible);
    stream.WriteBool(layer.foreground);
    stream.WriteInt(layer.background);
    stream.WriteReal(layer.x);
    stream.WriteReal(layer.y);
    stream.WriteBool(layer.tile_horizontally);
    stream.WriteBool(layer.tile_vertically);
    stream.WriteReal(layer.horizontal_speed);
    stream.WriteReal(layer.vertical_speed);
    stream.WriteReal(layer.alpha);
}

LiveLayer load_layer(CStream& stream)
{
    LiveLayer layer;
    layer.visible = stream.ReadBool();
    layer.foreground = stream.ReadBool();
    layer.background = stream.ReadInt();
    layer.x = stream.ReadReal();
    layer.y = stream.ReadReal();
    layer.tile_horizontally = stream.ReadBool();
    layer.tile_vertically = stream.ReadBool();
    layer.horizontal_speed = stream.ReadReal();
    layer.vertical_speed = stream.ReadReal();
    layer.alpha = stream.ReadReal();
    return layer;
}

void save_tile(CStream& stream, const Tile& tile)
{
    stream.WriteReal(tile.x);
    stream.WriteReal(tile.y);
    for (std::int32_t value : {tile.background, tile.left, tile.top, tile.width, tile.height})
        stream.WriteInt(value);
    stream.WriteReal(tile.depth);
    stream.WriteInt(tile.id);
    stream.WriteReal(tile.scale_x);
    stream.WriteReal(tile.scale_y);
    stream.WriteReal(tile.alpha);
    stream.WriteBool(tile.visible);
}

Tile load_tile(CStream& stream)
{
    Tile tile;
    tile.x = stream.ReadReal();
    tile.y = stream.ReadReal();
    for (std::int32_t* value : {&tile.background, &tile.left, &tile.top, &tile.width, &tile.height})
        *value = stream.ReadInt();
    tile.depth = stream.ReadReal();
    tile.id = stream.ReadInt();
    tile.scale_x = stream.ReadReal();
    tile.scale_y = stream.ReadReal();
    tile.alpha = stream.ReadReal();
    tile.visible = stream.ReadBool();
    return tile;
}

}  // namespace

void LiveRoom::save(CStream& stream) const
{
    stream.WriteInt(SAVED_ROOM_VERSION);
    stream.WriteString(caption);
    stream.WriteInt(width);
    stream.WriteInt(height);
    stream.WriteInt(editor_values[0]);
    stream.WriteInt(editor_values[1]);
    stream.WriteInt(speed);
    stream.WriteBool(persistent);
    stream.WriteInt(background_color);
    stream.WriteBool(draw_background_color);
    stream.WriteString(creation_code);
    stream.WriteInt(ROOM_LAYER_COUNT);
    for (const LiveLayer& layer : layers)
        save_layer(stream, layer);
    stream.WriteBool(views_enabled);
    stream.WriteInt(ROOM_VIEW_COUNT);
    for (const RoomView& view : views) {
        stream.WriteBool(view.visible);
        for (const std::int32_t* value : view_integers(view))
            stream.WriteInt(*value);
    }
    stream.WriteInt(instance_count());
    for (const auto& instance : m_instances)
        instance->save(stream);
    stream.WriteInt(static_cast<std::int32_t>(tiles.size()));
    for (const Tile& tile : tiles)
        save_tile(stream, tile);
}

// Counts come from the file: each entry reads its data, so a count beyond the data ends in a read past the
// end rather than in a large allocation; layers and views beyond eight are read and dropped.
bool LiveRoom::load(CStream& stream, const ResourceList<CObject>& objects, const ResourceList<CSprite>* sprites)
{
    if (stream.ReadInt() != SAVED_ROOM_VERSION)
        return false;
    caption = stream.ReadString();
    width = stream.ReadInt();
    height = stream.ReadInt();
    editor_values[0] = stream.ReadInt();
    editor_values[1] = stream.ReadInt();
    speed = stream.ReadInt();
    persistent = stream.ReadBool();
    background_color = stream.ReadInt();
    draw_background_color = stream.ReadBool();
    creation_code = stream.ReadString();
    std::int32_t layer_count = stream.ReadInt();
    for (std::int32_t i = 0; i < layer_count; ++i) {
        LiveLayer layer = load_layer(stream);
        if (i < ROOM_LAYER_COUNT)
            layers[i] = layer;
    }
    views_enabled = stream.ReadBool();
    std::int32_t view_count = stream.ReadInt();
    for (std::int32_t i = 0; i < view_count; ++i) {
        RoomView view;
        view.visible = stream.ReadBool();
        for (std::int32_t* value : view_integers(view))
            *value = stream.ReadInt();
        if (i < ROOM_VIEW_COUNT)
            views[i] = view;
    }
    m_instances.clear();
    m_layout_stamp = new_layout_stamp();
    m_by_id.clear();
    for (auto& list : m_of_object)
        list.clear();
    for (auto& list : m_with_descendants)
        list.clear();
    std::int32_t count = stream.ReadInt();
    for (std::int32_t i = 0; i < count; ++i) {
        auto instance = std::make_unique<CInstance>(sprites);
        instance->load(stream, objects);
        append(std::move(instance));
    }
    tiles.clear();
    std::int32_t tile_count = stream.ReadInt();
    for (std::int32_t i = 0; i < tile_count; ++i)
        tiles.push_back(load_tile(stream));
    last_found_tile = -1;
    return true;
}

}  // namespace quillon
