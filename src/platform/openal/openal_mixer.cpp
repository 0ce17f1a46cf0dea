// OpenAlMixer: the audio device over OpenAL Soft, on the sound card or, on game time, on its loopback device.
#include "platform/openal/openal_mixer.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstring>

namespace quillon::platform {

namespace {

// Enough sources for every duplicate of every sound a game plays at once, two for each panned one.
constexpr int SOURCE_LIMIT = 512;

// Plain stereo out, no limiter: what goes in at full gain comes out unchanged.
constexpr ALCint CARD_ATTRIBUTES[] = {ALC_FREQUENCY, MIX_RATE, ALC_MONO_SOURCES, 0, ALC_STEREO_SOURCES,
    SOURCE_LIMIT, ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, 0};
// Floating-point out is never dithered, so silence stays exactly silent.
constexpr ALCint LOOPBACK_ATTRIBUTES[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
    ALC_FLOAT_SOFT, ALC_FREQUENCY, MIX_RATE, ALC_MONO_SOURCES, 0, ALC_STEREO_SOURCES, SOURCE_LIMIT,
    ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, 0};

// OpenAL Soft's name for its output that goes nowhere.
constexpr const char* NO_OUTPUT_DEVICE = "No Output";

// Whether a sound server or a playback device is there to open. Asking the sound libraries blindly on a machine
// without sound fills standard error with their complaints; a choice of the user's (ALSOFT_DRIVERS) is tried.
bool sound_output_reachable()
{
    if (std::getenv("ALSOFT_DRIVERS") || std::getenv("PULSE_SERVER"))
        return true;
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        std::filesystem::path folder(runtime);
        if (std::filesystem::exists(folder / "pulse" / "native", error)
            || std::filesystem::exists(folder / "pipewire-0", error))
            return true;
    }
    for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", error)) {
        std::string name = entry.path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with('p'))
            return true;
    }
    return false;
}

ALuint make_al_buffer(int sample_rate, const std::int16_t* frames, std::size_t frame_count)
{
    ALuint buffer = 0;
    alGetError();
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alBufferData(buffer, AL_FORMAT_STEREO16, frames, static_cast<ALsizei>(frame_count * 4), sample_rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

// One channel of interleaved stereo kept, the other silenced.
std::vector<std::int16_t> one_channel(std::span<const std::int16_t> frames, int kept)
{
    std::vector<std::int16_t> out(frames.size(), 0);
    for (std::size_t i = static_cast<std::size_t>(kept); i < frames.size(); i += 2)
        out[i] = frames[i];
    return out;
}

void delete_al_buffer(unsigned& buffer)
{
    if (buffer != 0)
        alDeleteBuffers(1, &buffer);
    buffer = 0;
}

}  // namespace

OpenAlMixer::OpenAlMixer(bool want_card)
    : m_want_card(want_card)
{
}

OpenAlMixer::~OpenAlMixer()
{
    close();
}

bool OpenAlMixer::capture_to(const std::filesystem::path& file)
{
    return m_capture.open(file);
}

void OpenAlMixer::open()
{
    if (m_context)
        return;
    // A capture mixes on game time, so that the file holds what the game played step by step.
    if (m_want_card && !m_capture.is_open() && open_card())
        return;
    if (m_want_card && !m_capture.is_open())
        std::fprintf(stderr, "audio: no sound device; the game runs with silent sound\n");
    open_loopback();
}

bool OpenAlMixer::open_card()
{
    if (!sound_output_reachable())
        return false;
    // OpenAL Soft reports its own failures on standard error unless told otherwise; ours is the one line.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    m_device = alcOpenDevice(nullptr);
    if (!m_device)
        return false;
    const ALCchar* name = alcGetString(m_device, ALC_DEVICE_SPECIFIER);
    if ((name && std::strcmp(name, NO_OUTPUT_DEVICE) == 0) || !make_context(CARD_ATTRIBUTES)) {
        alcCloseDevice(m_device);
        m_device = nullptr;
        return false;
    }
    m_loopback = false;
    return true;
}

bool OpenAlMixer::open_loopback()
{
    m_device = alcLoopbackOpenDeviceSOFT(nullptr);
    if (!m_device)
        return false;
    if (!alcIsRenderFormatSupportedSOFT(m_device, MIX_RATE, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)
        || !make_context(LOOPBACK_ATTRIBUTES)) {
        alcCloseDevice(m_device);
        m_device = nullptr;
        return false;
    }
    m_loopback = true;
    m_mix.resize(RENDER_CHUNK_FRAMES * MIX_CHANNELS);
    return true;
}

bool OpenAlMixer::make_context(const int* attributes)
{
    m_context = alcCreateContext(m_device, attributes);
    if (!m_context || !alcMakeContextCurrent(m_context)) {
        if (m_context)
            alcDestroyContext(m_context);
        m_context = nullptr;
        return false;
    }
    m_samples.resize(STREAM_FRAMES * MIX_CHANNELS);
    return true;
}

void OpenAlMixer::close()
{
    if (m_context) {
        for (std::size_t i = 0; i < m_voices.size(); ++i)
            if (m_voices[i].used)
                delete_voice(static_cast<VoiceId>(i + 1));
        for (std::size_t i = 0; i < m_buffers.size(); ++i)
            if (m_buffers[i].used)
                delete_buffer(static_cast<AudioBufferId>(i + 1));
        if (!m_free_sources.empty())
            alDeleteSources(static_cast<ALsizei>(m_free_sources.size()), m_free_sources.data());
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
        alcCloseDevice(m_device);
    }
    m_free_sources.clear();
    m_voices.clear();
    m_buffers.clear();
    m_context = nullptr;
    m_device = nullptr;
    m_frames_owed = 0;
    m_capture.close();
}

AudioBufferId OpenAlMixer::create_buffer(int sample_rate, std::span<const std::int16_t> stereo_frames,
    bool for_panning)
{
    if (!m_context || sample_rate <= 0 || stereo_frames.size() < 2 || stereo_frames.size() % 2 != 0)
        return 0;
    Buffer buffer;
    std::size_t frame_count = stereo_frames.size() / 2;
    buffer.full = make_al_buffer(sample_rate, stereo_frames.data(), frame_count);
    if (buffer.full != 0 && for_panning) {
        buffer.left_only = make_al_buffer(sample_rate, one_channel(stereo_frames, 0).data(), frame_count);
        buffer.right_only = make_al_buffer(sample_rate, one_channel(stereo_frames, 1).data(), frame_count);
    }
    if (buffer.full == 0 || (for_panning && (buffer.left_only == 0 || buffer.right_only == 0))) {
        delete_al_buffer(buffer.full);
        delete_al_buffer(buffer.left_only);
        delete_al_buffer(buffer.right_only);
        return 0;
    }
    buffer.used = true;
    auto slot = std::find_if(m_buffers.begin(), m_buffers.end(), [](const Buffer& b) { return !b.used; });
    if (slot == m_buffers.end())
        slot = m_buffers.insert(m_buffers.end(), Buffer {});
    *slot = buffer;
    return static_cast<AudioBufferId>(slot - m_buffers.begin() + 1);
}

void OpenAlMixer::delete_buffer(AudioBufferId id)
{
    if (id == 0 || id > m_buffers.size() || !m_buffers[id - 1].used)
        return;
    // Voices still on the buffer let go of it first: OpenAL keeps a buffer that a source holds.
    for (Voice& voice : m_voices)
        if (voice.used && voice.buffer == id) {
            release_sources(voice);
            voice.buffer = 0;
        }
    Buffer& buffer = m_buffers[id - 1];
    delete_al_buffer(buffer.full);
    delete_al_buffer(buffer.left_only);
    delete_al_buffer(buffer.right_only);
    buffer.used = false;
}

VoiceId OpenAlMixer::create_voice(AudioBufferId buffer, bool effects)
{
    if (buffer == 0 || buffer > m_buffers.size() || !m_buffers[buffer - 1].used)
        return 0;
    Voice voice;
    voice.buffer = buffer;
    voice.effects = effects && m_buffers[buffer - 1].left_only != 0;
    voice.used = true;
    auto slot = std::find_if(m_voices.begin(), m_voices.end(), [](const Voice& v) { return !v.used; });
    if (slot == m_voices.end())
        slot = m_voices.insert(m_voices.end(), Voice {});
    *slot = voice;
    return static_cast<VoiceId>(slot - m_voices.begin() + 1);
}

VoiceId OpenAlMixer::create_stream_voice(SampleStream& stream)
{
    if (!m_context)
        return 0;
    Voice voice;
    voice.stream = &stream;
    voice.used = true;
    alGetError();
    alGenBuffers(STREAM_BUFFERS, voice.stream_buffers.data());
    if (alGetError() != AL_NO_ERROR)
        return 0;
    auto slot = std::find_if(m_voices.begin(), m_voices.end(), [](const Voice& v) { return !v.used; });
    if (slot == m_voices.end())
        slot = m_voices.insert(m_voices.end(), Voice {});
    *slot = voice;
    return static_cast<VoiceId>(slot - m_voices.begin() + 1);
}

void OpenAlMixer::delete_voice(VoiceId id)
{
    Voice* voice = voice_at(id);
    if (!voice)
        return;
    release_sources(*voice);
    if (voice->stream)
        alDeleteBuffers(STREAM_BUFFERS, voice->stream_buffers.data());
    *voice = Voice {};
}

OpenAlMixer::Voice* OpenAlMixer::voice_at(VoiceId id)
{
    if (id == 0 || id > m_voices.size() || !m_voices[id - 1].used)
        return nullptr;
    return &m_voices[id - 1];
}

unsigned OpenAlMixer::acquire_source()
{
    if (!m_free_sources.empty()) {
        unsigned source = m_free_sources.back();
        m_free_sources.pop_back();
        return source;
    }
    ALuint source = 0;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    // Channels go straight to the speakers of the same name: the gains alone decide the pan.
    alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    return source;
}

void OpenAlMixer::release_sources(Voice& voice)
{
    for (unsigned& source : voice.sources) {
        if (source == 0)
            continue;
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        m_free_sources.push_back(source);
        source = 0;
    }
    voice.stream_active = false;
    voice.paused = false;
}

void OpenAlMixer::apply_gains(Voice& voice)
{
    auto gain = [](double g) { return static_cast<ALfloat>(std::clamp(g, 0.0, 1.0)); };
    if (voice.effects) {
        alSourcef(voice.sources[0], AL_GAIN, gain(voice.left));
        alSourcef(voice.sources[1], AL_GAIN, gain(voice.right));
    }
    // Music has no pan: its gain is the louder side's.
    if (voice.stream)
        alSourcef(voice.sources[0], AL_GAIN, gain(std::max(voice.left, voice.right)));
}

void OpenAlMixer::apply_pitch(Voice& voice)
{
    auto pitch = static_cast<ALfloat>(std::clamp(voice.pitch, 0.0, 255.0));
    for (unsigned source : voice.sources)
        if (source != 0)
            alSourcef(source, AL_PITCH, pitch);
}

void OpenAlMixer::play(VoiceId id, bool loop)
{
    Voice* voice = voice_at(id);
    if (!voice)
        return;
    release_sources(*voice);
    if (voice->stream) {
        start_stream(*voice);
        return;
    }
    if (voice->buffer == 0)
        return;
    const Buffer& buffer = m_buffers[voice->buffer - 1];
    const unsigned channel_buffers[2] = {buffer.left_only, buffer.right_only};
    int count = voice->effects ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        voice->sources[i] = acquire_source();
        if (voice->sources[i] == 0) {
            release_sources(*voice);
            return;
        }
        alSourcei(voice->sources[i], AL_BUFFER, static_cast<ALint>(voice->effects ? channel_buffers[i] : buffer.full));
        alSourcei(voice->sources[i], AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcef(voice->sources[i], AL_GAIN, 1.0f);
    }
    apply_gains(*voice);
    apply_pitch(*voice);
    // Both channels of a panned voice start in the same mix.
    alSourcePlayv(count, voice->sources.data());
}

void OpenAlMixer::start_stream(Voice& voice)
{
    voice.sources[0] = acquire_source();
    if (voice.sources[0] == 0)
        return;
    alSourcei(voice.sources[0], AL_LOOPING, AL_FALSE);
    apply_gains(voice);
    apply_pitch(voice);
    voice.stream_ended = false;
    voice.stream_active = true;
    voice.frames_done = 0;
    for (unsigned buffer : voice.stream_buffers)
        if (!voice.stream_ended)
            queue_stream_buffer(voice, buffer);
    refill_stream(voice);
}

// Fills one of the voice's buffers from its stream and queues it; a short read marks the stream's end.
void OpenAlMixer::queue_stream_buffer(Voice& voice, unsigned buffer)
{
    std::size_t got = voice.stream->read(m_samples.data(), STREAM_FRAMES);
    voice.stream_ended = got < STREAM_FRAMES;
    if (got == 0)
        return;
    alBufferData(buffer, AL_FORMAT_STEREO16, m_samples.data(), static_cast<ALsizei>(got * 4), MIX_RATE);
    alSourceQueueBuffers(voice.sources[0], 1, &buffer);
    for (std::size_t i = 0; i < voice.stream_buffers.size(); ++i)
        if (voice.stream_buffers[i] == buffer)
            voice.buffer_frames[i] = static_cast<std::int64_t>(got);
}

// Finished buffers go back to the stream for more; a stream that ran dry before its end plays on.
void OpenAlMixer::refill_stream(Voice& voice)
{
    if (!voice.stream_active || voice.paused || voice.sources[0] == 0)
        return;
    ALuint source = voice.sources[0];
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        for (std::size_t i = 0; i < voice.stream_buffers.size(); ++i)
            if (voice.stream_buffers[i] == buffer)
                voice.frames_done += voice.buffer_frames[i];
        if (!voice.stream_ended)
            queue_stream_buffer(voice, buffer);
    }
    ALint queued = 0, state = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (queued == 0)
        release_sources(voice);
    else if (state != AL_PLAYING)
        alSourcePlay(source);
}

void OpenAlMixer::pause(VoiceId id)
{
    Voice* voice = voice_at(id);
    if (!voice || voice->paused || !is_playing(id))
        return;
    for (unsigned source : voice->sources)
        if (source != 0)
            alSourcePause(source);
    voice->paused = true;
}

void OpenAlMixer::resume(VoiceId id)
{
    Voice* voice = voice_at(id);
    if (!voice || !voice->paused)
        return;
    voice->paused = false;
    int count = voice->sources[1] != 0 ? 2 : 1;
    if (voice->sources[0] != 0)
        alSourcePlayv(count, voice->sources.data());
}

std::int64_t OpenAlMixer::frames_played(VoiceId id)
{
    Voice* voice = voice_at(id);
    if (!voice || !voice->stream)
        return 0;
    ALint offset = 0;
    if (voice->sources[0] != 0)
        alGetSourcei(voice->sources[0], AL_SAMPLE_OFFSET, &offset);
    return voice->frames_done + offset;
}

void OpenAlMixer::stop(VoiceId id)
{
    if (Voice* voice = voice_at(id))
        release_sources(*voice);
}

bool OpenAlMixer::is_playing(VoiceId id)
{
    Voice* voice = voice_at(id);
    if (!voice || voice->sources[0] == 0)
        return false;
    if (voice->paused)
        return false;
    if (voice->stream)
        return voice->stream_active;
    ALint state = 0;
    alGetSourcei(voice->sources[0], AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING)
        return true;
    release_sources(*voice);
    return false;
}

void OpenAlMixer::set_gains(VoiceId id, double left, double right)
{
    Voice* voice = voice_at(id);
    if (!voice || !(voice->effects || voice->stream))
        return;
    voice->left = left;
    voice->right = right;
    if (voice->sources[0] != 0)
        apply_gains(*voice);
}

void OpenAlMixer::set_pitch(VoiceId id, double pitch)
{
    Voice* voice = voice_at(id);
    if (!voice || !voice->effects || !std::isfinite(pitch))
        return;
    voice->pitch = pitch;
    if (voice->sources[0] != 0)
        apply_pitch(*voice);
}

void OpenAlMixer::refill_streams()
{
    for (Voice& voice : m_voices)
        if (voice.used && voice.stream)
            refill_stream(voice);
}

void OpenAlMixer::advance(double seconds)
{
    if (!m_context)
        return;
    // Sources of voices that have finished go back to the pool.
    for (std::size_t i = 0; i < m_voices.size(); ++i)
        if (m_voices[i].used && !m_voices[i].stream && m_voices[i].sources[0] != 0)
            is_playing(static_cast<VoiceId>(i + 1));
    if (!m_loopback) {
        refill_streams();
        return;
    }
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    // A step is never longer than a second; anything longer is cut to the longest step.
    m_frames_owed += std::min(seconds, 1.0) * MIX_RATE;
    auto frames = static_cast<std::size_t>(m_frames_owed);
    m_frames_owed -= static_cast<double>(frames);
    render(frames);
}

void OpenAlMixer::render(std::size_t frames)
{
    while (frames > 0) {
        std::size_t chunk = std::min<std::size_t>(frames, RENDER_CHUNK_FRAMES);
        refill_streams();
        alcRenderSamplesSOFT(m_device, m_mix.data(), static_cast<ALCsizei>(chunk));
        if (m_capture.is_open()) {
            for (std::size_t i = 0; i < chunk * MIX_CHANNELS; ++i)
                m_samples[i] = static_cast<std::int16_t>(std::clamp(std::lrint(m_mix[i] * 32768.0f), -32768L, 32767L));
            m_capture.append({m_samples.data(), chunk * MIX_CHANNELS});
        }
        frames -= chunk;
    }
}

}  // namespace quillon::platform
