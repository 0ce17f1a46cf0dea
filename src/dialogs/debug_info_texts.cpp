// Debug information texts: the contents of the global-variables, local-variables and all-instances windows.
#include "dialogs/debug_info_texts.h"

#include "code/builtin_variables.h"
#include "code/executer.h"
#include "code/variable_list.h"
#include "code/variable_names.h"
#include "dialogs/debug_text.h"

#include <charconv>
#include <cstdio>
#include <span>
#include <vector>

namespace quillon {

namespace {

// A group of built-in variables, shown one per line; groups are parted by separators.
using VariableGroup = std::span<const std::string_view>;

constexpr std::string_view GLOBAL_INPUT[] = {"mouse_x", "mouse_y", "mouse_button", "keyboard_key",
    "keyboard_lastkey", "keyboard_lastchar", "keyboard_string"};
constexpr std::string_view GLOBAL_GAME[] = {"score", "lives", "health", "room", "room_width", "room_height",
    "room_speed", "room_persistent"};
constexpr std::string_view GLOBAL_SYSTEM[] = {"working_directory", "temp_directory", "secure_mode",
    "error_occurred", "error_last"};
constexpr VariableGroup GLOBAL_GROUPS[] = {GLOBAL_INPUT, GLOBAL_GAME, GLOBAL_SYSTEM};

constexpr std::string_view LOCAL_MOTION[] = {"x", "y", "direction", "speed", "hspeed", "vspeed", "friction",
    "gravity", "gravity_direction"};
constexpr std::string_view LOCAL_LOOKS[] = {"id", "object_index", "sprite_index", "image_index", "image_single",
    "image_speed", "image_scale", "mask_index", "solid", "visible", "persistent", "depth"};
constexpr std::string_view LOCAL_PATH[] = {"path_index", "path_position", "path_orientation", "path_scale"};
constexpr VariableGroup LOCAL_GROUPS[] = {LOCAL_MOTION, LOCAL_LOOKS, LOCAL_PATH};

// Each group's variables through the built-in table, each group followed by a separator.
void append_builtin_groups(std::string& text, std::span<const VariableGroup> groups, ScriptInstance& self)
{
    Value value;
    for (VariableGroup group : groups) {
        for (std::string_view name : group) {
            std::int32_t id = builtin_variables().find(name);
            value.set_real(0);
            if (id >= 0)
                builtin_variables().read(&self, id, 0, value);
            append_variable_line(text, name, value);
        }
        append_separator(text);
    }
}

// Every variable of the store in its order, by name, with its plain value.
void append_store(std::string& text, const CVariableList& store)
{
    for (const CVariableList::Entry& entry : store.entries())
        append_variable_line(text, variable_names().name_of(entry.key), entry.value);
}

}  // namespace

InstanceChoice instance_choice(const std::string& answer)
{
    std::int32_t id = 0;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), id);
    if (!answer.empty() && error == std::errc {} && end == answer.data() + answer.size())
        return {id, {}};
    return {std::nullopt, answer};
}

void write_global_variables(std::string& text, ScriptInstance& reader)
{
    text.clear();
    append_builtin_groups(text, GLOBAL_GROUPS, reader);
    append_store(text, global_variables());
}

CInstance* find_chosen_instance(World& world, const InstanceChoice& choice)
{
    LiveRoom* room = world.current_room();
    if (!room)
        return nullptr;
    for (int i = 0, count = room->instance_count(); i < count; ++i) {
        CInstance* instance = room->instance(i);
        if (instance->m_destroyed)
            continue;
        if (choice.id ? instance->m_id == *choice.id : world.object_name(instance->object_index) == choice.object_name)
            return instance;
    }
    return nullptr;
}

void write_local_variables(std::string& text, World& world, const InstanceChoice& choice)
{
    text.clear();
    CInstance* instance = find_chosen_instance(world, choice);
    if (!instance) {
        text = DEBUG_NO_SUCH_INSTANCE;
        return;
    }
    append_builtin_groups(text, LOCAL_GROUPS, *instance);
    append_store(text, instance->m_variables);
}

void write_all_instances(std::string& text, World& world)
{
    text = "   Id     Object Name    Sprite Name";
    text += DEBUG_LINE_END;
    text.append(36, '_');
    text += DEBUG_LINE_END;
    LiveRoom* room = world.current_room();
    if (!room)
        return;
    std::vector<char> line;
    for (int i = 0, count = room->instance_count(); i < count; ++i) {
        const CInstance& instance = *room->instance(i);
        if (instance.m_destroyed)
            continue;
        std::string object = world.object_name(instance.object_index);
        std::string sprite = world.sprites().name(instance.sprite_index());
        line.resize(object.size() + sprite.size() + 40);
        int length = std::snprintf(line.data(), line.size(), "%6d %14s %14s", instance.m_id, object.c_str(),
            sprite.c_str());
        text.append(line.data(), static_cast<std::size_t>(length));
        text += DEBUG_LINE_END;
    }
}

}  // namespace quillon
