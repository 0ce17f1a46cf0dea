// OpenAlMixer: the audio device over OpenAL Soft, on the sound card or, on game time, on its loopback device.
#pragma once

#include "platform/audio_device.h"
#include "platform/headless/wave_capture.h"

#include <array>
#include <vector>

// OpenAL's own names of its device and context.
struct ALCdevice_struct;
struct ALCcontext_struct;

namespace quillon::platform {

class OpenAlMixer final : public AudioDevice {
public:
    // With want_card the default sound card is tried first; without it (headless) the mixer runs on game time.
    explicit OpenAlMixer(bool want_card);
    ~OpenAlMixer() override;
    OpenAlMixer(const OpenAlMixer&) = delete;
    OpenAlMixer& operator=(const OpenAlMixer&) = delete;

    void open() override;
    void close() override;
    bool is_open() const override { return m_context != nullptr; }
    bool is_silent() const override { return m_loopback; }
    bool capture_to(const std::filesystem::path& file) override;

    AudioBufferId create_buffer(int sample_rate, std::span<const std::int16_t> stereo_frames,
        bool for_panning) override;
    void delete_buffer(AudioBufferId buffer) override;
    VoiceId create_voice(AudioBufferId buffer, bool effects) override;
    VoiceId create_stream_voice(SampleStream& stream) override;
    void delete_voice(VoiceId voice) override;
    void play(VoiceId voice, bool loop) override;
    void stop(VoiceId voice) override;
    void pause(VoiceId voice) override;
    void resume(VoiceId voice) override;
    bool is_playing(VoiceId voice) override;
    std::int64_t frames_played(VoiceId voice) override;
    void set_gains(VoiceId voice, double left, double right) override;
    void set_pitch(VoiceId voice, double pitch) override;
    void advance(double seconds) override;

private:
    static constexpr int STREAM_BUFFERS = 4;         // queued per stream voice
    static constexpr int STREAM_FRAMES = 4096;       // frames per queued stream buffer
    static constexpr int RENDER_CHUNK_FRAMES = 1024; // the loopback mixes this much at most between refills

    // One sample buffer: the whole sound, and for panning its left and right channel alone.
    struct Buffer {
        unsigned full = 0;          // the sound as given
        unsigned left_only = 0;     // the left channel, the right silent; 0 unless made for panning
        unsigned right_only = 0;    // the right channel, the left silent
        bool used = false;          // the slot holds a buffer
    };
    // A voice: up to two sources while it plays (two for a panned voice, one channel each).
    struct Voice {
        AudioBufferId buffer = 0;       // what it plays; 0 for a stream voice
        SampleStream* stream = nullptr; // what a stream voice plays
        bool effects = false;           // pan through the two channel sources
        std::array<unsigned, 2> sources {};  // sources held while playing; 0 for none
        std::array<unsigned, STREAM_BUFFERS> stream_buffers {};  // a stream voice's own buffers
        std::array<std::int64_t, STREAM_BUFFERS> buffer_frames {};  // frames each of them holds
        std::int64_t frames_done = 0;   // frames of the stream buffers played to their end since play
        bool paused = false;            // holds its place without playing
        double left = 1, right = 1;     // channel gains
        double pitch = 1;               // playback rate factor
        bool stream_active = false;     // a stream voice is playing or still has queued sound
        bool stream_ended = false;      // its stream gave its last frames
        bool used = false;              // the slot holds a voice
    };

    bool open_card();
    bool open_loopback();
    bool make_context(const int* attributes);
    Voice* voice_at(VoiceId id);
    unsigned acquire_source();
    void release_sources(Voice& voice);
    void apply_gains(Voice& voice);
    void apply_pitch(Voice& voice);
    void start_stream(Voice& voice);
    void refill_stream(Voice& voice);
    void queue_stream_buffer(Voice& voice, unsigned buffer);
    void refill_streams();
    void render(std::size_t frames);

    bool m_want_card = false;         // a sound card is tried before the loopback
    bool m_loopback = false;          // mixing on game time into memory
    ALCdevice_struct* m_device = nullptr;    // the card or the loopback
    ALCcontext_struct* m_context = nullptr;  // the sources' context, current while open
    std::vector<Buffer> m_buffers;    // by id - 1
    std::vector<Voice> m_voices;      // by id - 1
    std::vector<unsigned> m_free_sources;  // made sources that no voice holds
    std::vector<float> m_mix;         // one render chunk from the loopback
    std::vector<std::int16_t> m_samples;   // the same chunk for the capture, and stream fills
    double m_frames_owed = 0;         // game time not yet rendered, in frames
    WaveCapture m_capture;            // --audio
};

}  // namespace quillon::platform
