// Sdl2Joysticks: the first two joysticks or game controllers, opened as they are plugged in and closed as they
// go, with their SDL events turned into joystick records on the driver's scale.
#pragma once

#include "platform/input.h"

#include <array>
#include <vector>

union SDL_Event;
struct _SDL_Joystick;
struct _SDL_GameController;

namespace quillon::platform {

class Sdl2Joysticks {
public:
    Sdl2Joysticks();
    ~Sdl2Joysticks();
    Sdl2Joysticks(const Sdl2Joysticks&) = delete;
    Sdl2Joysticks& operator=(const Sdl2Joysticks&) = delete;

    // Adds the records of a joystick or controller event; false for any other event.
    bool handle(const SDL_Event& sdl, std::vector<Event>& events);

private:
    // One of the two joysticks games see. A device SDL knows as a game controller is read through the
    // controller's standard layout; any other through its raw axes, buttons and first hat.
    struct Slot {
        _SDL_Joystick* joystick = nullptr;         // the device; owned by the controller when there is one
        _SDL_GameController* controller = nullptr; // its standard layout, or none
        int instance_id = -1;                      // SDL's id of the device while open
    };

    void open(int device_index, std::vector<Event>& events);
    void close(int instance_id, std::vector<Event>& events);
    Slot* slot_of(int instance_id, int& number);
    void controller_pov(const Slot& slot, int number, std::vector<Event>& events);
    void controller_triggers(const Slot& slot, int number, std::vector<Event>& events);

    bool m_started;                        // the controller subsystem is ours to stop
    std::array<Slot, JOYSTICKS> m_slots {}; // joystick 1 and 2
};

}  // namespace quillon::platform
