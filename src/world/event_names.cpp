// Display names of events, as error messages and the debug window show them.
#include "world/event_names.h"

#include <array>

namespace quillon {

namespace {

constexpr const char* UNKNOWN = "<unknown>";

constexpr std::array<const char*, 14> MOUSE_NAMES = {
    "Left Button",    "Right Button",   "Middle Button",   "No Button",   "Left Pressed",
    "Right Pressed",  "Middle Pressed", "Left Released",   "Right Released", "Middle Released",
    "Mouse Enter",    "Mouse Leave",    "Global Pressed",  "Global Released",
};

constexpr std::array<const char*, 18> OTHER_NAMES = {
    "Outside Room",     "Intersect Boundary", "Game Start",       "Game End",         "Room Start",
    "Room End",         "No More Lives",      "Animation End",    "End Of Path",      "No More Health",
    "User Defined 0",   "User Defined 1",     "User Defined 2",   "User Defined 3",   "User Defined 4",
    "User Defined 5",   "User Defined 6",     "User Defined 7",
};

constexpr std::array<const char*, 4> JOYSTICK_DIRECTIONS = {"Left", "Right", "Up", "Down"};

// Joystick 1 takes 16..28, joystick 2 the same layout 15 numbers later.
std::string joystick_name(int number)
{
    int joystick = number >= 31 ? 2 : 1;
    int offset = number - (joystick == 2 ? 31 : 16);
    std::string prefix = "Joystick " + std::to_string(joystick) + " ";
    if (offset >= 0 && offset < 4)
        return prefix + JOYSTICK_DIRECTIONS[offset];
    if (offset >= 5 && offset <= 12)
        return prefix + "Button " + std::to_string(offset - 4);
    return UNKNOWN;
}

std::string mouse_name(int number)
{
    if (number >= 0 && number < static_cast<int>(MOUSE_NAMES.size()))
        return MOUSE_NAMES[number];
    return number >= 16 && number <= 43 ? joystick_name(number) : UNKNOWN;
}

// Begin and end steps are named; the normal step has an empty name.
std::string step_name(int number)
{
    switch (number) {
    case 0: return "";
    case 1: return "Begin";
    case 2: return "End";
    default: return UNKNOWN;
    }
}

std::string other_name(int number)
{
    return number >= 0 && number < static_cast<int>(OTHER_NAMES.size()) ? OTHER_NAMES[number] : UNKNOWN;
}

}  // namespace

std::string key_name(int code)
{
    switch (code) {
    case 0: return "<no key>";
    case 1: return "<any key>";
    case 8: return "<Backspace>";
    case 9: return "<Tab>";
    case 13: return "<Enter>";
    case 16: return "<Shift>";
    case 17: return "<Ctrl>";
    case 18: return "<Alt>";
    case 27: return "<Escape>";
    case 32: return "<Space>";
    case 33: return "<Page Up>";
    case 34: return "<Page Down>";
    case 35: return "<End>";
    case 36: return "<Home>";
    case 37: return "<Left>";
    case 38: return "<Up>";
    case 39: return "<Right>";
    case 40: return "<Down>";
    case 45: return "<Insert>";
    case 46: return "<Delete>";
    case 106: return "Keypad *";
    case 107: return "Keypad +";
    case 109: return "Keypad -";
    case 110: return "Keypad .";
    case 111: return "Keypad /";
    default: break;
    }
    if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90))
        return std::string(1, static_cast<char>(code)) + "-key";
    if (code >= 96 && code <= 105)
        return "Keypad " + std::to_string(code - 96);
    if (code >= 112 && code <= 123)
        return "F" + std::to_string(code - 111);
    return UNKNOWN;
}

std::string event_name(int kind, int number, const ResourceList<CObject>& objects)
{
    switch (kind) {
    case EVENT_CREATE: return "Create Event";
    case EVENT_DESTROY: return "Destroy Event";
    case EVENT_ALARM: return "Alarm Event for alarm " + std::to_string(number);
    case EVENT_STEP: return step_name(number) + " Step Event";
    case EVENT_COLLISION: return "Collision Event with object " + objects.name(number);
    case EVENT_KEYBOARD: return "Keyboard Event for " + key_name(number) + " Key";
    case EVENT_MOUSE: return "Mouse Event for " + mouse_name(number);
    case EVENT_OTHER: return "Other Event: " + other_name(number);
    case EVENT_DRAW: return "Draw Event";
    case EVENT_KEY_PRESS: return "Key Press Event for " + key_name(number) + " Key";
    case EVENT_KEY_RELEASE: return "Key Release Event for " + key_name(number) + " Key";
    default: return "<Unknown Event>";
    }
}

}  // namespace quillon
