// VideoSplash: frames shown at their times by the form's clock, the sound on the mixer, and the look at the
// player every 100 milliseconds that starts it again or closes the window.
#include "dialogs/video_splash.h"

#include <algorithm>

namespace quillon {

VideoSplash::VideoSplash(std::unique_ptr<platform::VideoFile> video, std::string name, bool full_screen, bool loop,
    platform::AudioDevice* device, std::unique_ptr<MusicPlayer> sound)
    : SplashForm({full_screen, video->width(), video->height()}, 0, 0)
    , m_video(std::move(video))
    , m_name(std::move(name))
    , m_loop(loop)
    , m_device(sound ? device : nullptr)
    , m_sound(device ? std::move(sound) : nullptr)
    , m_area {0, 0, m_video->width(), m_video->height()}
{
}

platform::WindowPlacement VideoSplash::placement(platform::ScreenSize screen) const
{
    platform::WindowPlacement placement = SplashForm::placement(screen);
    m_area = fit_centred(placement.width, placement.height, m_video->width(), m_video->height());
    return placement;
}

std::string VideoSplash::transcript() const
{
    return "show_video: " + m_name;
}

bool VideoSplash::decode_next()
{
    return m_video->next_frame(m_next.data(), m_area.width(), m_area.height(), m_next_time);
}

// Starts a play at this form time: from the start of the video, its first frame decoded ahead. A video that
// gives no frame from its start closes the window, so that a loop over nothing does not go on for ever.
void VideoSplash::restart(std::int64_t elapsed_ms)
{
    if (!m_fresh && !m_video->rewind()) {
        close();
        return;
    }
    m_fresh = false;
    m_has_next = decode_next();
    if (!m_has_next) {
        close();
        return;
    }
    m_shown_time = -1;
    m_play_started = elapsed_ms;
    ++m_plays;
    if (m_sound)
        m_sound->play(false);
}

// The player has stopped when the last frame has had its time and the sound has ended.
bool VideoSplash::stopped(std::int64_t elapsed_ms) const
{
    if (m_has_next)
        return false;
    if (m_shown_time >= 0 && elapsed_ms - m_play_started < m_shown_time + m_video->frame_duration_ms())
        return false;
    return !m_sound || !m_sound->is_playing();
}

// Shows the last frame whose time has come; the ones before it are skipped.
void VideoSplash::show_due_frames(std::int64_t elapsed_ms)
{
    while (!finished() && m_has_next && m_play_started + m_next_time <= elapsed_ms) {
        std::swap(m_shown, m_next);
        m_shown_time = m_next_time;
        ++m_frames_shown;
        invalidate();
        m_has_next = decode_next();
    }
}

int VideoSplash::tick(std::int64_t elapsed_ms)
{
    if (!m_started) {
        m_started = true;
        std::size_t pixels = std::size_t(std::max(m_area.width(), 0)) * std::size_t(std::max(m_area.height(), 0));
        m_shown.assign(pixels, 0);
        m_next.assign(pixels, 0);
        restart(elapsed_ms);
    }
    if (m_device) {
        m_device->advance(double(elapsed_ms - m_last_tick) / 1000);
        m_last_tick = elapsed_ms;
    }
    show_due_frames(elapsed_ms);
    if (!finished() && elapsed_ms >= m_next_check) {
        m_next_check = elapsed_ms - elapsed_ms % REWIND_CHECK_MS + REWIND_CHECK_MS;
        if (stopped(elapsed_ms)) {
            if (m_loop) {
                restart(elapsed_ms);
                show_due_frames(elapsed_ms);
            } else {
                close();
            }
        }
    }
    if (finished())
        return -1;
    std::int64_t wait = m_next_check - elapsed_ms;
    if (m_has_next)
        wait = std::min(wait, m_play_started + m_next_time - elapsed_ms);
    return int(std::max<std::int64_t>(wait, 0));
}

void VideoSplash::paint_content(SurfaceCanvas& canvas)
{
    if (m_shown_time < 0 || m_shown.empty())
        return;
    int left = std::max(m_area.left, canvas.clip.left);
    int right = std::min(m_area.right, canvas.clip.right);
    if (left >= right)
        return;
    for (int y = std::max(m_area.top, canvas.clip.top); y < std::min(m_area.bottom, canvas.clip.bottom); ++y) {
        const std::uint32_t* row = m_shown.data() + std::size_t(y - m_area.top) * std::size_t(m_area.width());
        std::copy(row + (left - m_area.left), row + (right - m_area.left), &canvas.at(left, y));
    }
}

}  // namespace quillon
