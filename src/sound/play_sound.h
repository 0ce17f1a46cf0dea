// TPlaySound: the player of one sound file; waves play through duplicate voices so that a sound overlaps
// itself, every other file through a music player.
#pragma once

#include "platform/audio_device.h"
#include "sound/music_player.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace quillon {

constexpr int MAX_SOUND_BUFFERS = 16;
// Music files whose name is this long or longer cannot be played.
constexpr std::size_t MUSIC_NAME_LIMIT = 127;

class TPlaySound {
public:
    // Opens the file; a file that is missing or cannot be read gives a player that is not usable.
    TPlaySound(platform::AudioDevice& device, const std::filesystem::path& file, bool effects, int buffer_count);
    ~TPlaySound();
    TPlaySound(const TPlaySound&) = delete;
    TPlaySound& operator=(const TPlaySound&) = delete;

    bool usable() const { return m_usable; }
    bool media() const { return m_media; }
    int buffer_count() const { return m_buffer_count; }
    int current_buffer() const { return m_current; }
    // The music player of a media file; null for waves and files that could not be opened.
    MusicPlayer* music() { return m_music.get(); }

    // Plays on the next buffer in turn and gives its index; 0 when nothing can play.
    int play(bool loop);
    void stop();
    bool is_playing();
    // Levels apply to every buffer of a wave with effects; music ignores them.
    void set_pan(std::int32_t pan);
    void set_volume(std::int32_t volume);
    void set_frequency(std::int32_t frequency);
    std::int32_t pan() const { return m_pan; }
    std::int32_t volume() const { return m_volume; }
    std::int32_t frequency() const { return m_frequency; }

private:
    void open_wave(const std::filesystem::path& file);
    void open_media(const std::filesystem::path& file);
    void apply_gains();

    platform::AudioDevice& m_device;
    bool m_usable = false;            // the file was there and could be read
    bool m_media = false;             // not a ".wav": the music path
    bool m_effects = false;           // pan, volume and frequency can change
    int m_buffer_count = 1;           // 1 to 16
    int m_current = 0;                // the buffer of the last play
    platform::AudioBufferId m_buffer = 0;      // the wave's samples, shared by the voices
    std::vector<platform::VoiceId> m_voices;   // one per buffer
    int m_sample_rate = 0;            // the wave's own rate
    std::int32_t m_pan = 0;           // hundredths of a decibel, left to right
    std::int32_t m_volume = 0;        // hundredths of a decibel of attenuation
    std::int32_t m_frequency = 0;     // samples per second
    std::unique_ptr<MusicPlayer> m_music;  // the music path
};

}  // namespace quillon
