// MusicPlayer: a music file playing through a stream voice of the mixer, restarted at its end when looping.
#pragma once

#include "platform/audio_device.h"
#include "platform/music_decoder.h"

#include <memory>

namespace quillon {

class MusicPlayer final : public platform::SampleStream {
public:
    MusicPlayer(platform::AudioDevice& device, std::unique_ptr<platform::MusicDecoder> decoder);
    ~MusicPlayer() override;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // From the start; a looping play starts again each time the music ends.
    void play(bool loop);
    void stop();
    // Plays on from the current place (from the start when the music is at its end).
    void play_here(bool loop);
    // Playing stops at this place, in milliseconds from the start; a negative place is the music's end.
    void set_end(std::int64_t milliseconds);
    // Pausing keeps the place; resuming plays on from it.
    void pause();
    void resume();
    // Muted music plays on without being heard.
    void set_muted(bool muted);
    bool is_playing();
    bool is_paused() const { return m_paused; }
    // Moves to a place, in milliseconds from the start; the player then stands there, stopped.
    void seek(std::int64_t milliseconds);
    std::int64_t position_ms();
    std::int64_t length_ms() const { return m_decoder->length_ms(); }

    std::size_t read(std::int16_t* frames_out, std::size_t frames) override;

private:
    void start(bool loop, std::int64_t frame);
    void decode_to(std::int64_t frame);
    std::int64_t position_frame();
    std::int64_t length_frames() const;

    platform::AudioDevice& m_device;
    std::unique_ptr<platform::MusicDecoder> m_decoder;  // the file's sound
    platform::VoiceId m_voice = 0;   // the mixer's stream voice
    bool m_loop = false;             // restart at the end
    bool m_paused = false;           // stopped with the place kept
    std::int64_t m_frames_read = 0;  // place in the music, in frames handed to the mixer
    std::int64_t m_end_frame = -1;   // where playing stops; -1 for the music's end
    std::int64_t m_start_frame = 0;  // the place the voice last started playing from
    std::int64_t m_held_frame = 0;   // the place while stopped
};

}  // namespace quillon
