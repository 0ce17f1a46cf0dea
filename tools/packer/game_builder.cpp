// GameBuilder: small games written in a few lines of C++ for tests, built through the packer's own code.
#include "game_builder.h"

#include "packer.h"
#include "support/picture_file.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

Json& named(std::deque<std::pair<std::string, Json>>& list, const std::string& name)
{
    auto found = std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.first == name; });
    if (found != list.end())
        return found->second;
    return list.emplace_back(name, Json::object()).second;
}

}  // namespace

ObjectBuilder& ObjectBuilder::set(const std::string& field, Json value)
{
    m_record[field] = std::move(value);
    return *this;
}

ObjectBuilder& ObjectBuilder::on(const Json& event, const std::string& code)
{
    return on_actions(event, Json::array({{{"code", code}}}));
}

ObjectBuilder& ObjectBuilder::on_actions(const Json& event, Json actions)
{
    Json record = event.is_string() ? Json {{"event", event}} : event;
    record["actions"] = std::move(actions);
    m_record["events"].push_back(std::move(record));
    return *this;
}

RoomBuilder& RoomBuilder::set(const std::string& field, Json value)
{
    m_record[field] = std::move(value);
    return *this;
}

RoomBuilder& RoomBuilder::instance(const std::string& object, int x, int y, const std::string& creation_code)
{
    Json record {{"object", object}, {"x", x}, {"y", y}};
    if (!creation_code.empty())
        record["creation_code"] = creation_code;
    m_record["instances"].push_back(std::move(record));
    return *this;
}

ObjectBuilder GameBuilder::object(const std::string& name)
{
    return ObjectBuilder(named(m_objects, name));
}

RoomBuilder GameBuilder::room(const std::string& name)
{
    return RoomBuilder(named(m_rooms, name));
}

Json& GameBuilder::list_entry(const std::string& list, const std::string& name)
{
    Json& entries = m_manifest[list];
    entries.push_back({{"name", name}});
    return entries.back();
}

GameBuilder& GameBuilder::script(const std::string& name, const std::string& code)
{
    list_entry("scripts", name)["code"] = code;
    return *this;
}

GameBuilder& GameBuilder::sprite(const std::string& name, const std::vector<Bitmap24>& frames, Json fields)
{
    Json& entry = list_entry("sprites", name);
    entry["frames"] = Json::array();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        std::string path = "sprites/" + name + "/" + std::to_string(i) + ".png";
        m_files[path] = encode_png(frames[i]);
        entry["frames"].push_back(path);
    }
    entry.update(fields);
    return *this;
}

GameBuilder& GameBuilder::background(const std::string& name, const Bitmap24& image, Json fields)
{
    Json& entry = list_entry("backgrounds", name);
    std::string path = "backgrounds/" + name + ".png";
    m_files[path] = encode_png(image);
    entry["file"] = path;
    entry.update(fields);
    return *this;
}

GameBuilder& GameBuilder::manifest(const std::string& field, Json value)
{
    m_manifest[field] = std::move(value);
    return *this;
}

GameBuilder& GameBuilder::file(const std::string& path, std::vector<std::uint8_t> bytes)
{
    m_files[path] = std::move(bytes);
    return *this;
}

ProjectFiles GameBuilder::project() const
{
    ProjectFiles files = m_files;
    Json manifest = m_manifest;
    std::deque<std::pair<std::string, Json>> rooms = m_rooms;
    if (rooms.empty())
        rooms.emplace_back("room", Json::object());  // every game starts in a room
    for (auto [list, records] : {std::pair {"objects", &m_objects}, std::pair {"rooms", &std::as_const(rooms)}}) {
        for (const auto& [name, record] : *records) {
            manifest[list].push_back(name);
            files[std::string(list) + "/" + name + ".json"] = json_file_bytes(record);
        }
    }
    files[MANIFEST_FILE] = json_file_bytes(manifest);
    return files;
}

GameFile GameBuilder::build(std::int32_t seed) const
{
    ProjectFiles files = project();
    return pack_project(MemorySource(files), seed);
}

std::vector<std::uint8_t> GameBuilder::bytes(std::int32_t seed) const
{
    return write_game_file(build(seed));
}

void GameBuilder::write(const std::filesystem::path& path, std::int32_t seed) const
{
    write_file_atomically(path, bytes(seed));
}

}  // namespace quillon
