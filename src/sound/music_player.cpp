// MusicPlayer: a music file playing through a stream voice of the mixer, restarted at its end when looping.
#include "sound/music_player.h"

#include <algorithm>
#include <array>

namespace quillon {

MusicPlayer::MusicPlayer(platform::AudioDevice& device, std::unique_ptr<platform::MusicDecoder> decoder)
    : m_device(device)
    , m_decoder(std::move(decoder))
{
    m_voice = m_device.create_stream_voice(*this);
}

MusicPlayer::~MusicPlayer()
{
    m_device.delete_voice(m_voice);
}

void MusicPlayer::play(bool loop)
{
    m_loop = loop;
    m_paused = false;
    m_end_frame = -1;
    m_decoder->rewind();
    m_frames_read = 0;
    m_device.play(m_voice, loop);
}

void MusicPlayer::play_here(bool loop)
{
    if (length_ms() > 0 && position_ms() >= length_ms()) {
        play(loop);
        return;
    }
    m_loop = loop;
    m_paused = false;
    m_device.play(m_voice, loop);
}

void MusicPlayer::set_end(std::int64_t milliseconds)
{
    m_end_frame = milliseconds < 0 ? -1 : milliseconds * platform::MIX_RATE / 1000;
}

void MusicPlayer::set_muted(bool muted)
{
    m_device.set_gains(m_voice, muted ? 0 : 1, muted ? 0 : 1);
}

void MusicPlayer::stop()
{
    m_paused = false;
    m_device.stop(m_voice);
}

void MusicPlayer::pause()
{
    if (!is_playing())
        return;
    m_device.stop(m_voice);
    m_paused = true;
}

void MusicPlayer::resume()
{
    if (!m_paused)
        return;
    m_paused = false;
    m_device.play(m_voice, m_loop);
}

bool MusicPlayer::is_playing()
{
    return m_device.is_playing(m_voice);
}

void MusicPlayer::seek(std::int64_t milliseconds)
{
    m_device.stop(m_voice);
    m_paused = false;
    m_decoder->rewind();
    m_frames_read = 0;
    // Decoders read forward only; the music up to the place is decoded and dropped.
    std::int64_t target = std::clamp<std::int64_t>(milliseconds, 0, length_ms()) * platform::MIX_RATE / 1000;
    std::array<std::int16_t, 4096 * 2> scratch {};
    while (m_frames_read < target) {
        auto want = static_cast<std::size_t>(std::min<std::int64_t>(target - m_frames_read, 4096));
        std::size_t got = m_decoder->read(scratch.data(), want);
        m_frames_read += static_cast<std::int64_t>(got);
        if (got < want)
            break;
    }
}

std::int64_t MusicPlayer::position_ms() const
{
    return m_frames_read * 1000 / platform::MIX_RATE;
}

std::size_t MusicPlayer::read(std::int16_t* frames_out, std::size_t frames)
{
    if (m_end_frame >= 0)
        frames = static_cast<std::size_t>(std::clamp<std::int64_t>(m_end_frame - m_frames_read, 0,
            static_cast<std::int64_t>(frames)));
    std::size_t got = m_decoder->read(frames_out, frames);
    m_frames_read += static_cast<std::int64_t>(got);
    // A looping music starts again at its end; one that gives nothing from its start does not loop forever.
    while (got < frames && m_loop && m_decoder->rewind()) {
        std::size_t more = m_decoder->read(frames_out + got * 2, frames - got);
        if (more == 0)
            break;
        got += more;
        m_frames_read = static_cast<std::int64_t>(more);
    }
    return got;
}

}  // namespace quillon
