// Sdl2Input: SDL2 keyboard, mouse and window events as plain records.
#pragma once

#include "platform/input.h"

namespace quillon::platform {

class Sdl2Input final : public Input {
public:
    Sdl2Input();
    ~Sdl2Input() override;
    Sdl2Input(const Sdl2Input&) = delete;
    Sdl2Input& operator=(const Sdl2Input&) = delete;

    void poll(std::vector<Event>& events) override;

private:
    bool m_started;   // the events subsystem is ours to stop
};

}  // namespace quillon::platform
