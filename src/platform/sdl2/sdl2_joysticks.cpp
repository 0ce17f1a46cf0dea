// Sdl2Joysticks: the first two joysticks or game controllers, opened as they are plugged in and closed as they
// go, with their SDL events turned into joystick records on the driver's scale.
#include "platform/sdl2/sdl2_joysticks.h"

#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>

#include <algorithm>

namespace quillon::platform {

namespace {

constexpr int HUNDREDTHS_PER_EIGHTH = 4500;

// SDL's axis values (-32768..32767) on the driver's scale, with SDL's centre at the driver's.
int driver_position(int sdl_value)
{
    return std::clamp(sdl_value + JOYSTICK_AXIS_CENTRE, 0, JOYSTICK_AXIS_MAX);
}

// A hat's direction in hundredths of a degree clockwise from up, or centred.
int pov_of(bool up, bool right, bool down, bool left)
{
    int eighth = -1;
    if (up)
        eighth = right ? 1 : left ? 7 : 0;
    else if (down)
        eighth = right ? 3 : left ? 5 : 4;
    else if (right)
        eighth = 2;
    else if (left)
        eighth = 6;
    return eighth < 0 ? JOYSTICK_POV_CENTRED : eighth * HUNDREDTHS_PER_EIGHTH;
}

int hat_pov(Uint8 hat)
{
    return pov_of(hat & SDL_HAT_UP, hat & SDL_HAT_RIGHT, hat & SDL_HAT_DOWN, hat & SDL_HAT_LEFT);
}

// The controller's axes as the driver of a pad reports them: the left stick is x and y, the right stick u
// (across) and r (up and down), the two triggers together z.
int controller_axis(Uint8 axis)
{
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: return 0;
    case SDL_CONTROLLER_AXIS_LEFTY: return 1;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: return 2;
    case SDL_CONTROLLER_AXIS_RIGHTY: return 3;
    case SDL_CONTROLLER_AXIS_RIGHTX: return 4;
    default: return -1;
    }
}
constexpr JoystickCaps CONTROLLER_CAPS {5, 10, true};

// The controller's buttons numbered as a pad's driver numbers them; 0 for the pad's cross, which is its hat.
int controller_button(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return 1;
    case SDL_CONTROLLER_BUTTON_B: return 2;
    case SDL_CONTROLLER_BUTTON_X: return 3;
    case SDL_CONTROLLER_BUTTON_Y: return 4;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return 5;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return 6;
    case SDL_CONTROLLER_BUTTON_BACK: return 7;
    case SDL_CONTROLLER_BUTTON_START: return 8;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return 9;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return 10;
    default: return 0;
    }
}

bool is_dpad(Uint8 button)
{
    return button == SDL_CONTROLLER_BUTTON_DPAD_UP || button == SDL_CONTROLLER_BUTTON_DPAD_DOWN
           || button == SDL_CONTROLLER_BUTTON_DPAD_LEFT || button == SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
}

Event joystick_event(EventKind kind, int number)
{
    Event event {.kind = kind};
    event.joystick = number;
    return event;
}

void add_axis(int number, int axis, int position, std::vector<Event>& events)
{
    Event event = joystick_event(EventKind::joystick_axis, number);
    event.axis = axis;
    event.position = position;
    events.push_back(event);
}

void add_button(int number, int button, bool down, std::vector<Event>& events)
{
    Event event = joystick_event(down ? EventKind::joystick_button_down : EventKind::joystick_button_up, number);
    event.button = button;
    events.push_back(event);
}

void add_pov(int number, int pov, std::vector<Event>& events)
{
    Event event = joystick_event(EventKind::joystick_pov, number);
    event.position = pov;
    events.push_back(event);
}

// Joysticks are read whether or not the window has the focus, as a driver is asked for positions at any time;
// otherwise a stick held while the focus went would stay held for the game.
bool start_joysticks()
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return sdl2_start(SDL_INIT_GAMECONTROLLER);
}

}  // namespace

Sdl2Joysticks::Sdl2Joysticks()
    : m_started(start_joysticks())
{
}

Sdl2Joysticks::~Sdl2Joysticks()
{
    for (Slot& slot : m_slots) {
        if (slot.controller)
            SDL_GameControllerClose(slot.controller);
        else if (slot.joystick)
            SDL_JoystickClose(slot.joystick);
    }
    if (m_started)
        sdl2_stop(SDL_INIT_GAMECONTROLLER);
}

Sdl2Joysticks::Slot* Sdl2Joysticks::slot_of(int instance_id, int& number)
{
    for (int i = 0; i < JOYSTICKS; ++i) {
        if (m_slots[i].joystick && m_slots[i].instance_id == instance_id) {
            number = i + 1;
            return &m_slots[i];
        }
    }
    return nullptr;
}

// Opens the device into the first free slot and reports it with its controls as they are now.
void Sdl2Joysticks::open(int device_index, std::vector<Event>& events)
{
    int number = 0;
    if (slot_of(SDL_JoystickGetDeviceInstanceID(device_index), number))
        return;
    auto free = std::find_if(m_slots.begin(), m_slots.end(), [](const Slot& slot) { return !slot.joystick; });
    if (free == m_slots.end())
        return;
    Slot slot;
    if (SDL_IsGameController(device_index)) {
        slot.controller = SDL_GameControllerOpen(device_index);
        slot.joystick = slot.controller ? SDL_GameControllerGetJoystick(slot.controller) : nullptr;
    }
    if (!slot.joystick)
        slot.joystick = SDL_JoystickOpen(device_index);
    if (!slot.joystick)
        return;
    slot.instance_id = SDL_JoystickInstanceID(slot.joystick);
    *free = slot;
    number = static_cast<int>(free - m_slots.begin()) + 1;

    Event plugged = joystick_event(EventKind::joystick_plugged, number);
    const char* name = slot.controller ? SDL_GameControllerName(slot.controller) : SDL_JoystickName(slot.joystick);
    plugged.text = utf8_to_win1252(name ? name : "");
    if (slot.controller) {
        plugged.joystick_caps = CONTROLLER_CAPS;
    } else {
        plugged.joystick_caps.axes = std::min(SDL_JoystickNumAxes(slot.joystick), JOYSTICK_AXES);
        plugged.joystick_caps.buttons = std::min(SDL_JoystickNumButtons(slot.joystick), JOYSTICK_BUTTONS);
        plugged.joystick_caps.has_pov = SDL_JoystickNumHats(slot.joystick) > 0;
    }
    events.push_back(plugged);

    if (slot.controller) {
        for (Uint8 axis : {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_AXIS_RIGHTY,
                 SDL_CONTROLLER_AXIS_RIGHTX})
            add_axis(number, controller_axis(axis),
                driver_position(SDL_GameControllerGetAxis(slot.controller, static_cast<SDL_GameControllerAxis>(axis))),
                events);
        controller_triggers(slot, number, events);
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
            auto sdl_button = static_cast<SDL_GameControllerButton>(button);
            int mapped = controller_button(button);
            if (mapped && SDL_GameControllerGetButton(slot.controller, sdl_button))
                add_button(number, mapped, true, events);
        }
        controller_pov(slot, number, events);
        return;
    }
    for (int axis = 0; axis < plugged.joystick_caps.axes; ++axis)
        add_axis(number, axis, driver_position(SDL_JoystickGetAxis(slot.joystick, axis)), events);
    for (int button = 0; button < plugged.joystick_caps.buttons; ++button)
        if (SDL_JoystickGetButton(slot.joystick, button))
            add_button(number, button + 1, true, events);
    if (plugged.joystick_caps.has_pov)
        add_pov(number, hat_pov(SDL_JoystickGetHat(slot.joystick, 0)), events);
}

// Closes the device that went; a device that found no free slot before takes its place.
void Sdl2Joysticks::close(int instance_id, std::vector<Event>& events)
{
    int number = 0;
    Slot* slot = slot_of(instance_id, number);
    if (!slot)
        return;
    if (slot->controller)
        SDL_GameControllerClose(slot->controller);
    else
        SDL_JoystickClose(slot->joystick);
    *slot = Slot {};
    events.push_back(joystick_event(EventKind::joystick_unplugged, number));
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        int other = 0;
        if (SDL_JoystickGetDeviceInstanceID(device) != instance_id
            && !slot_of(SDL_JoystickGetDeviceInstanceID(device), other)) {
            open(device, events);
            return;
        }
    }
}

void Sdl2Joysticks::controller_pov(const Slot& slot, int number, std::vector<Event>& events)
{
    auto down = [&slot](SDL_GameControllerButton button) {
        return SDL_GameControllerGetButton(slot.controller, button) != 0;
    };
    add_pov(number,
        pov_of(down(SDL_CONTROLLER_BUTTON_DPAD_UP), down(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
            down(SDL_CONTROLLER_BUTTON_DPAD_DOWN), down(SDL_CONTROLLER_BUTTON_DPAD_LEFT)),
        events);
}

// The left trigger pushes z up from the centre, the right one down, as one axis for both.
void Sdl2Joysticks::controller_triggers(const Slot& slot, int number, std::vector<Event>& events)
{
    int left = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    int right = SDL_GameControllerGetAxis(slot.controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    add_axis(number, controller_axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), driver_position(left - right), events);
}

bool Sdl2Joysticks::handle(const SDL_Event& sdl, std::vector<Event>& events)
{
    int number = 0;
    switch (sdl.type) {
    case SDL_JOYDEVICEADDED: open(sdl.jdevice.which, events); return true;
    case SDL_JOYDEVICEREMOVED: close(sdl.jdevice.which, events); return true;
    case SDL_JOYAXISMOTION:
        if (const Slot* slot = slot_of(sdl.jaxis.which, number);
            slot && !slot->controller && sdl.jaxis.axis < JOYSTICK_AXES)
            add_axis(number, sdl.jaxis.axis, driver_position(sdl.jaxis.value), events);
        return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (const Slot* slot = slot_of(sdl.jbutton.which, number);
            slot && !slot->controller && sdl.jbutton.button < JOYSTICK_BUTTONS)
            add_button(number, sdl.jbutton.button + 1, sdl.type == SDL_JOYBUTTONDOWN, events);
        return true;
    case SDL_JOYHATMOTION:
        if (const Slot* slot = slot_of(sdl.jhat.which, number); slot && !slot->controller && sdl.jhat.hat == 0)
            add_pov(number, hat_pov(sdl.jhat.value), events);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (const Slot* slot = slot_of(sdl.caxis.which, number); slot && slot->controller) {
            if (sdl.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || sdl.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT)
                controller_triggers(*slot, number, events);
            else if (int axis = controller_axis(sdl.caxis.axis); axis >= 0)
                add_axis(number, axis, driver_position(sdl.caxis.value), events);
        }
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (const Slot* slot = slot_of(sdl.cbutton.which, number); slot && slot->controller) {
            if (is_dpad(sdl.cbutton.button))
                controller_pov(*slot, number, events);
            else if (int button = controller_button(sdl.cbutton.button))
                add_button(number, button, sdl.type == SDL_CONTROLLERBUTTONDOWN, events);
        }
        return true;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMAPPED: return true;  // the joystick device events cover them
    default: return false;
    }
}

}  // namespace quillon::platform
