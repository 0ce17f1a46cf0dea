// CdAudio: the CD functions as command strings to the "cdaudio" device, and their replies read as numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillon {

class CdAudio {
public:
    // Sends one command string and gives the device's reply (empty for none or an error).
    using Send = std::function<std::string(std::string_view command)>;

    explicit CdAudio(Send send);

    void init();
    bool present();
    double number();
    bool playing();
    bool paused();
    double track();
    double length();
    double track_length(std::int32_t track);
    double position();
    double track_position();
    void play(std::int32_t first, std::int32_t last);
    void stop();
    void pause();
    void resume();
    void set_position(std::int32_t milliseconds);
    void set_track_position(std::int32_t milliseconds);
    void open_door();
    void close_door();

private:
    std::string send(std::string_view command);
    // The reply as a number: its decimal digits in order, every other character dropped; 0 without digits.
    double send_for_number(std::string_view command);

    Send m_send;   // the way to the device
};

// The decimal digits of a text read as one number, every other character dropped; 0 without digits.
double digits_of(std::string_view text);

}  // namespace quillon
