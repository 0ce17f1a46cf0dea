// SilentAudioDevice: the headless sound output, which opens always and plays nothing.
#pragma once

#include "platform/audio_device.h"

namespace quillon::platform {

class SilentAudioDevice final : public AudioDevice {
public:
    void open() override { m_open = true; }
    void close() override { m_open = false; }
    bool is_open() const override { return m_open; }
    bool is_silent() const override { return true; }

private:
    bool m_open = false;   // between open and close
};

}  // namespace quillon::platform
