// Rooms as JSON records, in both directions.
#include "room_json.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr FieldRef<CRoom> ROOM_FIELDS[] = {
    {"caption", &CRoom::caption},
    {"width", &CRoom::width},
    {"height", &CRoom::height},
    {"speed", &CRoom::speed},
    {"persistent", &CRoom::persistent},
    {"background_color", &CRoom::background_color, true},
    {"draw_background_color", &CRoom::draw_background_color},
    {"views_enabled", &CRoom::views_enabled},
};

constexpr FieldRef<BackgroundLayer> LAYER_FIELDS[] = {
    {"visible", &BackgroundLayer::visible},
    {"foreground", &BackgroundLayer::foreground},
    {"x", &BackgroundLayer::x},
    {"y", &BackgroundLayer::y},
    {"tile_horizontally", &BackgroundLayer::tile_horizontally},
    {"tile_vertically", &BackgroundLayer::tile_vertically},
    {"horizontal_speed", &BackgroundLayer::horizontal_speed},
    {"vertical_speed", &BackgroundLayer::vertical_speed},
};

constexpr FieldRef<RoomView> VIEW_FIELDS[] = {
    {"visible", &RoomView::visible},
    {"x", &RoomView::x},
    {"y", &RoomView::y},
    {"width", &RoomView::width},
    {"height", &RoomView::height},
    {"port_x", &RoomView::port_x},
    {"port_y", &RoomView::port_y},
    {"horizontal_border", &RoomView::horizontal_border},
    {"vertical_border", &RoomView::vertical_border},
    {"horizontal_speed", &RoomView::horizontal_speed},
    {"vertical_speed", &RoomView::vertical_speed},
};

constexpr FieldRef<PlacedInstance> INSTANCE_FIELDS[] = {
    {"x", &PlacedInstance::x},
    {"y", &PlacedInstance::y},
    {"editor_flag", &PlacedInstance::editor_flag},
};

constexpr FieldRef<PlacedTile> TILE_FIELDS[] = {
    {"x", &PlacedTile::x},
    {"y", &PlacedTile::y},
    {"left", &PlacedTile::left},
    {"top", &PlacedTile::top},
    {"width", &PlacedTile::width},
    {"height", &PlacedTile::height},
    {"depth", &PlacedTile::depth},
};

// A layer or view listed in a room is meant to be seen, so there it starts visible.
BackgroundLayer listed_layer()
{
    BackgroundLayer layer;
    layer.visible = true;
    return layer;
}

RoomView listed_view()
{
    RoomView view;
    view.visible = true;
    return view;
}

const Json& array_field(Fields& fields, const std::string& key)
{
    static const Json empty = Json::array();
    const Json* value = fields.take(key);
    if (!value)
        return empty;
    if (!value->is_array())
        fields.fail(key, "expected an array");
    return *value;
}

template<typename Array>
void read_fixed_ints(Fields& fields, const std::string& key, Array& out)
{
    const Json& list = array_field(fields, key);
    if (!fields.has(key))
        return;
    if (list.size() != out.size())
        fields.fail(key, "expected " + std::to_string(out.size()) + " numbers");
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = fields.to_int(list[i], key);
}

// A room stores eight layers and eight views unless count_key asks for another number.
template<typename Entry>
void size_list(Fields& fields, const std::string& count_key, std::size_t listed, std::vector<Entry>& entries)
{
    auto count = static_cast<std::int32_t>(std::max(entries.size(), listed));
    fields.get(count_key, count);
    if (count < 0 || static_cast<std::size_t>(count) < listed)
        fields.fail(count_key, "must be at least the number listed (" + std::to_string(listed) + ")");
    entries.resize(count);
}

void pack_layers(Fields& fields, const PackContext& context, CRoom& room)
{
    const Json& list = array_field(fields, "backgrounds");
    size_list(fields, "background_count", list.size(), room.layers);
    for (std::size_t i = 0; i < list.size(); ++i) {
        Fields layer_fields(list[i], fields.place().inside("background " + std::to_string(i)));
        BackgroundLayer& layer = room.layers[i] = listed_layer();
        layer_fields.get_fields<BackgroundLayer>(layer, LAYER_FIELDS);
        context.names.backgrounds.get(layer_fields, "background", layer.background);
        layer_fields.finish();
    }
}

void pack_views(Fields& fields, const PackContext& context, CRoom& room)
{
    const Json& list = array_field(fields, "views");
    size_list(fields, "view_count", list.size(), room.views);
    for (std::size_t i = 0; i < list.size(); ++i) {
        Fields view_fields(list[i], fields.place().inside("view " + std::to_string(i)));
        RoomView& view = room.views[i] = listed_view();
        view_fields.get_fields<RoomView>(view, VIEW_FIELDS);
        context.names.objects.get(view_fields, "follow", view.object_followed);
        view_fields.finish();
    }
}

void pack_instances(Fields& fields, const PackContext& context, PackedRoom& packed)
{
    const Json& list = array_field(fields, "instances");
    for (std::size_t i = 0; i < list.size(); ++i) {
        Fields instance_fields(list[i], fields.place().inside("instance " + std::to_string(i + 1)));
        PlacedInstance& instance = packed.room.instances.emplace_back();
        instance_fields.get_fields<PlacedInstance>(instance, INSTANCE_FIELDS);
        if (!instance_fields.has("object"))
            instance_fields.fail("object", "missing");
        context.names.objects.get(instance_fields, "object", instance.object);
        if (instance_fields.has("id"))
            instance_fields.get("id", instance.id);
        else
            packed.instances_without_id.push_back(i);
        instance.creation_code = context.read_program(instance_fields, "creation_code").value_or("");
        instance_fields.finish();
    }
}

void pack_tiles(Fields& fields, const PackContext& context, PackedRoom& packed)
{
    const Json& list = array_field(fields, "tiles");
    for (std::size_t i = 0; i < list.size(); ++i) {
        Fields tile_fields(list[i], fields.place().inside("tile " + std::to_string(i + 1)));
        PlacedTile& tile = packed.room.tiles.emplace_back();
        tile_fields.get_fields<PlacedTile>(tile, TILE_FIELDS);
        if (!tile_fields.has("background"))
            tile_fields.fail("background", "missing");
        context.names.backgrounds.get(tile_fields, "background", tile.background);
        if (tile_fields.has("id"))
            tile_fields.get("id", tile.id);
        else
            packed.tiles_without_id.push_back(i);
        tile_fields.finish();
    }
}

// The entries up to the last one that differs from the record's default, each relative to a listed entry.
template<typename Entry, std::size_t N, typename Extra>
Json unpack_entries(const std::vector<Entry>& entries, const Entry& listed, const FieldRef<Entry> (&table)[N],
                    Extra extra)
{
    auto is_plain = [&](const Entry& entry) {
        Json difference;
        put_fields<Entry>(difference, entry, Entry {}, table);
        return difference.empty();
    };
    std::size_t used = entries.size();
    while (used > 0 && is_plain(entries[used - 1]) && extra(entries[used - 1]).empty())
        --used;
    Json out = Json::array();
    for (std::size_t i = 0; i < used; ++i) {
        Json entry = extra(entries[i]);
        put_fields<Entry>(entry, entries[i], listed, table);
        // A listed entry starts visible, so an invisible one says so.
        if (!entries[i].visible && !entry.contains("visible"))
            entry["visible"] = false;
        out.push_back(std::move(entry));
    }
    return out;
}

}  // namespace

PackedRoom pack_room(const Json& json, const Place& place, const PackContext& context)
{
    Fields fields(json, place);
    PackedRoom packed;
    CRoom& room = packed.room;
    fields.get_fields<CRoom>(room, ROOM_FIELDS);
    room.creation_code = context.read_program(fields, "creation_code").value_or("");
    read_fixed_ints(fields, "editor_values", room.editor_values);
    read_fixed_ints(fields, "editor_settings", room.editor_settings);
    pack_layers(fields, context, room);
    pack_views(fields, context, room);
    pack_instances(fields, context, packed);
    pack_tiles(fields, context, packed);
    fields.finish();
    return packed;
}

Json unpack_room(const CRoom& room, UnpackContext& context, const std::string& code_folder, bool write_ids)
{
    Json out = Json::object();
    put_fields<CRoom>(out, room, CRoom {}, ROOM_FIELDS);
    if (!room.creation_code.empty())
        context.put_code(out, "creation_code", room.creation_code, code_folder, "creation");
    if (room.editor_values != CRoom {}.editor_values)
        out["editor_values"] = room.editor_values;
    if (room.editor_settings != CRoom {}.editor_settings)
        out["editor_settings"] = room.editor_settings;
    Json layers = unpack_entries(room.layers, listed_layer(), LAYER_FIELDS, [&](const BackgroundLayer& layer) {
        return layer.background == -1 ? Json::object()
                                      : Json {{"background", context.names.backgrounds.reference(layer.background)}};
    });
    if (room.layers.size() != std::max<std::size_t>(ROOM_LAYER_COUNT, layers.size()))
        out["background_count"] = room.layers.size();
    if (!layers.empty())
        out["backgrounds"] = std::move(layers);
    Json views = unpack_entries(room.views, listed_view(), VIEW_FIELDS, [&](const RoomView& view) {
        return view.object_followed == -1 ? Json::object()
                                          : Json {{"follow", context.names.objects.reference(view.object_followed)}};
    });
    if (room.views.size() != std::max<std::size_t>(ROOM_VIEW_COUNT, views.size()))
        out["view_count"] = room.views.size();
    if (!views.empty())
        out["views"] = std::move(views);
    Json instances = Json::array();
    for (const PlacedInstance& instance : room.instances) {
        Json entry {{"object", context.names.objects.reference(instance.object)}};
        put_fields<PlacedInstance>(entry, instance, PlacedInstance {}, INSTANCE_FIELDS);
        if (write_ids)
            entry["id"] = instance.id;
        if (!instance.creation_code.empty())
            context.put_code(entry, "creation_code", instance.creation_code, code_folder,
                             "instance_" + std::to_string(instance.id));
        instances.push_back(std::move(entry));
    }
    if (!instances.empty())
        out["instances"] = std::move(instances);
    Json tiles = Json::array();
    for (const PlacedTile& tile : room.tiles) {
        Json entry {{"background", context.names.backgrounds.reference(tile.background)}};
        put_fields<PlacedTile>(entry, tile, PlacedTile {}, TILE_FIELDS);
        if (write_ids)
            entry["id"] = tile.id;
        tiles.push_back(std::move(entry));
    }
    if (!tiles.empty())
        out["tiles"] = std::move(tiles);
    return out;
}

}  // namespace quillon
