// The manifest game.json: the header, the settings and every resource list, and the game built from them.
#include "header_json.h"
#include "object_json.h"
#include "packer.h"
#include "picture_json.h"
#include "resource_json.h"
#include "room_json.h"

#include "support/win1252.h"

#include <algorithm>
#include <set>

namespace quillon {

namespace {

// One entry of a resource list in the manifest: null for an empty slot, a name, or an object with a name.
struct ListEntry {
    std::optional<std::string> name;  // Windows-1252; none for an empty slot
    const Json* record = nullptr;     // the object, when the entry is one
    Place place;                      // for messages
};

std::vector<ListEntry> list_entries(Fields& manifest, const std::string& key, const std::string& kind)
{
    std::vector<ListEntry> entries;
    const Json* list = manifest.take(key);
    if (!list)
        return entries;
    if (!list->is_array())
        manifest.fail(key, "expected an array");
    for (std::size_t i = 0; i < list->size(); ++i) {
        const Json& item = (*list)[i];
        ListEntry entry {std::nullopt, nullptr, manifest.place().inside(key + "[" + std::to_string(i) + "]")};
        if (item.is_string()) {
            entry.name = utf8_to_win1252(item.get<std::string>());
        } else if (item.is_object()) {
            if (!item.contains("name") || !item["name"].is_string())
                entry.place.fail("name", "missing: every " + kind + " has a name");
            entry.name = utf8_to_win1252(item["name"].get<std::string>());
            entry.record = &item;
        } else if (!item.is_null()) {
            entry.place.fail("", "expected a name, an object with a name, or null for an empty slot");
        }
        if (entry.name)
            entry.place = manifest.place().inside(kind + " " + win1252_to_utf8(*entry.name));
        entries.push_back(std::move(entry));
    }
    return entries;
}

ResourceNames names_of(const std::vector<ListEntry>& entries, const std::string& kind)
{
    ResourceNames names(kind);
    for (const ListEntry& entry : entries)
        names.add(entry.name);
    return names;
}

// Fills a list: make(fields, name) builds each record from the entry's fields.
template<typename T, typename Make>
void pack_list(const std::vector<ListEntry>& entries, ResourceList<T>& list, Make make)
{
    for (const ListEntry& entry : entries) {
        if (!entry.name) {
            list.add({}, nullptr);
            continue;
        }
        Fields fields(entry.record ? *entry.record : empty_object(), entry.place);
        fields.take("name");
        auto item = std::make_unique<T>(make(fields, *entry.name));
        fields.finish();
        list.add(*entry.name, std::move(item));
    }
}

// Objects, time lines and rooms keep their records in files of their own: folder/name.json unless "file" says.
std::string record_path(Fields& fields, const std::string& folder, const std::string& name)
{
    if (fields.has("file"))
        return *fields.get_path("file");
    return folder + "/" + win1252_to_utf8(name) + ".json";
}

template<typename T, typename Make>
void pack_file_list(const std::vector<ListEntry>& entries, const std::string& folder, const PackContext& context,
                    ResourceList<T>& list, Make make)
{
    pack_list(entries, list, [&](Fields& fields, const std::string& name) {
        std::string path = record_path(fields, folder, name);
        return make(read_json_file(context.source, path), Place {path, ""});
    });
}

// Instances and tiles without an id count on from the highest id given anywhere in the game, or from the
// counters' starting values when no id is given.
void assign_ids(Fields& manifest, std::vector<std::optional<PackedRoom>>& rooms, GameFile& game)
{
    std::int32_t last_instance = game.last_instance_id;
    std::int32_t last_tile = game.last_tile_id;
    for (const auto& packed : rooms) {
        for (const PlacedInstance& instance : packed ? packed->room.instances : std::vector<PlacedInstance> {})
            last_instance = std::max(last_instance, instance.id);
        for (const PlacedTile& tile : packed ? packed->room.tiles : std::vector<PlacedTile> {})
            last_tile = std::max(last_tile, tile.id);
    }
    for (auto& packed : rooms) {
        if (!packed)
            continue;
        for (std::size_t index : packed->instances_without_id)
            packed->room.instances[index].id = ++last_instance;
        for (std::size_t index : packed->tiles_without_id)
            packed->room.tiles[index].id = ++last_tile;
    }
    game.last_instance_id = last_instance;
    game.last_tile_id = last_tile;
    manifest.get("last_instance_id", game.last_instance_id);
    manifest.get("last_tile_id", game.last_tile_id);
}

void pack_rooms(Fields& manifest, const std::vector<ListEntry>& entries, const PackContext& context, GameFile& game)
{
    std::vector<std::optional<PackedRoom>> rooms;
    for (const ListEntry& entry : entries) {
        if (!entry.name) {
            rooms.emplace_back();
            continue;
        }
        Fields fields(entry.record ? *entry.record : empty_object(), entry.place);
        fields.take("name");
        std::string path = record_path(fields, "rooms", *entry.name);
        fields.finish();
        rooms.push_back(pack_room(read_json_file(context.source, path), Place {path, ""}, context));
    }
    assign_ids(manifest, rooms, game);
    for (std::size_t i = 0; i < entries.size(); ++i)
        game.rooms.add(entries[i].name.value_or(""), rooms[i] ? std::make_unique<CRoom>(std::move(rooms[i]->room)) : nullptr);
}

// The default room order: every room in list order.
std::vector<std::int32_t> all_rooms(const GameFile& game)
{
    std::vector<std::int32_t> order;
    for (int i = 0; i < game.rooms.count(); ++i) {
        if (game.rooms.exists(i))
            order.push_back(i);
    }
    return order;
}

void pack_room_order(Fields& manifest, const PackContext& context, GameFile& game)
{
    manifest.get("room_order_version", game.room_order_version);
    if (const Json* order = manifest.take("room_order")) {
        if (!order->is_array())
            manifest.fail("room_order", "expected an array of rooms");
        for (const Json& room : *order)
            game.room_order.push_back(context.names.rooms.resolve(manifest, "room_order", room));
    } else {
        game.room_order = all_rooms(game);
    }
    if (game.room_order.empty())
        manifest.fail("room_order", "a game needs at least one room to start in");
}

// An entry per slot: null for an empty slot, the bare name when fill adds nothing, else an object.
template<typename T, typename Fill>
void unpack_list(const ResourceList<T>& list, const std::string& key, Json& manifest, Fill fill)
{
    Json out = Json::array();
    for (int i = 0; i < list.count(); ++i) {
        if (!list.exists(i)) {
            out.push_back(nullptr);
            continue;
        }
        Json entry {{"name", game_text(list.slot_name(i))}};
        fill(*list.get(i), list.slot_name(i), entry);
        out.push_back(entry.size() == 1 ? entry["name"] : entry);
    }
    if (!out.empty())
        manifest[key] = std::move(out);
}

// Records in files of their own; make(record, code_folder) gives the JSON of one.
template<typename T, typename Make>
void unpack_file_list(const ResourceList<T>& list, const std::string& folder, Json& manifest, UnpackContext& context,
                      Make make)
{
    unpack_list(list, folder, manifest, [&](const T& record, const std::string& name, Json& entry) {
        std::string path = context.claim_path(folder, safe_stem(name), ".json");
        if (path != folder + "/" + win1252_to_utf8(name) + ".json")
            entry["file"] = path;
        std::string code_folder = path.substr(0, path.size() - 5);
        context.add_file(path, json_file_bytes(make(record, code_folder)));
    });
}

// Whether the ids are exactly those that packing assigns when none are given.
bool ids_are_automatic(const GameFile& game)
{
    const GameFile fresh;
    std::int32_t instance_id = fresh.last_instance_id;
    std::int32_t tile_id = fresh.last_tile_id;
    for (int i = 0; i < game.rooms.count(); ++i) {
        const CRoom* room = game.rooms.get(i);
        for (const PlacedInstance& instance : room ? room->instances : std::vector<PlacedInstance> {}) {
            if (instance.id != ++instance_id)
                return false;
        }
        for (const PlacedTile& tile : room ? room->tiles : std::vector<PlacedTile> {}) {
            if (tile.id != ++tile_id)
                return false;
        }
    }
    return game.last_instance_id == instance_id && game.last_tile_id == tile_id;
}

void unpack_rooms(const GameFile& game, Json& manifest, UnpackContext& context)
{
    bool write_ids = !ids_are_automatic(game);
    unpack_file_list(game.rooms, "rooms", manifest, context, [&](const CRoom& room, const std::string& code_folder) {
        return unpack_room(room, context, code_folder, write_ids);
    });
    if (!write_ids)
        return;
    const GameFile fresh;
    std::int32_t last_instance = fresh.last_instance_id;
    std::int32_t last_tile = fresh.last_tile_id;
    for (int i = 0; i < game.rooms.count(); ++i) {
        const CRoom* room = game.rooms.get(i);
        for (const PlacedInstance& instance : room ? room->instances : std::vector<PlacedInstance> {})
            last_instance = std::max(last_instance, instance.id);
        for (const PlacedTile& tile : room ? room->tiles : std::vector<PlacedTile> {})
            last_tile = std::max(last_tile, tile.id);
    }
    if (game.last_instance_id != last_instance)
        manifest["last_instance_id"] = game.last_instance_id;
    if (game.last_tile_id != last_tile)
        manifest["last_tile_id"] = game.last_tile_id;
}

void unpack_room_order(const GameFile& game, Json& manifest, const UnpackContext& context)
{
    if (game.room_order_version != ROOM_ORDER_VERSION)
        manifest["room_order_version"] = game.room_order_version;
    if (game.room_order == all_rooms(game))
        return;
    Json order = Json::array();
    for (std::int32_t room : game.room_order)
        order.push_back(context.names.rooms.reference(room));
    manifest["room_order"] = std::move(order);
}

// Passes reads on, remembering every file read.
class ReadLog : public ProjectSource {
public:
    explicit ReadLog(const ProjectSource& source) : m_source(source) {}
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) const override
    {
        m_read.insert(path);
        return m_source.read(path);
    }
    bool exists(const std::string& path) const override { return m_source.exists(path); }
    std::vector<std::string> list() const override { return m_source.list(); }
    bool was_read(const std::string& path) const { return m_read.contains(path); }

private:
    const ProjectSource& m_source;         // the project
    mutable std::set<std::string> m_read;  // paths read so far
};

}  // namespace

GameFile pack_project(const ProjectSource& project, std::int32_t seed, std::vector<std::string>* unused)
{
    ReadLog source(project);
    Json json = read_json_file(source, MANIFEST_FILE);
    Fields manifest(json, Place {MANIFEST_FILE, ""});
    GameFile game;
    game.seed = seed;
    CodeChecks checks;
    PackContext context {source, {}, &checks};

    std::vector<ListEntry> sounds = list_entries(manifest, "sounds", "sound");
    std::vector<ListEntry> sprites = list_entries(manifest, "sprites", "sprite");
    std::vector<ListEntry> backgrounds = list_entries(manifest, "backgrounds", "background");
    std::vector<ListEntry> paths = list_entries(manifest, "paths", "path");
    std::vector<ListEntry> scripts = list_entries(manifest, "scripts", "script");
    std::vector<ListEntry> data_files = list_entries(manifest, "data_files", "data file");
    std::vector<ListEntry> time_lines = list_entries(manifest, "time_lines", "time line");
    std::vector<ListEntry> objects = list_entries(manifest, "objects", "object");
    std::vector<ListEntry> rooms = list_entries(manifest, "rooms", "room");
    context.names = {names_of(sprites, "sprite"), names_of(backgrounds, "background"), names_of(objects, "object"),
                     names_of(rooms, "room")};

    pack_header(manifest, context, game);
    pack_settings(manifest, context, game.settings);
    pack_list(sounds, game.sounds, [&](Fields& f, const std::string& name) { return pack_sound(f, name, context); });
    pack_list(sprites, game.sprites, [&](Fields& f, const std::string& name) { return pack_sprite(f, name, context); });
    pack_list(backgrounds, game.backgrounds,
              [&](Fields& f, const std::string& name) { return pack_background(f, name, context); });
    pack_list(paths, game.paths, [&](Fields& f, const std::string&) { return pack_path(f); });
    pack_list(scripts, game.scripts, [&](Fields& f, const std::string& name) { return pack_script(f, name, context); });
    pack_list(data_files, game.data_files,
              [&](Fields& f, const std::string& name) { return pack_data_file(f, name, context); });
    pack_file_list(time_lines, "time_lines", context, game.time_lines,
                   [&](const Json& j, const Place& p) { return pack_time_line(j, p, context); });
    pack_file_list(objects, "objects", context, game.objects,
                   [&](const Json& j, const Place& p) { return pack_object(j, p, context); });
    pack_rooms(manifest, rooms, context, game);
    pack_information(manifest, context, game.information);
    pack_libraries(manifest, context, game);
    pack_room_order(manifest, context, game);
    manifest.finish();
    checks.run(game);
    if (unused) {
        for (const std::string& path : source.list())
            if (!source.was_read(path))
                unused->push_back(path);
        std::sort(unused->begin(), unused->end());
    }
    return game;
}


ProjectFiles unpack_game(const GameFile& game)
{
    ProjectFiles files;
    UnpackContext context(game, files);
    context.claim_path("", "game", ".json");
    Json manifest = Json::object();
    unpack_header(game, manifest, context);
    unpack_settings(game.settings, manifest, context);
    unpack_list(game.sounds, "sounds", manifest, [&](const CSound& sound, const std::string& name, Json& entry) {
        unpack_sound(sound, name, entry, context);
    });
    unpack_list(game.sprites, "sprites", manifest, [&](const CSprite& sprite, const std::string& name, Json& entry) {
        unpack_sprite(sprite, name, entry, context);
    });
    unpack_list(game.backgrounds, "backgrounds", manifest,
                [&](const CBackground& background, const std::string& name, Json& entry) {
                    unpack_background(background, name, entry, context);
                });
    unpack_list(game.paths, "paths", manifest,
                [&](const CPath& path, const std::string&, Json& entry) { unpack_path(path, entry); });
    unpack_list(game.scripts, "scripts", manifest,
                [&](const ScriptSource& script, const std::string& name, Json& entry) {
                    unpack_script(script, name, entry, context);
                });
    unpack_list(game.data_files, "data_files", manifest,
                [&](const CDataFile& file, const std::string& name, Json& entry) {
                    unpack_data_file(file, name, entry, context);
                });
    unpack_file_list(game.time_lines, "time_lines", manifest, context,
                     [&](const CTimeLine& time_line, const std::string& code_folder) {
                         return unpack_time_line(time_line, context, code_folder);
                     });
    unpack_file_list(game.objects, "objects", manifest, context,
                     [&](const CObject& object, const std::string& code_folder) {
                         return unpack_object(object, context, code_folder);
                     });
    unpack_rooms(game, manifest, context);
    unpack_information(game.information, manifest, context);
    unpack_libraries(game, manifest, context);
    unpack_room_order(game, manifest, context);
    files[MANIFEST_FILE] = json_file_bytes(manifest);
    return files;
}

}  // namespace quillon
