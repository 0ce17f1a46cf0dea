// SoundSystem: the game's sound list at play: preparing every sound, adding, replacing and deleting sounds,
// one background music at a time, the sounds loaded on use, and the mixer kept in step with the game.
#pragma once

#include "platform/audio_device.h"
#include "sound/cd_audio.h"
#include "sound/mci_commands.h"
#include "sound/sound.h"
#include "support/resource_list.h"
#include "support/temp_dir.h"

namespace quillon {

class SoundSystem {
public:
    // The temporary directory takes the sounds' files while preparing; it may be null when nothing is prepared.
    SoundSystem(ResourceList<CSound>& sounds, platform::AudioDevice& device, TempDirectory* temp);
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // The one system the sound functions reach while a game plays; null when there is none.
    static SoundSystem* installed();
    void install() { s_installed = this; }
    void uninstall();

    ResourceList<CSound>& sounds() { return m_sounds; }
    platform::AudioDevice& device() { return m_device; }
    // Media command strings, and the CD functions that go through them.
    MciCommands& mci() { return m_mci; }
    CdAudio& cd() { return m_cd; }

    // Opens the device and writes every sound's data to its file, making the players of those not loaded on
    // use. False when a file could not be written.
    bool prepare_all();

    // Plays (once or looping): a music sound first stops every music that plays.
    void play(int index, bool loop);
    // Stops every sound, in index order.
    void stop_all();
    // Stops every music sound that plays.
    void stop_music();

    // The new sound's index, or -1 when the file does not exist.
    int add(const std::filesystem::path& file, int buffers, bool load_on_use, bool effects);
    bool replace(int index, const std::filesystem::path& file, int buffers, bool load_on_use, bool effects);
    bool remove(int index);

    // Frees a sound's player, or makes it now.
    void discard(int index);
    void restore(int index);
    // Frees the players of every sound loaded on use.
    void discard_all();
    // A room ended: sounds loaded on use that are silent give up their players.
    void release_silent();

    // One step of the game has passed at this room speed (steps per second).
    void step_passed(int room_speed);

private:
    bool fill(CSound& sound, const std::filesystem::path& file, int buffers, bool load_on_use, bool effects);

    static SoundSystem* s_installed;
    ResourceList<CSound>& m_sounds;       // the game's sounds
    platform::AudioDevice& m_device;      // what they play through
    TempDirectory* m_temp;                // where prepared sounds' files go
    MciCommands m_mci;                    // devices opened by command strings
    CdAudio m_cd;                         // the CD functions, through m_mci
};

}  // namespace quillon
