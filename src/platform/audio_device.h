// Audio device: the sound output that wave sounds and music play through.
#pragma once

namespace quillon::platform {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the device. A machine without a usable device gets a silent one instead, with one line on
    // standard error; the game runs on either way.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;
    // True when nothing will be heard: the silent fallback, or a driver that never plays.
    virtual bool is_silent() const = 0;
};

}  // namespace quillon::platform
