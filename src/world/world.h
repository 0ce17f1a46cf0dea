// World: the running game's objects, rooms and instances, perform event, and the host the language calls.
#pragma once

#include "code/host.h"
#include "graphics/background.h"
#include "graphics/sprite.h"
#include "sound/sound.h"
#include "support/data_file.h"
#include "support/resource_list.h"
#include "world/action_program.h"
#include "world/live_room.h"
#include "world/object_tree.h"
#include "world/path.h"
#include "world/room.h"
#include "world/time_line.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

// The loaded resources the world plays with. Objects and time lines are compiled in place; the lists
// must outlive the world.
struct WorldResources {
    ResourceList<CObject>& objects;                      // compiled by compile_objects
    ResourceList<CTimeLine>& time_lines;                 // compiled by compile_time_lines
    const ResourceList<CRoom>& rooms;                    // templates of the live rooms
    const ResourceList<CPath>& paths;                    // followed by instances
    const ResourceList<CSprite>& sprites;                // bounding boxes and image counts
    const ResourceList<CBackground>& backgrounds;        // sizes of background layers
    const ResourceList<CSound>& sounds;                  // names only
    const ResourceList<CDataFile>& data_files;           // names only
    const std::vector<std::string>& action_library_code; // run when a game starts
    const std::vector<std::int32_t>& room_order;         // room indices in playing order, at least one
    std::int32_t last_instance_id = FIRST_INSTANCE_ID;   // the instance id counter starts after this
    std::int32_t last_tile_id = 1000000;                 // the tile id counter starts after this
    std::int32_t game_id = 0;                            // `game_id`
};

// What the world asks of the services above it. Each hook may stay unset.
struct WorldHooks {
    std::function<void(std::string_view text)> show_message;  // a plain message box at load time
    std::function<void(int width, int height)> size_display;  // a room starts: its display size
    std::function<void()> show_room;                          // draw the new room and show it with the transition
    std::function<void()> clear_input;                        // forget keys, buttons and typed text
    std::function<void()> release_room_resources;             // a room ended: images loaded on use may go
};

// The pending change: none, a room index, or one of these.
constexpr std::int32_t CHANGE_NONE = -1;
constexpr std::int32_t CHANGE_END_GAME = -100;
constexpr std::int32_t CHANGE_RESTART = -200;
constexpr std::int32_t CHANGE_LOAD = -300;
constexpr std::int32_t CHANGE_STOP = -400;

// Other event numbers the world performs.
constexpr int OTHER_GAME_START = 2;
constexpr int OTHER_GAME_END = 3;
constexpr int OTHER_ROOM_START = 4;
constexpr int OTHER_ROOM_END = 5;
constexpr int OTHER_ANIMATION_END = 7;
constexpr int OTHER_END_OF_PATH = 8;
constexpr int OTHER_USER_0 = 10;

class World : public ScriptHost {
public:
    World(WorldResources resources, WorldHooks hooks = {});
    ~World() override;

    // Becomes the language's host; variables the world does not keep go to the host installed before.
    void install();
    // The world installed as host, or none (built-in functions reach the world through it).
    static World* installed();

    // Preparation. The first compile error is reported as fatal and fails the step.
    bool compile_time_lines();
    bool compile_objects();

    // A game: global variables cleared, counters reset, library code run, then the first room.
    void start_game();
    // Room End and Game End for everyone; every live room freed.
    void end_game_world();
    // Carries out a pending room index: the current room ends and that room starts.
    void change_room(std::int32_t room);
    std::int32_t pending_change() const { return m_pending_change; }
    void set_pending_change(std::int32_t change) { m_pending_change = change; }
    void set_running(bool running) { m_running = running; }

    // Room requests: stored as the pending change; a room that does not exist is a fatal error.
    void go_to_room(std::int32_t room, std::int32_t transition_kind);
    void go_to_previous_room();
    void go_to_next_room();
    void restart_room() { go_to_room(m_room, m_transition_kind); }
    // The room order: the first and last room, the neighbours of a room, -1 where there is none.
    std::int32_t first_room() const { return m_room_order.front(); }
    std::int32_t last_room() const { return m_room_order.back(); }
    std::int32_t previous_room(std::int32_t room) const;
    std::int32_t next_room(std::int32_t room) const;

    std::int32_t current_room_index() const { return m_room; }
    LiveRoom* current_room() const { return m_current; }
    const ObjectTree& tree() const { return m_tree; }

    // Perform event: looked up from the object through its parents; nothing while a change is pending.
    void perform_event(CInstance* self, CInstance* other, std::int32_t object, int kind, std::int32_t number);
    void perform_event_for(CInstance& instance, CInstance* other, int kind, std::int32_t number)
    {
        perform_event(&instance, other, instance.object_index, kind, number);
    }
    // Every instance of the room in array order, marked ones skipped, as self and other.
    void perform_event_for_all(int kind, std::int32_t number);
    void perform_moment(CInstance& instance, std::int32_t time_line, int moment);
    // The current event again, looked up from the parent of the current event's object.
    void perform_inherited(CInstance* self, CInstance* other);

    // Instances in the current room. Errors are non-fatal and reported at the current place.
    CInstance* create_instance(std::int32_t object, double x, double y);
    void destroy_instance(CInstance& instance);
    CInstance* change_instance(CInstance& instance, std::int32_t object, bool perform_events);
    // True when the object exists; else reports "Asking to change into non-existing object: " and the number.
    bool can_change_into(std::int32_t object) const;
    void set_sprite_checked(CInstance& instance, std::int32_t sprite);

    // Parts of a step, for one instance: friction, gravity, path and move; the image; the time line.
    void move_instance(CInstance& instance);
    void animate_instance(CInstance& instance);
    void advance_time_line(CInstance& instance);

    // ScriptHost.
    int instance_count() override;
    ScriptInstance* instance_at(int index) override;
    int object_instance_count(int object) override;
    ScriptInstance* object_instance_at(int object, int index) override;
    ScriptInstance* find_instance(std::int32_t id) override { return m_current ? m_current->find_instance(id) : nullptr; }
    bool get_variable(ScriptInstance* self, int id, int index, Value& result) override;
    bool set_variable(ScriptInstance* self, int id, int index, const Value& value) override;
    void perform_other_event_for_all(int number) override { perform_event_for_all(EVENT_OTHER, number); }
    std::string object_name(int object) override { return m_objects.name(object); }
    std::string timeline_name(int time_line) override { return m_time_lines.name(time_line); }
    std::string event_name(int kind, int number) override;
    bool game_running() override { return m_running; }
    void end_game() override { m_pending_change = CHANGE_STOP; }
    std::optional<double> resource_index(std::string_view name) override;
    void debug_message(std::string_view text) override { m_previous_host->debug_message(text); }

    // The game loop and saved games.
    struct Transition {
        std::int32_t kind = 0;    // `transition_kind`
        std::int32_t time = 0;    // `transition_time`
        std::int32_t steps = 40;  // `transition_steps`
    };
    Transition transition() const { return {m_transition_kind, m_transition_time, m_transition_steps}; }
    void set_transition(const Transition& transition)
    {
        m_transition_kind = transition.kind;
        m_transition_time = transition.time;
        m_transition_steps = transition.steps;
    }
    std::int32_t game_id() const { return m_game_id; }
    const ResourceList<CSprite>& sprites() const { return m_sprites; }
    // One slot per room index, each with its live room or none.
    int live_room_slots() const { return static_cast<int>(m_live_rooms.size()); }
    const LiveRoom* live_room(int index) const { return m_live_rooms[index].get(); }
    // A loaded game: every live room replaced, the room becomes the current one (its slot must hold a room)
    // and the display takes its size. No event runs.
    void replace_live_rooms(std::vector<std::unique_ptr<LiveRoom>> rooms, std::int32_t room);

    // For the built-in functions: the relative flag of the current action, and a copy of an instance with a
    // new id (every other field, the variables included, as the original's; not marked), none for an instance of
    // no object.
    bool relative() const { return m_relative; }
    CInstance* copy_instance(const CInstance& instance, bool perform_create);
    // The next number of the game-wide tile id counter, for a tile added while the game plays.
    std::int32_t next_tile_id() { return ++m_last_tile_id; }
    // The backgrounds, which the drawing actions check before drawing one.
    const ResourceList<CBackground>& backgrounds() const { return m_backgrounds; }
    // The other resources, which game code asks about.
    const ResourceList<CRoom>& rooms() const { return m_rooms; }
    const ResourceList<CPath>& paths() const { return m_paths; }
    const ResourceList<CSound>& sounds() const { return m_sounds; }
    const ResourceList<CDataFile>& data_files() const { return m_data_files; }

private:
    // Running actions.
    int execute_at(const std::vector<CAction>& actions, int index, CInstance* self, CInstance* other);
    int skip_at(const std::vector<CAction>& actions, int index) const;
    bool perform_action(const CAction& action, CInstance* self, CInstance* other);
    bool run_for_object(const CAction& action, CInstance* other);
    bool run_action(const CAction& action, CInstance* self, CInstance* other);
    void evaluate_arguments(const CAction& action, CInstance* self, CInstance* other, Value* into);
    void evaluate_argument(const CAction& action, int index, CInstance* self, CInstance* other, Value& into);
    void run_actions(const CEvent& event, CInstance* self, CInstance* other);
    // Code of a room or library, compiled each time it runs, for an instance or a temporary one.
    void run_code_text(const std::string& text, CInstance* self, const char* failure, bool fatal);

    // Rooms.
    void end_room(bool game_ends);
    void start_room(std::int32_t room, bool game_starts);
    void size_display();
    LiveRoom& make_live_room(std::int32_t room);
    void bring_carried_instances();
    std::unique_ptr<CInstance> new_instance(std::int32_t object, double x, double y);

    // Variables.
    bool get_instance_variable(CInstance& self, int variable, int index, Value& result);
    bool set_instance_variable(CInstance& self, int variable, int index, const Value& value);
    bool get_room_variable(int variable, int index, Value& result);
    bool set_room_variable(int variable, int index, const Value& value);

    ResourceList<CObject>& m_objects;               // the objects, compiled
    ResourceList<CTimeLine>& m_time_lines;          // the time lines, compiled
    const ResourceList<CRoom>& m_rooms;             // room templates
    const ResourceList<CPath>& m_paths;             // paths followed by instances
    const ResourceList<CSprite>& m_sprites;         // sprites of instances
    const ResourceList<CBackground>& m_backgrounds; // backgrounds of layers
    const ResourceList<CSound>& m_sounds;           // for resource names
    const ResourceList<CDataFile>& m_data_files;    // for resource names
    const std::vector<std::string>& m_library_code; // action library initialisation code
    std::vector<std::int32_t> m_room_order;         // playing order, never empty
    std::int32_t m_game_id;                         // `game_id`
    WorldHooks m_hooks;                             // services above the world
    ObjectTree m_tree;                              // parent chains and event lookups

    std::vector<std::unique_ptr<LiveRoom>> m_live_rooms;  // per room index, the live room or none
    std::vector<std::unique_ptr<CInstance>> m_carried;    // persistent instances on their way to the next room
    LiveRoom* m_current = nullptr;                  // the live room played, none outside a game
    std::int32_t m_room = -1;                       // its index
    std::int32_t m_last_instance_id;                // ids counter, never reset
    std::int32_t m_last_tile_id;                    // tile ids counter, never reset
    std::int32_t m_pending_change = CHANGE_NONE;    // none, a room, or an end, restart, load or stop
    std::int32_t m_transition_kind = 0;             // the next room's transition
    std::int32_t m_transition_time = 0;
    std::int32_t m_transition_steps = 40;
    bool m_relative = false;                        // the relative flag of the current action
    bool m_running = false;                         // the game loop runs
    std::vector<std::int16_t> m_variable_kinds;     // per built-in variable id, the world's meaning or -1
    ScriptHost* m_previous_host = nullptr;          // the host before install, for everything else
};

}  // namespace quillon
