// Sdl2AudioDevice: the SDL2 audio output; it plays silence until the sound mixer feeds it.
#pragma once

#include "platform/audio_device.h"

#include <cstdint>

namespace quillon::platform {

class Sdl2AudioDevice final : public AudioDevice {
public:
    Sdl2AudioDevice() = default;
    ~Sdl2AudioDevice() override;
    Sdl2AudioDevice(const Sdl2AudioDevice&) = delete;
    Sdl2AudioDevice& operator=(const Sdl2AudioDevice&) = delete;

    void open() override;
    void close() override;
    bool is_open() const override { return m_open; }
    bool is_silent() const override { return m_device == 0; }

private:
    bool m_open = false;          // between open and close, with a device or silently
    bool m_started = false;       // the audio subsystem is ours to stop
    std::uint32_t m_device = 0;   // SDL's device id; 0 for the silent fallback
};

}  // namespace quillon::platform
