// Saved games: the running game written to a file at once, and read back in place of the running game.
#include "world/save_game.h"

#include "code/builtin_variables.h"
#include "code/executer.h"
#include "support/game_path.h"

#include <system_error>

namespace quillon {

namespace {

constexpr const char* SECURE_SAVE_REFUSED = "In secure mode you cannot save game to file ";
constexpr const char* SAVE_FAILED = "Failed to save game to file ";
constexpr const char* LOAD_FAILED = "Failed to load game from file ";
constexpr const char* OTHER_VERSION = "Cannot load game saved with other version.";
constexpr const char* OTHER_GAME = "This is a save file for a different game!";
constexpr const char* DAMAGED = " is damaged: the game goes on as it was.";

// Everything of a save file after its version and game id, read before any of it replaces the running game.
struct SavedGame {
    std::int32_t room = -1;                            // the current room index
    World::Transition transition;                      // transition kind and parameters
    GameCounters counters;                             // score, lives, health
    std::size_t globals_at = 0;                        // where the global variables start in the file
    std::vector<std::unique_ptr<LiveRoom>> rooms;      // per room index, the live room or none
};

// False when the file ends early or holds something no save writes.
bool read_saved_game(CStream& stream, const World& world, SavedGame& saved)
{
    try {
        saved.room = stream.ReadInt();
        saved.transition.kind = stream.ReadInt();
        saved.transition.time = stream.ReadInt();
        saved.transition.steps = stream.ReadInt();
        saved.counters.score = stream.ReadInt();
        saved.counters.lives = stream.ReadInt();
        saved.counters.health = stream.ReadReal();
        saved.globals_at = stream.position();
        CVariableList globals;
        globals.load(stream);
        saved.rooms.resize(world.live_room_slots());
        for (std::unique_ptr<LiveRoom>& room : saved.rooms) {
            if (!stream.ReadBool())
                continue;
            room = std::make_unique<LiveRoom>(world.tree());
            if (!room->load(stream, world.tree().objects(), &world.sprites()))
                return false;
        }
    } catch (const StreamError&) {
        return false;
    }
    return saved.room >= 0 && saved.room < static_cast<std::int32_t>(saved.rooms.size()) && saved.rooms[saved.room];
}

}  // namespace

std::string quick_save_name(std::int32_t game_id) { return "_save" + std::to_string(game_id) + ".sav"; }

bool save_game(const World& world, const std::string& file_name, bool secure_mode)
{
    // 1. Secure mode keeps saves in the current directory.
    if (secure_mode && file_name.find_first_of("\\/") != std::string::npos) {
        errors().report_in_context(SECURE_SAVE_REFUSED + file_name, false);
        return false;
    }
    // 2. The game into memory.
    CStream stream;
    stream.WriteInt(SAVE_FILE_VERSION);
    stream.WriteInt(world.game_id());
    stream.WriteInt(world.current_room_index());
    World::Transition transition = world.transition();
    stream.WriteInt(transition.kind);
    stream.WriteInt(transition.time);
    stream.WriteInt(transition.steps);
    stream.WriteInt(game_counters().score);
    stream.WriteInt(game_counters().lives);
    stream.WriteReal(game_counters().health);
    global_variables().save(stream);
    for (int index = 0; index < world.live_room_slots(); ++index) {
        const LiveRoom* room = world.live_room(index);
        stream.WriteBool(room != nullptr);
        if (room)
            room->save(stream);
    }
    // 3. Into a temporary file beside the target, renamed over it once complete.
    std::filesystem::path target = creation_game_path(file_name);
    std::filesystem::path temporary = target;
    temporary += ".part";
    std::error_code error;
    if (!stream.save_to_file(temporary) || (std::filesystem::rename(temporary, target, error), error)) {
        std::filesystem::remove(temporary, error);
        errors().report(SAVE_FAILED + file_name, false);
        return false;
    }
    return true;
}

bool load_game(World& world, const std::string& file_name)
{
    // 1. No file, nothing to do.
    std::filesystem::path path = find_game_path(file_name);
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    // 2. The whole file into memory.
    std::optional<CStream> file = CStream::from_file(path);
    if (!file) {
        errors().report(LOAD_FAILED + file_name, false);
        return false;
    }
    // 3. The version and the game.
    CStream& stream = *file;
    try {
        if (stream.ReadInt() != SAVE_FILE_VERSION) {
            errors().report(OTHER_VERSION, false);
            return false;
        }
        if (stream.ReadInt() != world.game_id()) {
            errors().report(OTHER_GAME, false);
            return false;
        }
    } catch (const StreamError&) {
        errors().report(std::string("The save file ") + file_name + DAMAGED, false);
        return false;
    }
    // 4. Everything else is read aside, so that a damaged file leaves the running game untouched.
    SavedGame saved;
    if (!read_saved_game(stream, world, saved)) {
        errors().report(std::string("The save file ") + file_name + DAMAGED, false);
        return false;
    }
    // 5. The saved game replaces the running one: counters, transition, global variables (read again, now
    // known to be whole), and every live room; the current room is shown at its size.
    world.set_transition(saved.transition);
    game_counters() = saved.counters;
    stream.set_position(saved.globals_at);
    global_variables().load(stream);
    world.replace_live_rooms(std::move(saved.rooms), saved.room);
    return true;
}

}  // namespace quillon
