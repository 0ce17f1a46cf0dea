// World: starting and ending games and rooms, room requests, and the carry-over of persistent instances.
#include "world/world.h"

#include "code/builtin_variables.h"
#include "code/code_unit.h"
#include "code/executer.h"
#include "code/script.h"

#include <algorithm>

namespace quillon {

void World::start_game()
{
    // 1. Global variables and the game counters; health keeps its value.
    global_variables().clear();
    game_counters().score = 0;
    game_counters().lives = -1;
    // 2. No transition yet.
    m_transition_kind = 0;
    m_transition_time = 0;
    m_transition_steps = 40;
    // 3. The action libraries' initialisation code, each for a temporary instance.
    for (const std::string& code : m_library_code)
        if (!code.empty())
            run_code_text(code, nullptr, "COMPILATION ERROR in library initialization code\r", true);
    // 4. One empty live slot per room, nothing carried.
    m_live_rooms.clear();
    m_live_rooms.resize(m_rooms.count());
    m_carried.clear();
    m_current = nullptr;
    m_room = -1;
    // 5. The first room of the order, as the start of the game, unless library code stopped the game: starting
    // the room would forget that.
    if (m_pending_change != CHANGE_STOP)
        start_room(first_room(), true);
}

void World::end_game_world()
{
    if (m_current)
        end_room(true);
    m_live_rooms.clear();
    m_carried.clear();
    m_current = nullptr;
    m_room = -1;
}

void World::change_room(std::int32_t room)
{
    if (m_current)
        end_room(false);
    start_room(room, false);
}

void World::go_to_room(std::int32_t room, std::int32_t transition_kind)
{
    if (!m_rooms.exists(room)) {
        errors().report_in_context("Unexisting room number: " + std::to_string(room), true);
        m_pending_change = CHANGE_STOP;
        return;
    }
    m_pending_change = room;
    m_transition_kind = transition_kind;
}

void World::go_to_previous_room()
{
    std::int32_t room = previous_room(m_room);
    if (room < 0) {
        errors().report_in_context("Moving to previous room before the first room.", true);
        m_pending_change = CHANGE_STOP;
        return;
    }
    go_to_room(room, m_transition_kind);
}

void World::go_to_next_room()
{
    std::int32_t room = next_room(m_room);
    if (room < 0) {
        errors().report_in_context("Moving to next room after the last room.", true);
        m_pending_change = CHANGE_STOP;
        return;
    }
    go_to_room(room, m_transition_kind);
}

void World::end_room(bool game_ends)
{
    LiveRoom& room = *m_current;
    // 1. Instances destroyed in the last step go first.
    room.remove_marked();
    // 2. Room End, and Game End when the game ends, run even while a change waits.
    std::int32_t pending = m_pending_change;
    m_pending_change = CHANGE_NONE;
    perform_event_for_all(EVENT_OTHER, OTHER_ROOM_END);
    if (game_ends)
        perform_event_for_all(EVENT_OTHER, OTHER_GAME_END);
    m_pending_change = pending;
    // 3. Persistent instances leave with a copy; the ones in the room are marked.
    m_carried.clear();
    for (int i = 0; i < room.instance_count(); ++i) {
        CInstance& instance = *room.instance(i);
        if (instance.m_destroyed || !instance.persistent)
            continue;
        m_carried.push_back(std::make_unique<CInstance>(instance));
        instance.m_destroyed = true;
    }
    // 4. A room that does not persist is freed; a persistent one waits in its slot as it is.
    if (!room.persistent)
        m_live_rooms[m_room].reset();
    m_current = nullptr;
    // 5. Images and sounds loaded on use may be released.
    if (m_hooks.release_room_resources)
        m_hooks.release_room_resources();
}

std::unique_ptr<CInstance> World::new_instance(std::int32_t object, double x, double y)
{
    auto instance = std::make_unique<CInstance>(&m_sprites);
    instance->create(++m_last_instance_id, object, m_objects.get(object), x, y);
    return instance;
}

LiveRoom& World::make_live_room(std::int32_t room)
{
    const CRoom& stored = *m_rooms.get(room);
    auto live = std::make_unique<LiveRoom>(m_tree);
    live->copy_template(stored);
    for (const PlacedInstance& placed : stored.instances) {
        auto instance = std::make_unique<CInstance>(&m_sprites);
        instance->create(placed.id, placed.object, m_objects.get(placed.object), placed.x, placed.y);
        instance->creation_code = placed.creation_code;
        live->append(std::move(instance));
    }
    m_live_rooms[room] = std::move(live);
    return *m_live_rooms[room];
}

// Each carried instance replaces any instance of the room with its id, and comes in as a new instance
// (drawing an id from the counter) that then takes every field of the carried one, its id included.
void World::bring_carried_instances()
{
    for (std::unique_ptr<CInstance>& carried : m_carried) {
        for (int i = 0; i < m_current->instance_count(); ++i)
            if (m_current->instance(i)->m_id == carried->m_id)
                m_current->instance(i)->m_destroyed = true;
        auto arriving = new_instance(carried->object_index, carried->x(), carried->y());
        arriving->copy_from(*carried);
        m_current->append(std::move(arriving));
        carried.reset();
    }
}

void World::start_room(std::int32_t room, bool game_starts)
{
    // 1. No change waits any more; input of the last room is forgotten.
    m_pending_change = CHANGE_NONE;
    if (m_hooks.clear_input)
        m_hooks.clear_input();
    // 2. The room's live copy: kept from an earlier visit when persistent, else made from the template.
    if (!m_rooms.exists(room)) {
        errors().report("Unexisting room number: " + std::to_string(room), true);
        m_pending_change = CHANGE_STOP;
        return;
    }
    m_room = room;
    bool is_new = !m_live_rooms[room];
    m_current = is_new ? &make_live_room(room) : m_live_rooms[room].get();
    int template_count = m_current->instance_count();
    // 3. The display takes the room's size.
    size_display();
    // 4. Persistent instances arrive.
    bring_carried_instances();
    // 5. A new room's own instances run their creation code and create event, one instance after the other.
    if (is_new) {
        for (int i = 0; i < template_count; ++i) {
            CInstance& instance = *m_current->instance(i);
            if (instance.m_destroyed)
                continue;
            if (!instance.creation_code.empty())
                run_code_text(instance.creation_code, &instance,
                              "COMPILATION ERROR in initialization code for instance\r", false);
            perform_event_for(instance, &instance, EVENT_CREATE, 0);
        }
    }
    // 6. Nothing is carried any more.
    m_carried.clear();
    // 7. Game Start when the game begins.
    if (game_starts)
        perform_event_for_all(EVENT_OTHER, OTHER_GAME_START);
    // 8. A new room's creation code.
    if (is_new && !m_current->creation_code.empty())
        run_code_text(m_current->creation_code, nullptr, "COMPILATION ERROR in room script\r", false);
    // 9. Room Start.
    perform_event_for_all(EVENT_OTHER, OTHER_ROOM_START);
    // 10. Unless another change waits, the room is shown with its transition.
    if (m_pending_change != CHANGE_NONE)
        return;
    if (m_hooks.show_room)
        m_hooks.show_room();
    m_transition_kind = 0;
}

void World::size_display()
{
    if (!m_hooks.size_display)
        return;
    int width = m_current->width;
    int height = m_current->height;
    if (m_current->views_enabled) {
        width = height = 8;
        for (const RoomView& view : m_current->views) {
            if (!view.visible)
                continue;
            width = std::max(width, view.port_x + view.width);
            height = std::max(height, view.port_y + view.height);
        }
    }
    m_hooks.size_display(width, height);
}

void World::replace_live_rooms(std::vector<std::unique_ptr<LiveRoom>> rooms, std::int32_t room)
{
    m_live_rooms = std::move(rooms);
    m_carried.clear();
    m_room = room;
    m_current = m_live_rooms[room].get();
    size_display();
}

// Compiled afresh every time. Without a self, a temporary instance of no object runs the code.
void World::run_code_text(const std::string& text, CInstance* self, const char* failure, bool fatal)
{
    CCode code(text, false);
    if (!code.compile()) {
        std::string message = failure + errors().code_error_text();
        errors().clear_code_error();
        errors().report(message, fatal);
        return;
    }
    CInstance temporary(&m_sprites);
    if (!self) {
        temporary.create(0, -1, nullptr, 0, 0);
        self = &temporary;
    }
    Value result;
    execute_reporting(self, self, code, result);
}

}  // namespace quillon
