// Which event a JSON event record means: its kind by name, and its number by name or as a number.
#include "event_json.h"

#include "support/ascii_case.h"
#include "support/key_names.h"
#include "world/object.h"

namespace quillon {

namespace {

const NameTable& kind_names()
{
    static const NameTable table {{"create", EVENT_CREATE}, {"destroy", EVENT_DESTROY}, {"alarm", EVENT_ALARM},
        {"step", EVENT_STEP}, {"collision", EVENT_COLLISION}, {"keyboard", EVENT_KEYBOARD}, {"mouse", EVENT_MOUSE},
        {"other", EVENT_OTHER}, {"draw", EVENT_DRAW}, {"key_press", EVENT_KEY_PRESS},
        {"key_release", EVENT_KEY_RELEASE}};
    return table;
}

const NameTable& step_names()
{
    static const NameTable table {{"normal", 0}, {"begin", 1}, {"end", 2}};
    return table;
}

const NameTable& other_names()
{
    static const NameTable table = [] {
        NameTable names {{"outside", 0}, {"boundary", 1}, {"game_start", 2}, {"game_end", 3}, {"room_start", 4},
            {"room_end", 5}, {"no_more_lives", 6}, {"animation_end", 7}, {"end_of_path", 8},
            {"no_more_health", 9}};
        for (int user = 0; user < 8; ++user)
            names.push_back({"user" + std::to_string(user), 10 + user});
        return names;
    }();
    return table;
}

const NameTable& mouse_names()
{
    static const NameTable table = [] {
        NameTable names {{"left_button", 0}, {"right_button", 1}, {"middle_button", 2}, {"no_button", 3},
            {"left_pressed", 4}, {"right_pressed", 5}, {"middle_pressed", 6}, {"left_released", 7},
            {"right_released", 8}, {"middle_released", 9}, {"mouse_enter", 10}, {"mouse_leave", 11},
            {"global_pressed", 12}, {"global_released", 13}};
        for (int stick = 1; stick <= 2; ++stick) {
            std::string prefix = "joystick" + std::to_string(stick) + "_";
            int base = stick == 1 ? 16 : 31;
            for (const char* direction : {"left", "right", "up", "down"})
                names.push_back({prefix + direction, base++});
            for (int button = 1; button <= 8; ++button)
                names.push_back({prefix + "button" + std::to_string(button), base + button});
        }
        return names;
    }();
    return table;
}

// Key codes are the virtual-key codes of the game's keyboard functions; the names are those of input files too.
const NameTable& key_table()
{
    static const NameTable table = [] {
        NameTable names;
        for (const KeyName& key : quillon::key_names())
            names.push_back({key.name, key.code});
        return names;
    }();
    return table;
}

const NameTable* number_names(std::int32_t kind)
{
    switch (kind) {
    case EVENT_STEP: return &step_names();
    case EVENT_MOUSE: return &mouse_names();
    case EVENT_OTHER: return &other_names();
    case EVENT_KEYBOARD:
    case EVENT_KEY_PRESS:
    case EVENT_KEY_RELEASE: return &key_table();
    default: return nullptr;
    }
}

const char* number_key(std::int32_t kind)
{
    switch (kind) {
    case EVENT_COLLISION: return "with";
    case EVENT_KEYBOARD:
    case EVENT_KEY_PRESS:
    case EVENT_KEY_RELEASE: return "key";
    default: return "number";
    }
}

std::int32_t named_number(const Fields& fields, const std::string& key, const Json& value, const NameTable* table)
{
    if (!value.is_string() || !table)
        return fields.to_int(value, key);
    for (const NamedNumber& entry : *table) {
        if (equal_ignoring_ascii_case(entry.name, value.get<std::string>()))
            return entry.number;
    }
    std::string known;
    for (const NamedNumber& entry : *table)
        known += (known.empty() ? "" : ", ") + entry.name;
    fields.fail(key, "unknown name \"" + value.get<std::string>() + "\" (known: " + known + ")");
}

Json number_json(std::int32_t number, const NameTable* table)
{
    if (table) {
        for (const NamedNumber& entry : *table) {
            if (entry.number == number)
                return entry.name;
        }
    }
    return number;
}

}  // namespace

const NameTable& event_kind_names() { return kind_names(); }

const NameTable* event_number_names(std::int32_t kind) { return number_names(kind); }

std::string event_number_field(std::int32_t kind) { return number_key(kind); }

EventKey read_event_key(Fields& fields, const ResourceNames& objects)
{
    EventKey key;
    const Json* kind = fields.take("event");
    if (!kind)
        fields.fail("event", "missing (create, step, collision ...)");
    key.kind = named_number(fields, "event", *kind, &kind_names());
    if (key.kind < 0 || key.kind >= EVENT_KIND_COUNT)
        fields.fail("event", "event kinds run from 0 to " + std::to_string(EVENT_KIND_COUNT - 1));
    std::string number_field = number_key(key.kind);
    if (const Json* number = fields.take(number_field)) {
        key.number = key.kind == EVENT_COLLISION ? objects.resolve(fields, number_field, *number)
                                                 : named_number(fields, number_field, *number, number_names(key.kind));
    } else if (key.kind == EVENT_COLLISION) {
        fields.fail("with", "missing: the object collided with");
    }
    if (key.number < 0)
        fields.fail(number_field, "must not be negative");
    return key;
}

void write_event_key(Json& out, EventKey key, const ResourceNames& objects)
{
    out["event"] = number_json(key.kind, &kind_names());
    if (key.kind == EVENT_COLLISION)
        out["with"] = objects.reference(key.number);
    else if (key.number != 0 || (number_names(key.kind) && key.kind != EVENT_STEP))  // only 0 without a name
        out[number_key(key.kind)] = number_json(key.number, number_names(key.kind));
}

std::string event_label(EventKey key, const ResourceNames& objects)
{
    std::string label = number_json(key.kind, &kind_names()).get<std::string>();
    if (key.kind == EVENT_COLLISION) {
        Json other = objects.reference(key.number);
        return label + " with " + (other.is_string() ? other.get<std::string>() : other.dump());
    }
    if (key.number == 0 && number_names(key.kind) != &key_table())
        return label;
    Json number = number_json(key.number, number_names(key.kind));
    return label + " " + (number.is_string() ? number.get<std::string>() : number.dump());
}

}  // namespace quillon
