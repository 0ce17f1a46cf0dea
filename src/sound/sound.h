// CSound: a sound resource, the file data it carries and how it is to be played.
#pragma once

#include "platform/audio_device.h"
#include "sound/play_sound.h"
#include "support/stream.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t SOUND_LIST_VERSION = 400;
constexpr std::int32_t SOUND_VERSION = 440;

// Sound kinds.
constexpr std::int32_t SOUND_KIND_NONE = -1;
constexpr std::int32_t SOUND_KIND_WAVE = 0;
constexpr std::int32_t SOUND_KIND_MUSIC = 1;  // one background music plays at a time
constexpr std::int32_t SOUND_KIND_MP3 = 2;
constexpr std::int32_t SOUND_KIND_OTHER = 10;

class CSound {
public:
    std::int32_t kind = SOUND_KIND_NONE;       // what the data is
    std::string extension;                     // of the sound's file, with the dot
    std::vector<std::uint8_t> stored_data;     // the data as stored: a zlib stream
    std::vector<std::uint8_t> data;            // the file's bytes, held from loading until preparation
    std::int32_t buffers = 1;                  // wave buffers that let the sound overlap itself
    bool effects = false;                      // pan, volume and frequency can change
    bool load_on_use = false;                  // the player is made when the sound is first used
    std::filesystem::path file_name;           // the file the player plays; empty for none
    std::unique_ptr<TPlaySound> player;        // made from the file, at once or on first use

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    // Makes the player when there is none and there is a file to play.
    void make_player(platform::AudioDevice& device);
    void drop_player() { player.reset(); }
    // Play and the levels make the player first; stop and is_playing act only on a player there is.
    void play(platform::AudioDevice& device, bool loop);
    void stop();
    bool is_playing() const;
    void set_pan(platform::AudioDevice& device, double value);
    void set_volume(platform::AudioDevice& device, double value);
    void set_frequency(platform::AudioDevice& device, double value);
};

// The kind a file's extension gives: ".wav" wave, ".mid" music, ".mp3", anything else other.
std::int32_t sound_kind_of(const std::filesystem::path& file);

}  // namespace quillon
