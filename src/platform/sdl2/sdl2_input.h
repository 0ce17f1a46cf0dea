// Sdl2Input: SDL2 keyboard, mouse, joystick and window events as plain records.
#pragma once

#include "platform/input.h"
#include "platform/sdl2/sdl2_joysticks.h"

union SDL_Event;

namespace quillon::platform {

// Appends the records of one SDL event: keys (with the control character that Backspace, Tab, Enter and Escape
// type), typed text, the mouse, window events and quit; other events add nothing.
void append_sdl2_event(const SDL_Event& sdl, std::vector<Event>& events);

class Sdl2Input final : public Input {
public:
    Sdl2Input();
    ~Sdl2Input() override;
    Sdl2Input(const Sdl2Input&) = delete;
    Sdl2Input& operator=(const Sdl2Input&) = delete;

    void poll(std::vector<Event>& events) override;
    void synthesize(Event event) override;
    bool num_lock() const override;

private:
    bool m_started;                     // the events subsystem is ours to stop
    Sdl2Joysticks m_joysticks;          // joysticks and game controllers as they come and go
    std::vector<Event> m_synthesized;   // keys the game typed itself, handed out after SDL's events
};

}  // namespace quillon::platform
