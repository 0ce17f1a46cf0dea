// World: the running game's objects, rooms and instances, perform event, and the host the language calls.
#include "world/world.h"

#include "world/event_names.h"

#include "code/script.h"

namespace quillon {

World::World(WorldResources resources, WorldHooks hooks)
    : m_objects(resources.objects)
    , m_time_lines(resources.time_lines)
    , m_rooms(resources.rooms)
    , m_paths(resources.paths)
    , m_sprites(resources.sprites)
    , m_backgrounds(resources.backgrounds)
    , m_sounds(resources.sounds)
    , m_data_files(resources.data_files)
    , m_library_code(resources.action_library_code)
    , m_room_order(resources.room_order)
    , m_game_id(resources.game_id)
    , m_hooks(std::move(hooks))
    , m_tree(resources.objects)
    , m_last_instance_id(resources.last_instance_id)
    , m_last_tile_id(resources.last_tile_id)
    , m_previous_host(&host())
{
    // The room order block is refused when empty; an empty order here is a game built in memory.
    if (m_room_order.empty())
        m_room_order.push_back(0);
}

namespace {

World* s_installed = nullptr;

// Compiling sets the current place action by action; afterwards the place is what it was.
struct ContextRestorer {
    ErrorContext saved = errors().m_context;  // the place before compiling
    ~ContextRestorer() { errors().m_context = saved; }
};

}  // namespace

World::~World()
{
    if (s_installed == this)
        s_installed = nullptr;
    if (&host() == this)
        set_host(m_previous_host);
}

void World::install()
{
    if (&host() != this)
        m_previous_host = &host();
    set_host(this);
    s_installed = this;
}

World* World::installed() { return s_installed && &host() == s_installed ? s_installed : nullptr; }

bool World::compile_time_lines()
{
    ContextRestorer restore;
    LoadNotice notice = m_hooks.show_message;
    for (int index = 0; index < m_time_lines.count(); ++index) {
        CTimeLine* time_line = m_time_lines.get(index);
        if (!time_line)
            continue;
        for (Moment& moment : time_line->moments)
            if (!compile_event(moment.event, {index, ErrorContext::TIME_LINE_EVENT, moment.step, 0}, notice))
                return false;
    }
    return true;
}

bool World::compile_objects()
{
    ContextRestorer restore;
    LoadNotice notice = m_hooks.show_message;
    for (int index = 0; index < m_objects.count(); ++index) {
        CObject* object = m_objects.get(index);
        if (!object)
            continue;
        for (int kind = 0; kind < EVENT_KIND_COUNT; ++kind)
            for (NumberedEvent& numbered : object->events[kind])
                if (!compile_event(numbered.event, {index, kind, numbered.number, 0}, notice))
                    return false;
    }
    return true;
}

std::int32_t World::previous_room(std::int32_t room) const
{
    for (std::size_t i = 1; i < m_room_order.size(); ++i)
        if (m_room_order[i] == room)
            return m_room_order[i - 1];
    return -1;
}

std::int32_t World::next_room(std::int32_t room) const
{
    for (std::size_t i = m_room_order.size() - 1; i-- > 0;)
        if (m_room_order[i] == room)
            return m_room_order[i + 1];
    return -1;
}

int World::instance_count() { return m_current ? m_current->instance_count() : 0; }

ScriptInstance* World::instance_at(int index)
{
    return m_current && index >= 0 && index < m_current->instance_count() ? m_current->instance(index) : nullptr;
}

int World::object_instance_count(int object) { return m_current ? m_current->descendants_count(object) : 0; }

ScriptInstance* World::object_instance_at(int object, int index)
{
    return m_current && index >= 0 && index < m_current->descendants_count(object)
               ? m_current->descendant_instance(object, index)
               : nullptr;
}

// ORDER: objects, sprites, sounds, backgrounds, paths, data files, time lines, scripts, rooms.
std::optional<double> World::resource_index(std::string_view name)
{
    const int found[] = {m_objects.find(name),   m_sprites.find(name),    m_sounds.find(name),
                         m_backgrounds.find(name), m_paths.find(name),    m_data_files.find(name),
                         m_time_lines.find(name), scripts().find(name),   m_rooms.find(name)};
    for (int index : found)
        if (index >= 0)
            return index;
    return std::nullopt;
}

std::string World::event_name(int kind, int number) { return quillon::event_name(kind, number, m_objects); }

}  // namespace quillon
