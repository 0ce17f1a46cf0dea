// Audio device: the one mixer that wave sounds and music play through, with voices over shared sample buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace quillon::platform {

// The rate and layout of everything the mixer puts out (and of a capture).
constexpr int MIX_RATE = 44100;
constexpr int MIX_CHANNELS = 2;

// Samples pulled while a stream voice plays: interleaved stereo 16-bit frames at MIX_RATE.
class SampleStream {
public:
    virtual ~SampleStream() = default;
    // Writes up to `frames` frames and gives how many; fewer than asked means the stream has ended.
    virtual std::size_t read(std::int16_t* frames_out, std::size_t frames) = 0;
};

using AudioBufferId = std::uint32_t;   // 0 is no buffer
using VoiceId = std::uint32_t;         // 0 is no voice

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the device. A machine without a usable device gets the silent mixer instead, with one line on
    // standard error; every voice then behaves as with a device, only nothing is heard.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;
    // True when nothing will be heard: the silent mixer.
    virtual bool is_silent() const = 0;
    // Everything mixed from now on is also written to this WAV file (44.1 kHz stereo 16-bit); the mixer then
    // runs on game time. Call before open. False when the file cannot be written.
    virtual bool capture_to(const std::filesystem::path& file) = 0;

    // Sample data that voices play: interleaved stereo 16-bit frames at `sample_rate`. Voices with effects
    // need a buffer made for panning. Gives 0 when the device is closed or cannot hold it.
    virtual AudioBufferId create_buffer(int sample_rate, std::span<const std::int16_t> stereo_frames,
        bool for_panning) = 0;
    virtual void delete_buffer(AudioBufferId buffer) = 0;

    // A voice plays one buffer; several voices may share a buffer. A voice made with effects can be panned.
    virtual VoiceId create_voice(AudioBufferId buffer, bool effects) = 0;
    // A voice that plays what the stream gives, at MIX_RATE, until it ends. The stream outlives the voice.
    virtual VoiceId create_stream_voice(SampleStream& stream) = 0;
    virtual void delete_voice(VoiceId voice) = 0;

    // Plays from the start (a stream voice goes on from where its stream is).
    virtual void play(VoiceId voice, bool loop) = 0;
    virtual void stop(VoiceId voice) = 0;
    // A paused voice keeps its place and what it has queued; it is not playing until it resumes.
    virtual void pause(VoiceId voice) = 0;
    virtual void resume(VoiceId voice) = 0;
    virtual bool is_playing(VoiceId voice) = 0;
    // How many frames a stream voice has played since it was last played from its stream.
    virtual std::int64_t frames_played(VoiceId voice) = 0;
    // Gains are factors (1 is unchanged, 0 is silence); pitch is a factor of the buffer's rate.
    virtual void set_gains(VoiceId voice, double left, double right) = 0;
    virtual void set_pitch(VoiceId voice, double pitch) = 0;

    // Game time passed: the silent mixer renders that much audio; a device tops up the playing streams.
    virtual void advance(double seconds) = 0;
};

}  // namespace quillon::platform
