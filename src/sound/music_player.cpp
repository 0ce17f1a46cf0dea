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

std::int64_t MusicPlayer::length_frames() const
{
    return m_decoder->length_ms() * platform::MIX_RATE / 1000;
}

void MusicPlayer::play(bool loop)
{
    m_end_frame = -1;
    m_decoder->rewind();
    m_frames_read = 0;
    start(loop, 0);
}

void MusicPlayer::start(bool loop, std::int64_t frame)
{
    m_loop = loop;
    m_paused = false;
    m_start_frame = frame;
    m_device.play(m_voice, loop);
}

// The decoder reads ahead of what has been heard, so it goes back to the place heard first.
void MusicPlayer::play_here(bool loop)
{
    std::int64_t place = position_frame();
    if (length_frames() > 0 && place >= length_frames())
        place = 0;
    decode_to(place);
    start(loop, place);
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
    m_held_frame = position_frame();
    m_paused = false;
    m_device.stop(m_voice);
}

void MusicPlayer::pause()
{
    if (!is_playing())
        return;
    m_device.pause(m_voice);
    m_paused = true;
}

void MusicPlayer::resume()
{
    if (!m_paused)
        return;
    m_paused = false;
    m_device.resume(m_voice);
}

bool MusicPlayer::is_playing()
{
    return m_device.is_playing(m_voice);
}

void MusicPlayer::seek(std::int64_t milliseconds)
{
    m_device.stop(m_voice);
    m_paused = false;
    decode_to(std::clamp<std::int64_t>(milliseconds, 0, length_ms()) * platform::MIX_RATE / 1000);
    m_held_frame = m_frames_read;
}

// Decoders read forward only: from the start, the music up to the place is decoded and dropped.
void MusicPlayer::decode_to(std::int64_t frame)
{
    m_decoder->rewind();
    m_frames_read = 0;
    std::array<std::int16_t, 4096 * 2> scratch {};
    while (m_frames_read < frame) {
        auto want = static_cast<std::size_t>(std::min<std::int64_t>(frame - m_frames_read, 4096));
        std::size_t got = m_decoder->read(scratch.data(), want);
        m_frames_read += static_cast<std::int64_t>(got);
        if (got < want)
            break;
    }
}

// While the voice plays or is paused, the place is what it has played; otherwise where it was left.
std::int64_t MusicPlayer::position_frame()
{
    if (!m_paused && !is_playing())
        return m_held_frame;
    std::int64_t frame = m_start_frame + m_device.frames_played(m_voice);
    if (m_loop && length_frames() > 0)
        frame %= length_frames();
    return frame;
}

std::int64_t MusicPlayer::position_ms()
{
    return position_frame() * 1000 / platform::MIX_RATE;
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
    // Played to its end, the music stands there.
    if (got < frames)
        m_held_frame = m_frames_read;
    return got;
}

}  // namespace quillon
