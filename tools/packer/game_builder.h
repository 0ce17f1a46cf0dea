// GameBuilder: small games written in a few lines of C++ for tests, built through the packer's own code.
//
//     GameBuilder builder;
//     builder.object("ball").on("create", "x = 5");
//     builder.room("main").instance("ball", 10, 20);
//     GameFile game = builder.build();
//
// Everything the project format offers is reachable: the fields of objects and rooms through set(), actions
// as JSON records, and any other file of the project (manifest fields, pictures, sounds) through file() and
// manifest().
#pragma once

#include "json_fields.h"
#include "runner/game_file.h"
#include "support/bitmap.h"

#include <deque>
#include <filesystem>

namespace quillon {

// One object of the game being built; a handle into its builder.
class ObjectBuilder {
public:
    explicit ObjectBuilder(Json& record) : m_record(record) {}

    // A field of the object record, such as "sprite", "solid", "depth" or "parent".
    ObjectBuilder& set(const std::string& field, Json value);
    // An event whose one action runs the code. The event is a kind name ("create", "step") or a record
    // ({"event": "collision", "with": "wall"}, {"event": "alarm", "number": 0}).
    ObjectBuilder& on(const Json& event, const std::string& code);
    // An event with the given actions, each a JSON action record.
    ObjectBuilder& on_actions(const Json& event, Json actions);

private:
    Json& m_record;  // the object's record in the builder
};

// One room of the game being built; a handle into its builder.
class RoomBuilder {
public:
    explicit RoomBuilder(Json& record) : m_record(record) {}

    // A field of the room record, such as "width", "speed" or "creation_code".
    RoomBuilder& set(const std::string& field, Json value);
    RoomBuilder& instance(const std::string& object, int x, int y, const std::string& creation_code = "");

private:
    Json& m_record;  // the room's record in the builder
};

class GameBuilder {
public:
    // Objects and rooms are listed in the order they are first named; later calls return the same one.
    ObjectBuilder object(const std::string& name);
    RoomBuilder room(const std::string& name);
    GameBuilder& script(const std::string& name, const std::string& code);
    // A sprite of one frame per bitmap; fields add to its manifest entry ({"origin_x": 8}).
    GameBuilder& sprite(const std::string& name, const std::vector<Bitmap24>& frames, Json fields = Json::object());
    GameBuilder& background(const std::string& name, const Bitmap24& image, Json fields = Json::object());
    // A top-level field of the manifest, such as "settings", "game_id" or "room_order".
    GameBuilder& manifest(const std::string& field, Json value);
    // Any file of the project, by its path in the project folder.
    GameBuilder& file(const std::string& path, std::vector<std::uint8_t> bytes);

    // The project folder's files, as quillon-pack would read them. A game without rooms gets an empty one
    // named "room", since the runner needs a room to start in.
    ProjectFiles project() const;
    // Packs the project; throws PackError as quillon-pack reports it.
    GameFile build(std::int32_t seed = 0) const;
    // The complete game file.
    std::vector<std::uint8_t> bytes(std::int32_t seed = 0) const;
    // Writes the game file, for the runner to load.
    void write(const std::filesystem::path& path, std::int32_t seed = 0) const;

private:
    Json& list_entry(const std::string& list, const std::string& name);

    Json m_manifest = Json::object();                       // game.json, without objects and rooms
    std::deque<std::pair<std::string, Json>> m_objects;     // name and record, in list order
    std::deque<std::pair<std::string, Json>> m_rooms;       // name and record, in list order
    ProjectFiles m_files;                                   // pictures, code and other files
};

}  // namespace quillon
