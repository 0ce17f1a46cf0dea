// MciCommands: the media command strings games send (open, play, pause, resume, stop, seek, close, status and
// set) carried out on music players of their own. There is no CD drive: the "cdaudio" device never opens.
#pragma once

#include "platform/audio_device.h"
#include "sound/music_player.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class MciCommands {
public:
    explicit MciCommands(platform::AudioDevice& device);
    ~MciCommands();
    MciCommands(const MciCommands&) = delete;
    MciCommands& operator=(const MciCommands&) = delete;

    // Carries out one command and gives its reply; an error or an unknown command gives the empty string
    // and changes nothing.
    std::string send(std::string_view command);

private:
    // One opened device: a music file under its alias (or its file name).
    struct Device {
        std::string name;                     // as commands address it, in lower case
        int id = 0;                           // the number the open command replied
        std::unique_ptr<MusicPlayer> player;  // the file playing
        bool paused = false;                  // paused rather than stopped
    };
    using Words = std::vector<std::string>;

    Device* find(std::string_view name);
    std::string open(const Words& words);
    std::string play(Device& device, const Words& words);
    std::string status(Device& device, const Words& words);
    std::string set(Device& device, const Words& words);
    std::string seek(Device& device, const Words& words);
    void close(std::string_view name);

    platform::AudioDevice& m_device;
    std::vector<Device> m_devices;  // in the order they were opened
    int m_next_id = 1;              // the number the next open replies
};

}  // namespace quillon
