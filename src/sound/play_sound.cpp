// TPlaySound: the player of one sound file; waves play through duplicate voices so that a sound overlaps
// itself, every other file through a music player.
#include "sound/play_sound.h"

#include "sound/sound_levels.h"
#include "sound/wave_reader.h"
#include "support/ascii_case.h"
#include "support/game_error.h"

#include <fstream>
#include <iterator>

namespace quillon {

namespace {

// Larger wave files cannot hold a sound buffer's worth of samples and are not read at all.
constexpr std::uintmax_t WAVE_FILE_LIMIT = 0x20000000;

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& file)
{
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > WAVE_FILE_LIMIT)
        return {};
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return {};
    return bytes;
}

}  // namespace

TPlaySound::TPlaySound(platform::AudioDevice& device, const std::filesystem::path& file, bool effects,
    int buffer_count)
    : m_device(device)
    , m_effects(effects)
{
    // 1. The file must be there; 2. its extension chooses the path; 3. one to sixteen buffers.
    std::error_code error;
    m_usable = std::filesystem::is_regular_file(file, error);
    if (!m_usable)
        return;
    m_media = ascii_lower(file.extension().string()) != ".wav";
    m_buffer_count = std::clamp(buffer_count, 1, MAX_SOUND_BUFFERS);
    if (m_media)
        open_media(file);
    else
        open_wave(file);
}

TPlaySound::~TPlaySound()
{
    stop();
    for (platform::VoiceId voice : m_voices)
        m_device.delete_voice(voice);
    m_device.delete_buffer(m_buffer);
}

// The first buffer holds the samples; the others are voices over the same samples.
void TPlaySound::open_wave(const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes = file_bytes(file);
    WaveReadResult read = read_wave(bytes);
    std::vector<std::int16_t> frames;
    if (read.wave)
        frames = stereo_frames(*read.wave);
    if (!frames.empty())
        m_buffer = m_device.create_buffer(static_cast<int>(read.wave->format.sample_rate), frames, m_effects);
    if (m_buffer == 0) {
        m_usable = false;
        return;
    }
    m_sample_rate = static_cast<int>(read.wave->format.sample_rate);
    m_frequency = m_sample_rate;
    for (int i = 0; i < m_buffer_count; ++i) {
        platform::VoiceId voice = m_device.create_voice(m_buffer, m_effects);
        if (voice == 0) {
            m_usable = false;
            return;
        }
        m_voices.push_back(voice);
    }
}

void TPlaySound::open_media(const std::filesystem::path& file)
{
    if (file.string().size() >= MUSIC_NAME_LIMIT) {
        report_game_error("Music file name is too long for the player.");
        m_usable = false;
        return;
    }
    auto decoder = platform::open_music_file(file);
    if (!decoder) {
        m_usable = false;
        return;
    }
    m_music = std::make_unique<MusicPlayer>(m_device, std::move(decoder));
}

int TPlaySound::play(bool loop)
{
    if (!m_usable || (!m_music && m_voices.empty()))
        return 0;
    m_current = (m_current + 1) % m_buffer_count;
    if (m_music)
        m_music->play(loop);
    else
        m_device.play(m_voices[static_cast<std::size_t>(m_current)], loop);
    return m_current;
}

void TPlaySound::stop()
{
    if (m_music)
        m_music->stop();
    for (platform::VoiceId voice : m_voices)
        m_device.stop(voice);
}

bool TPlaySound::is_playing()
{
    if (m_music)
        return m_music->is_playing();
    bool playing = false;
    for (platform::VoiceId voice : m_voices)
        playing = m_device.is_playing(voice) || playing;
    return playing;
}

void TPlaySound::apply_gains()
{
    ChannelGains gains = channel_gains(m_pan, m_volume);
    for (platform::VoiceId voice : m_voices)
        m_device.set_gains(voice, gains.left, gains.right);
}

void TPlaySound::set_pan(std::int32_t pan)
{
    if (!m_effects || m_voices.empty())
        return;
    m_pan = pan;
    apply_gains();
}

void TPlaySound::set_volume(std::int32_t volume)
{
    if (!m_effects || m_voices.empty())
        return;
    m_volume = volume;
    apply_gains();
}

void TPlaySound::set_frequency(std::int32_t frequency)
{
    if (!m_effects || m_voices.empty())
        return;
    m_frequency = frequency;
    for (platform::VoiceId voice : m_voices)
        m_device.set_pitch(voice, static_cast<double>(frequency) / m_sample_rate);
}

}  // namespace quillon
