// World: the built-in variables of instances, rooms and the current event, read and written through the
// instance's and the room's setters.
#include "world/world.h"

#include "code/builtin_variables.h"
#include "code/messages.h"
#include "world/room_draw.h"

#include <array>

namespace quillon {

namespace {

// The variables the world keeps. ORDER: VARIABLE_NAMES.
enum WorldVariable : std::int16_t {
    W_X, W_Y, W_XPREVIOUS, W_YPREVIOUS, W_XSTART, W_YSTART, W_HSPEED, W_VSPEED, W_DIRECTION, W_SPEED,
    W_FRICTION, W_GRAVITY, W_GRAVITY_DIRECTION, W_OBJECT_INDEX, W_ID, W_ALARM, W_SOLID, W_VISIBLE,
    W_PERSISTENT, W_DEPTH, W_BBOX_LEFT, W_BBOX_RIGHT, W_BBOX_TOP, W_BBOX_BOTTOM, W_SPRITE_INDEX,
    W_IMAGE_INDEX, W_IMAGE_SINGLE, W_IMAGE_NUMBER, W_SPRITE_WIDTH, W_SPRITE_HEIGHT, W_SPRITE_XOFFSET,
    W_SPRITE_YOFFSET, W_IMAGE_SCALE, W_IMAGE_ALPHA, W_IMAGE_SPEED, W_MASK_INDEX, W_PATH_INDEX,
    W_PATH_POSITION, W_PATH_SCALE, W_PATH_ORIENTATION, W_TIMELINE_INDEX, W_TIMELINE_POSITION,
    W_TIMELINE_SPEED,
    W_FIRST_GLOBAL,
    W_ARGUMENT_RELATIVE = W_FIRST_GLOBAL, W_ROOM, W_ROOM_FIRST, W_ROOM_LAST, W_TRANSITION_KIND,
    W_TRANSITION_TIME, W_TRANSITION_STEPS, W_GAME_ID, W_INSTANCE_COUNT, W_INSTANCE_ID, W_ROOM_WIDTH,
    W_ROOM_HEIGHT, W_ROOM_CAPTION, W_ROOM_SPEED, W_ROOM_PERSISTENT, W_BACKGROUND_COLOR,
    W_BACKGROUND_SHOWCOLOR, W_BACKGROUND_VISIBLE, W_BACKGROUND_FOREGROUND, W_BACKGROUND_INDEX,
    W_BACKGROUND_X, W_BACKGROUND_Y, W_BACKGROUND_WIDTH, W_BACKGROUND_HEIGHT, W_BACKGROUND_HTILED,
    W_BACKGROUND_VTILED, W_BACKGROUND_HSPEED, W_BACKGROUND_VSPEED, W_BACKGROUND_ALPHA, W_VIEW_ENABLED,
    W_VIEW_VISIBLE, W_VIEW_LEFT, W_VIEW_TOP, W_VIEW_WIDTH, W_VIEW_HEIGHT, W_VIEW_X, W_VIEW_Y,
    W_VIEW_HBORDER, W_VIEW_VBORDER, W_VIEW_HSPEED, W_VIEW_VSPEED, W_VIEW_OBJECT, W_EVENT_TYPE,
    W_EVENT_NUMBER, W_EVENT_OBJECT, W_EVENT_ACTION, W_VIEW_CURRENT, W_SHOW_SCORE, W_SHOW_LIVES, W_SHOW_HEALTH,
    W_CAPTION_SCORE, W_CAPTION_LIVES, W_CAPTION_HEALTH,
    W_COUNT,
};

// ORDER: WorldVariable.
constexpr std::array<const char*, W_COUNT> VARIABLE_NAMES = {
    "x", "y", "xprevious", "yprevious", "xstart", "ystart", "hspeed", "vspeed", "direction", "speed",
    "friction", "gravity", "gravity_direction", "object_index", "id", "alarm", "solid", "visible",
    "persistent", "depth", "bbox_left", "bbox_right", "bbox_top", "bbox_bottom", "sprite_index",
    "image_index", "image_single", "image_number", "sprite_width", "sprite_height", "sprite_xoffset",
    "sprite_yoffset", "image_scale", "image_alpha", "image_speed", "mask_index", "path_index",
    "path_position", "path_scale", "path_orientation", "timeline_index", "timeline_position",
    "timeline_speed",
    "argument_relative", "room", "room_first", "room_last", "transition_kind",
    "transition_time", "transition_steps", "game_id", "instance_count", "instance_id", "room_width",
    "room_height", "room_caption", "room_speed", "room_persistent", "background_color",
    "background_showcolor", "background_visible", "background_foreground", "background_index",
    "background_x", "background_y", "background_width", "background_height", "background_htiled",
    "background_vtiled", "background_hspeed", "background_vspeed", "background_alpha", "view_enabled",
    "view_visible", "view_left", "view_top", "view_width", "view_height", "view_x", "view_y",
    "view_hborder", "view_vborder", "view_hspeed", "view_vspeed", "view_object", "event_type",
    "event_number", "event_object", "event_action", "view_current", "show_score", "show_lives", "show_health",
    "caption_score", "caption_lives", "caption_health",
};

// Array variables take 0 to 7; any other index means 0.
int slot(int index) { return index >= 0 && index < 8 ? index : 0; }

// The sprite's size or origin times the image scale; 0 without a sprite.
double sprite_measure(const CInstance& self, int variable)
{
    const CSprite* sprite = self.sprite();
    if (!sprite)
        return 0;
    int measures[] = {sprite->width, sprite->height, sprite->origin_x, sprite->origin_y};
    return measures[variable - W_SPRITE_WIDTH] * self.image_scale();
}

// Every view variable but `view_visible` is an integer field of the view, in the order of the names.
template<typename View>
auto& view_field(View& view, int variable)
{
    decltype(&view.x) fields[] = {&view.x, &view.y, &view.width, &view.height, &view.port_x, &view.port_y,
                              &view.horizontal_border, &view.vertical_border, &view.horizontal_speed,
                              &view.vertical_speed, &view.object_followed};
    return *fields[variable - W_VIEW_LEFT];
}

double room_value(const LiveRoom& room, const ResourceList<CBackground>& backgrounds, int variable, int index)
{
    const LiveLayer& layer = room.layers[slot(index)];
    const RoomView& view = room.views[slot(index)];
    const CBackground* background = backgrounds.get(layer.background);
    switch (variable) {
    case W_ROOM_WIDTH: return room.width;
    case W_ROOM_HEIGHT: return room.height;
    case W_ROOM_SPEED: return room.speed;
    case W_ROOM_PERSISTENT: return room.persistent;
    case W_BACKGROUND_COLOR: return room.background_color;
    case W_BACKGROUND_SHOWCOLOR: return room.draw_background_color;
    case W_BACKGROUND_VISIBLE: return layer.visible;
    case W_BACKGROUND_FOREGROUND: return layer.foreground;
    case W_BACKGROUND_INDEX: return layer.background;
    case W_BACKGROUND_X: return layer.x;
    case W_BACKGROUND_Y: return layer.y;
    case W_BACKGROUND_WIDTH: return background ? background->width : 0;
    case W_BACKGROUND_HEIGHT: return background ? background->height : 0;
    case W_BACKGROUND_HTILED: return layer.tile_horizontally;
    case W_BACKGROUND_VTILED: return layer.tile_vertically;
    case W_BACKGROUND_HSPEED: return layer.horizontal_speed;
    case W_BACKGROUND_VSPEED: return layer.vertical_speed;
    case W_BACKGROUND_ALPHA: return layer.alpha;
    case W_VIEW_ENABLED: return room.views_enabled;
    case W_VIEW_VISIBLE: return view.visible;
    default: return view_field(view, variable);
    }
}

// Writes a room field; false for a value the room refuses.
bool set_room_value(LiveRoom& room, int variable, int index, const Value& value)
{
    LiveLayer& layer = room.layers[slot(index)];
    RoomView& view = room.views[slot(index)];
    double real = value.real;
    switch (variable) {
    case W_ROOM_CAPTION: room.caption = value.string.str(); break;
    case W_ROOM_SPEED:
        if (as_integer(value) <= 0) {
            errors().report(message::ROOM_SPEED_NOT_POSITIVE, false);
            return false;
        }
        room.speed = as_integer(value);
        break;
    case W_ROOM_PERSISTENT: room.persistent = as_flag(value); break;
    case W_BACKGROUND_COLOR: room.background_color = as_integer(value); break;
    case W_BACKGROUND_SHOWCOLOR: room.draw_background_color = as_flag(value); break;
    case W_BACKGROUND_VISIBLE: layer.visible = as_flag(value); break;
    case W_BACKGROUND_FOREGROUND: layer.foreground = as_flag(value); break;
    case W_BACKGROUND_INDEX: layer.background = as_integer(value); break;
    case W_BACKGROUND_X: layer.x = real; break;
    case W_BACKGROUND_Y: layer.y = real; break;
    case W_BACKGROUND_HTILED: layer.tile_horizontally = as_flag(value); break;
    case W_BACKGROUND_VTILED: layer.tile_vertically = as_flag(value); break;
    case W_BACKGROUND_HSPEED: layer.horizontal_speed = real; break;
    case W_BACKGROUND_VSPEED: layer.vertical_speed = real; break;
    case W_BACKGROUND_ALPHA: layer.alpha = real; break;
    case W_VIEW_ENABLED: room.views_enabled = as_flag(value); break;
    case W_VIEW_VISIBLE: view.visible = as_flag(value); break;
    default: view_field(view, variable) = as_integer(value); break;
    }
    return true;
}

// What the window caption shows besides the room caption. ORDER: score, lives, health in both groups.
bool* caption_flag(int variable)
{
    RoomDrawState& state = room_draw_state();
    bool* flags[] = {&state.show_score, &state.show_lives, &state.show_health};
    return flags[variable - W_SHOW_SCORE];
}

std::string* caption_label(int variable)
{
    RoomDrawState& state = room_draw_state();
    std::string* labels[] = {&state.caption_score, &state.caption_lives, &state.caption_health};
    return labels[variable - W_CAPTION_SCORE];
}

}  // namespace

bool World::get_variable(ScriptInstance* self, int id, int index, Value& result)
{
    if (m_variable_kinds.empty()) {
        const BuiltinVariables& table = builtin_variables();
        m_variable_kinds.assign(table.size(), -1);
        for (int variable = 0; variable < W_COUNT; ++variable)
            if (std::int32_t found = table.find(VARIABLE_NAMES[variable]); found >= 0)
                m_variable_kinds[found] = static_cast<std::int16_t>(variable);
    }
    int variable = id >= 0 && id < static_cast<int>(m_variable_kinds.size()) ? m_variable_kinds[id] : -1;
    if (variable < 0)
        return m_previous_host->get_variable(self, id, index, result);
    if (variable < W_FIRST_GLOBAL)
        return get_instance_variable(*static_cast<CInstance*>(self), variable, index, result);
    return get_room_variable(variable, index, result);
}

bool World::set_variable(ScriptInstance* self, int id, int index, const Value& value)
{
    Value unused;
    if (m_variable_kinds.empty())
        get_variable(self, id, index, unused);
    int variable = id >= 0 && id < static_cast<int>(m_variable_kinds.size()) ? m_variable_kinds[id] : -1;
    if (variable < 0)
        return m_previous_host->set_variable(self, id, index, value);
    if (variable < W_FIRST_GLOBAL)
        return set_instance_variable(*static_cast<CInstance*>(self), variable, index, value);
    return set_room_variable(variable, index, value);
}

namespace {

// The instance variables as reals. ORDER: their ids in the variable table are their WorldVariable numbers.
static_assert(W_FIRST_GLOBAL == INSTANCE_VARIABLE_COUNT);

double instance_value(const CInstance& self, int variable, int index)
{
    double value = 0;
    switch (variable) {
    case W_X: value = self.x(); break;
    case W_Y: value = self.y(); break;
    case W_XPREVIOUS: value = self.xprevious; break;
    case W_YPREVIOUS: value = self.yprevious; break;
    case W_XSTART: value = self.xstart; break;
    case W_YSTART: value = self.ystart; break;
    case W_HSPEED: value = self.hspeed(); break;
    case W_VSPEED: value = self.vspeed(); break;
    case W_DIRECTION: value = self.direction(); break;
    case W_SPEED: value = self.speed(); break;
    case W_FRICTION: value = self.friction; break;
    case W_GRAVITY: value = self.gravity; break;
    case W_GRAVITY_DIRECTION: value = self.gravity_direction; break;
    case W_OBJECT_INDEX: value = self.object_index; break;
    case W_ID: value = self.m_id; break;
    case W_ALARM: value = self.alarm(slot(index)); break;
    case W_SOLID: value = self.solid; break;
    case W_VISIBLE: value = self.visible; break;
    case W_PERSISTENT: value = self.persistent; break;
    case W_DEPTH: value = self.depth; break;
    case W_BBOX_LEFT: value = self.bbox_left(); break;
    case W_BBOX_RIGHT: value = self.bbox_right(); break;
    case W_BBOX_TOP: value = self.bbox_top(); break;
    case W_BBOX_BOTTOM: value = self.bbox_bottom(); break;
    case W_SPRITE_INDEX: value = self.sprite_index(); break;
    case W_IMAGE_INDEX: value = self.image_index; break;
    case W_IMAGE_SINGLE: value = self.image_single; break;
    case W_IMAGE_NUMBER: value = self.image_number(); break;
    case W_SPRITE_WIDTH:
    case W_SPRITE_HEIGHT:
    case W_SPRITE_XOFFSET:
    case W_SPRITE_YOFFSET: value = sprite_measure(self, variable); break;
    case W_IMAGE_SCALE: value = self.image_scale(); break;
    case W_IMAGE_ALPHA: value = self.image_alpha; break;
    case W_IMAGE_SPEED: value = self.image_speed; break;
    case W_MASK_INDEX: value = self.mask_index(); break;
    case W_PATH_INDEX: value = self.path_index; break;
    case W_PATH_POSITION: value = self.path_position; break;
    case W_PATH_SCALE: value = self.path_scale; break;
    case W_PATH_ORIENTATION: value = self.path_orientation; break;
    case W_TIMELINE_INDEX: value = self.timeline_index; break;
    case W_TIMELINE_POSITION: value = self.timeline_position; break;
    case W_TIMELINE_SPEED: value = self.timeline_speed; break;
    default: break;
    }
    return value;
}

// Setters take the real part whatever the value's kind: integers store it rounded, flags store whether the
// rounded value is above 0.5. False for a read-only variable.
bool set_instance_value(CInstance& self, int variable, int index, double real)
{
    auto as_flag = [real] { return round_to_int64(real) > 0; };
    auto as_integer = [real] { return round_to_int32(real); };
    switch (variable) {
    case W_X: self.set_position(real, self.y()); break;
    case W_Y: self.set_position(self.x(), real); break;
    case W_XPREVIOUS: self.xprevious = real; break;
    case W_YPREVIOUS: self.yprevious = real; break;
    case W_XSTART: self.xstart = real; break;
    case W_YSTART: self.ystart = real; break;
    case W_HSPEED: self.set_hspeed(real); break;
    case W_VSPEED: self.set_vspeed(real); break;
    case W_DIRECTION: self.set_direction(real); break;
    case W_SPEED: self.set_speed(real); break;
    case W_FRICTION: self.friction = real; break;
    case W_GRAVITY: self.gravity = real; break;
    case W_GRAVITY_DIRECTION: self.gravity_direction = real; break;
    case W_ALARM: self.set_alarm(slot(index), as_integer()); break;
    case W_SOLID: self.solid = as_flag(); break;
    case W_VISIBLE: self.visible = as_flag(); break;
    case W_PERSISTENT: self.persistent = as_flag(); break;
    case W_DEPTH: self.depth = real; break;
    case W_SPRITE_INDEX: self.set_sprite(as_integer()); break;
    case W_IMAGE_INDEX: self.image_index = as_integer(); break;
    case W_IMAGE_SINGLE: self.image_single = as_integer(); break;
    case W_IMAGE_SCALE: self.set_image_scale(real); break;
    case W_IMAGE_ALPHA: self.image_alpha = real; break;
    case W_IMAGE_SPEED: self.image_speed = real; break;
    case W_MASK_INDEX: self.set_mask(as_integer()); break;
    case W_PATH_INDEX: self.path_index = as_integer(); break;
    case W_PATH_POSITION: self.path_position = real; break;
    case W_PATH_SCALE: self.path_scale = real; break;
    case W_PATH_ORIENTATION: self.path_orientation = real; break;
    case W_TIMELINE_INDEX: self.timeline_index = as_integer(); break;
    case W_TIMELINE_POSITION: self.timeline_position = real; break;
    case W_TIMELINE_SPEED: self.timeline_speed = real; break;
    default: return false;  // read-only
    }
    return true;
}

}  // namespace

bool CInstance::get_builtin(std::int32_t id, double& value) const
{
    if (id < 0 || id >= W_FIRST_GLOBAL || id == W_ALARM)
        return false;
    value = instance_value(*this, id, 0);
    return true;
}

bool CInstance::set_builtin(std::int32_t id, double value)
{
    return id >= 0 && id < W_FIRST_GLOBAL && id != W_ALARM && set_instance_value(*this, id, 0, value);
}

bool World::get_instance_variable(CInstance& self, int variable, int index, Value& result)
{
    result.set_real(instance_value(self, variable, index));
    return true;
}

bool World::set_instance_variable(CInstance& self, int variable, int index, const Value& value)
{
    return set_instance_value(self, variable, index, value.real);
}

bool World::get_room_variable(int variable, int index, Value& result)
{
    const ErrorContext& current = errors().m_context;
    LiveRoom* room = m_current;
    double value = 0;
    switch (variable) {
    case W_ARGUMENT_RELATIVE: value = m_relative; break;
    case W_ROOM: value = m_room; break;
    case W_ROOM_FIRST: value = first_room(); break;
    case W_ROOM_LAST: value = last_room(); break;
    case W_TRANSITION_KIND: value = m_transition_kind; break;
    case W_TRANSITION_TIME: value = m_transition_time; break;
    case W_TRANSITION_STEPS: value = m_transition_steps; break;
    case W_GAME_ID: value = m_game_id; break;
    case W_INSTANCE_COUNT: value = instance_count(); break;
    case W_INSTANCE_ID: {
        ScriptInstance* instance = instance_at(index);
        value = instance ? instance->m_id : -4;
        break;
    }
    case W_EVENT_TYPE: value = current.event_type; break;
    case W_EVENT_NUMBER: value = current.event_number; break;
    case W_EVENT_OBJECT: value = current.object; break;
    case W_EVENT_ACTION: value = current.action; break;
    case W_VIEW_CURRENT: value = room_draw_state().view_current; break;
    case W_SHOW_SCORE:
    case W_SHOW_LIVES:
    case W_SHOW_HEALTH: value = *caption_flag(variable); break;
    case W_CAPTION_SCORE:
    case W_CAPTION_LIVES:
    case W_CAPTION_HEALTH:
        result.set_string(ScriptString(*caption_label(variable)));
        return true;
    default:
        if (!room)
            break;
        if (variable == W_ROOM_CAPTION) {
            result.set_string(ScriptString(room->caption));
            return true;
        }
        value = room_value(*room, m_backgrounds, variable, index);
    }
    result.set_real(value);
    return true;
}

bool World::set_room_variable(int variable, int index, const Value& value)
{
    switch (variable) {
    case W_ROOM: go_to_room(as_integer(value), m_transition_kind); return true;
    case W_TRANSITION_KIND: m_transition_kind = as_integer(value); return true;
    case W_TRANSITION_TIME: m_transition_time = as_integer(value); return true;
    case W_TRANSITION_STEPS: m_transition_steps = as_integer(value); return true;
    case W_SHOW_SCORE:
    case W_SHOW_LIVES:
    case W_SHOW_HEALTH:
        *caption_flag(variable) = as_flag(value);
        // Once the game has set it, a score of 0 shows too.
        room_draw_state().show_score_written |= variable == W_SHOW_SCORE;
        return true;
    case W_CAPTION_SCORE:
    case W_CAPTION_LIVES:
    case W_CAPTION_HEALTH: *caption_label(variable) = value.string.str(); return true;
    default: break;
    }
    if (variable >= W_ROOM_CAPTION && variable <= W_VIEW_OBJECT) {
        // Before the first room starts there is nothing to write to; the value is dropped.
        return !m_current || set_room_value(*m_current, variable, index, value);
    }
    return false;  // read-only: refused by the table before this
}

}  // namespace quillon
