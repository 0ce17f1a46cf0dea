// The built-in variables: their table in registration order, and the getters and setters code/ owns.
#include "code/builtin_variables.h"

#include "code/errors.h"
#include "code/host.h"
#include "code/script.h"
#include "platform/clock.h"

#include "support/secure_mode.h"
#include "support/win1252.h"

#include <ctime>
#include <filesystem>

namespace quillon {

namespace {

constexpr int OTHER_EVENT_NO_MORE_LIVES = 6;
constexpr int OTHER_EVENT_NO_MORE_HEALTH = 9;

// Variables whose state lives in the world, the display or the input: handed to the host.
bool get_from_host(ScriptInstance* self, std::int32_t id, std::int32_t index, Value& result)
{
    return host().get_variable(self, id, index, result);
}

bool set_in_host(ScriptInstance* self, std::int32_t id, std::int32_t index, const Value& value)
{
    return host().set_variable(self, id, index, value);
}

// `argument` takes any index 0 to 15; others mean slot 0.
bool get_argument(ScriptInstance*, std::int32_t, std::int32_t index, Value& result)
{
    result = script_arguments().get(index >= 0 && index < MAX_SCRIPT_ARGUMENTS ? index : 0);
    return true;
}

bool set_argument(ScriptInstance*, std::int32_t, std::int32_t index, const Value& value)
{
    script_arguments().set(index >= 0 && index < MAX_SCRIPT_ARGUMENTS ? index : 0) = value;
    return true;
}

bool get_argument_n(ScriptInstance*, std::int32_t id, std::int32_t, Value& result)
{
    result = script_arguments().get(id - VARIABLE_ARGUMENT0);
    return true;
}

bool set_argument_n(ScriptInstance*, std::int32_t id, std::int32_t, const Value& value)
{
    script_arguments().set(id - VARIABLE_ARGUMENT0) = value;
    return true;
}

bool get_counter(ScriptInstance*, std::int32_t id, std::int32_t, Value& result)
{
    GameCounters& counters = game_counters();
    result.set_real(id == VARIABLE_SCORE ? counters.score : id == VARIABLE_LIVES ? counters.lives : counters.health);
    return true;
}

// Running out of lives or health performs the matching other event for every instance.
bool set_counter(ScriptInstance*, std::int32_t id, std::int32_t, const Value& value)
{
    GameCounters& counters = game_counters();
    if (id == VARIABLE_SCORE) {
        counters.score = as_integer(value);
    } else if (id == VARIABLE_LIVES) {
        std::int32_t old_lives = counters.lives;
        counters.lives = as_integer(value);
        if (old_lives > 0 && counters.lives <= 0)
            host().perform_other_event_for_all(OTHER_EVENT_NO_MORE_LIVES);
    } else {
        double old_health = counters.health;
        counters.health = value.real;
        // "Not above 0" rather than "0 or below", so that a health that is no number has run out too.
        if (old_health > 0 && !(counters.health > 0))
            host().perform_other_event_for_all(OTHER_EVENT_NO_MORE_HEALTH);
    }
    return true;
}

// The current directory as game code sees names: Windows-1252 bytes.
bool get_working_directory(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    std::error_code error;
    result.set_string(ScriptString(utf8_to_win1252(std::filesystem::current_path(error).string())));
    return true;
}

// The temporary directory as game code sees names: Windows-1252 bytes.
std::string& temp_directory_text()
{
    static std::string s_text;
    return s_text;
}

bool get_temp_directory(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_string(ScriptString(temp_directory_text()));
    return true;
}

// The game's clock, so that a headless run sees its virtual time move with every sleep.
bool get_current_time(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(static_cast<double>(platform::game_system_ms()));
    return true;
}

// current_year to current_second, in registration order after current_time.
bool get_current_date(ScriptInstance*, std::int32_t id, std::int32_t, Value& result)
{
    std::int32_t year_id = builtin_variables().find("current_year");
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    const int parts[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday + 1,
                         local.tm_hour, local.tm_min, local.tm_sec};
    result.set_real(parts[id - year_id]);
    return true;
}

bool get_secure_mode(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(secure_mode() ? 1 : 0);
    return true;
}

bool get_error_occurred(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(errors().m_error_occurred ? 1 : 0);
    return true;
}

bool set_error_occurred(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    errors().m_error_occurred = is_true(value.real);
    return true;
}

bool get_error_last(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_string(ScriptString(errors().m_error_last));
    return true;
}

bool set_error_last(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    errors().m_error_last = value.string.str();
    return true;
}

// A variable of the host: name and whether scripts may assign to it.
struct HostVariable {
    const char* name;  // the variable's name
    bool settable;     // false for read-only variables
};

// ORDER: the 43 instance variables, then the globals up to `score`, as the ids of the header expect.
constexpr HostVariable INSTANCE_VARIABLES[] = {
    {"x", true}, {"y", true}, {"xprevious", true}, {"yprevious", true}, {"xstart", true}, {"ystart", true},
    {"hspeed", true}, {"vspeed", true}, {"direction", true}, {"speed", true}, {"friction", true},
    {"gravity", true}, {"gravity_direction", true}, {"object_index", false}, {"id", false}, {"alarm", true},
    {"solid", true}, {"visible", true}, {"persistent", true}, {"depth", true}, {"bbox_left", false},
    {"bbox_right", false}, {"bbox_top", false}, {"bbox_bottom", false}, {"sprite_index", true},
    {"image_index", true}, {"image_single", true}, {"image_number", false}, {"sprite_width", false},
    {"sprite_height", false}, {"sprite_xoffset", false}, {"sprite_yoffset", false}, {"image_scale", true},
    {"image_alpha", true}, {"image_speed", true}, {"mask_index", true}, {"path_index", true},
    {"path_position", true}, {"path_scale", true}, {"path_orientation", true}, {"timeline_index", true},
    {"timeline_position", true}, {"timeline_speed", true},
};

constexpr HostVariable ROOM_VARIABLES[] = {
    {"room", true}, {"room_first", false}, {"room_last", false}, {"transition_kind", true},
    {"transition_time", true}, {"transition_steps", true},
};

constexpr HostVariable WORLD_VARIABLES[] = {
    {"game_id", false},
};

constexpr HostVariable ROOM_AND_DISPLAY_VARIABLES[] = {
    {"instance_count", false}, {"instance_id", false}, {"room_width", false},
    {"room_height", false}, {"room_caption", true}, {"room_speed", true}, {"room_persistent", true},
    {"background_color", true}, {"background_showcolor", true}, {"background_visible", true},
    {"background_foreground", true}, {"background_index", true}, {"background_x", true},
    {"background_y", true}, {"background_width", false}, {"background_height", false},
    {"background_htiled", true}, {"background_vtiled", true}, {"background_hspeed", true},
    {"background_vspeed", true}, {"background_alpha", true}, {"view_enabled", true},
    {"view_current", false}, {"view_visible", true}, {"view_left", true}, {"view_top", true},
    {"view_width", true}, {"view_height", true}, {"view_x", true}, {"view_y", true}, {"view_hborder", true},
    {"view_vborder", true}, {"view_hspeed", true}, {"view_vspeed", true}, {"view_object", true},
    {"mouse_x", false}, {"mouse_y", false}, {"mouse_button", true}, {"keyboard_key", true},
    {"keyboard_lastkey", true}, {"keyboard_lastchar", true}, {"keyboard_string", true},
    {"full_screen", true}, {"scale_screen", true}, {"scale_window", true}, {"scale_full", true},
    {"show_cursor", true}, {"show_score", true}, {"show_lives", true}, {"show_health", true},
    {"caption_score", true}, {"caption_lives", true}, {"caption_health", true},
    {"keyboard_continuous", true}, {"mouse_continuous", true}, {"fps", false},
};

constexpr HostVariable DRAWING_AND_EVENT_VARIABLES[] = {
    {"monitor_width", false}, {"monitor_height", false}, {"brush_color", true}, {"brush_style", true},
    {"pen_color", true}, {"pen_size", true}, {"font_color", true}, {"font_style", true}, {"font_size", true},
    {"font_angle", true}, {"font_name", true}, {"font_align", true}, {"screen_width", true},
    {"screen_height", true}, {"event_type", false}, {"event_number", false}, {"event_object", false},
    {"event_action", false},
};

}  // namespace

BuiltinVariables::BuiltinVariables()
{
    auto add_host = [this](const auto& group) {
        for (const HostVariable& variable : group)
            register_variable(variable.name, get_from_host, set_in_host, variable.settable);
    };
    add_host(INSTANCE_VARIABLES);
    for (BuiltinVariable& variable : m_entries)
        variable.kept_by_instance = true;
    register_variable("argument_relative", get_from_host, set_in_host, false);
    register_variable("argument", get_argument, set_argument, true);
    for (int slot = 0; slot < MAX_SCRIPT_ARGUMENTS; ++slot)
        register_variable("argument" + std::to_string(slot), get_argument_n, set_argument_n, true);
    add_host(ROOM_VARIABLES);
    for (const char* name : {"score", "lives", "health"})
        register_variable(name, get_counter, set_counter, true);
    add_host(WORLD_VARIABLES);
    register_variable("working_directory", get_working_directory, nullptr, false);
    register_variable("temp_directory", get_temp_directory, nullptr, false);
    add_host(ROOM_AND_DISPLAY_VARIABLES);
    register_variable("current_time", get_current_time, nullptr, false);
    for (const char* name : {"current_year", "current_month", "current_day", "current_weekday", "current_hour",
                             "current_minute", "current_second"})
        register_variable(name, get_current_date, nullptr, false);
    add_host(DRAWING_AND_EVENT_VARIABLES);
    register_variable("secure_mode", get_secure_mode, nullptr, false);
    register_variable("error_occurred", get_error_occurred, set_error_occurred, true);
    register_variable("error_last", get_error_last, set_error_last, true);
}

BuiltinVariables& builtin_variables()
{
    static BuiltinVariables s_variables;
    return s_variables;
}

void set_temp_directory(const std::filesystem::path& directory)
{
    temp_directory_text() = utf8_to_win1252(directory.string());
}

GameCounters& game_counters()
{
    static GameCounters s_counters;
    return s_counters;
}

void BuiltinVariables::register_variable(std::string_view name, VariableGetter getter, VariableSetter setter,
                                         bool settable)
{
    if (m_entries.size() >= CAPACITY)
        return;
    m_entries.push_back(BuiltinVariable {std::string(name.substr(0, 64)), getter, setter, settable});
}

void BuiltinVariables::serve(std::string_view name, VariableGetter getter, VariableSetter setter)
{
    if (std::int32_t id = find(name); id >= 0) {
        m_entries[id].getter = getter;
        m_entries[id].setter = setter;
        m_entries[id].kept_by_instance = false;
    }
}

std::int32_t BuiltinVariables::find(std::string_view name) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool BuiltinVariables::read(ScriptInstance* self, std::int32_t id, std::int32_t index, Value& result) const
{
    if (id >= FIRST_STORED_VARIABLE)
        return self->m_variables.get(id, index, result);
    if (id < 0 || static_cast<std::size_t>(id) >= m_entries.size())
        return false;
    const BuiltinVariable& entry = m_entries[id];
    double real;
    if (entry.kept_by_instance && self->get_builtin(id, real)) {
        result.set_real(real);
        return true;
    }
    return entry.getter(self, id, index, result);
}

bool BuiltinVariables::write(ScriptInstance* self, std::int32_t id, std::int32_t index, const Value& value) const
{
    if (id >= FIRST_STORED_VARIABLE)
        return self->m_variables.set(id, index, value);
    if (id < 0 || static_cast<std::size_t>(id) >= m_entries.size())
        return false;
    const BuiltinVariable& entry = m_entries[id];
    if (!entry.settable)
        return false;
    if (entry.kept_by_instance && self->set_builtin(id, value.real))
        return true;
    return entry.setter && entry.setter(self, id, index, value);
}

}  // namespace quillon
