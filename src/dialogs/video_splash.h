// VideoSplash: a video played on the splash window, at its own size or fitted to the whole screen, with its
// sound through the game's mixer; it plays once or over and over until a key or mouse button is pressed.
#pragma once

#include "dialogs/splash_form.h"
#include "platform/audio_device.h"
#include "platform/video_file.h"
#include "sound/music_player.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class VideoSplash final : public SplashForm {
public:
    // How often the window looks whether the video has stopped, to start it again or to close.
    static constexpr int REWIND_CHECK_MS = 100;

    // The video's sound plays through the device when there is one and the file has sound. The name is the
    // file's as the game gave it (Windows-1252 bytes), for the transcript.
    VideoSplash(std::unique_ptr<platform::VideoFile> video, std::string name, bool full_screen, bool loop,
        platform::AudioDevice* device, std::unique_ptr<MusicPlayer> sound);

    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    // Shows the frames whose time has come, and every 100 milliseconds starts the video again (loop) or
    // closes the window once it has stopped.
    int tick(std::int64_t elapsed_ms) override;
    // "show_video: " and the file's name.
    std::string transcript() const override;

    // How many frames have had their turn (a late tick skips some), and how many times the video started.
    int frames_shown() const { return m_frames_shown; }
    int plays() const { return m_plays; }

protected:
    void paint_content(SurfaceCanvas& canvas) override;

private:
    bool decode_next();
    void restart(std::int64_t elapsed_ms);
    void show_due_frames(std::int64_t elapsed_ms);
    bool stopped(std::int64_t elapsed_ms) const;

    std::unique_ptr<platform::VideoFile> m_video; // the pictures
    std::string m_name;                           // the file's name as the game gave it
    bool m_loop;                                  // a stopped video plays again
    platform::AudioDevice* m_device;              // the mixer the sound plays through; none without sound
    std::unique_ptr<MusicPlayer> m_sound;         // none without sound
    mutable SurfaceRect m_area;                   // where the frames show in the window, fixed by placement
    std::vector<std::uint32_t> m_shown;           // the frame on screen, m_area's size
    std::vector<std::uint32_t> m_next;            // the frame decoded ahead
    std::int64_t m_next_time = 0;                 // its time from the start of the play
    std::int64_t m_shown_time = -1;               // the shown frame's time; -1 before the first
    bool m_has_next = false;                      // false at the end of the video
    std::int64_t m_play_started = 0;              // form time at which the current play started
    std::int64_t m_next_check = REWIND_CHECK_MS;  // form time of the next look at the player
    std::int64_t m_last_tick = 0;                 // form time of the last tick, for the mixer
    int m_frames_shown = 0;                       // frames that had their turn
    int m_plays = 0;                              // times the video started
    bool m_started = false;                       // the first tick has started the play
    bool m_fresh = true;                          // the video stands at its start, not yet played
};

}  // namespace quillon
