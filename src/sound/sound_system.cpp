// SoundSystem: the game's sound list at play: preparing every sound, adding, replacing and deleting sounds,
// one background music at a time, the sounds loaded on use, and the mixer kept in step with the game.
#include "sound/sound_system.h"

#include <fstream>
#include <string>

namespace quillon {

SoundSystem* SoundSystem::s_installed = nullptr;

SoundSystem::SoundSystem(ResourceList<CSound>& sounds, platform::AudioDevice& device, TempDirectory* temp)
    : m_sounds(sounds)
    , m_device(device)
    , m_temp(temp)
    , m_mci(device)
    , m_cd([this](std::string_view command) { return m_mci.send(command); })
{
}

SoundSystem::~SoundSystem()
{
    uninstall();
    // The players go before the device they play through.
    for (int i = 0; i < m_sounds.count(); ++i)
        if (CSound* sound = m_sounds.get(i))
            sound->drop_player();
}

SoundSystem* SoundSystem::installed()
{
    return s_installed;
}

void SoundSystem::uninstall()
{
    if (s_installed == this)
        s_installed = nullptr;
}

bool SoundSystem::prepare_all()
{
    m_device.open();
    bool ok = true;
    for (int i = 0; i < m_sounds.count(); ++i) {
        CSound* sound = m_sounds.get(i);
        if (!sound)
            continue;
        // 1. A sound without data has no file and never plays.
        if (sound->data.empty() || !m_temp) {
            sound->file_name.clear();
            continue;
        }
        // 2. The data goes to a file of its own and is freed; 3. the player is made unless loaded on use.
        sound->file_name = m_temp->unique_file_name(sound->extension);
        std::ofstream out(sound->file_name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(sound->data.data()), static_cast<std::streamsize>(sound->data.size()));
        out.close();
        ok = ok && out.good();
        sound->data = {};
        sound->stored_data = {};
        if (!sound->load_on_use)
            sound->make_player(m_device);
    }
    return ok;
}

void SoundSystem::play(int index, bool loop)
{
    CSound* sound = m_sounds.get(index);
    if (!sound)
        return;
    if (sound->kind == SOUND_KIND_MUSIC)
        stop_music();
    sound->play(m_device, loop);
}

void SoundSystem::stop_all()
{
    for (int i = 0; i < m_sounds.count(); ++i)
        if (CSound* sound = m_sounds.get(i))
            sound->stop();
}

void SoundSystem::stop_music()
{
    for (int i = 0; i < m_sounds.count(); ++i) {
        CSound* sound = m_sounds.get(i);
        if (sound && sound->kind == SOUND_KIND_MUSIC && sound->is_playing())
            sound->stop();
    }
}

// The sound starts afresh from the file itself (it is not copied).
bool SoundSystem::fill(CSound& sound, const std::filesystem::path& file, int buffers, bool load_on_use,
    bool effects)
{
    sound = CSound {};
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    sound.kind = sound_kind_of(file);
    sound.extension = file.extension().string();
    sound.file_name = file;
    sound.buffers = buffers;
    sound.effects = effects;
    sound.load_on_use = load_on_use;
    if (!load_on_use)
        sound.make_player(m_device);
    return true;
}

int SoundSystem::add(const std::filesystem::path& file, int buffers, bool load_on_use, bool effects)
{
    int index = m_sounds.count();
    auto sound = std::make_unique<CSound>();
    if (!fill(*sound, file, buffers, load_on_use, effects))
        return -1;
    m_sounds.add("__newsound" + std::to_string(index), std::move(sound));
    return index;
}

bool SoundSystem::replace(int index, const std::filesystem::path& file, int buffers, bool load_on_use,
    bool effects)
{
    if (index < 0 || index >= m_sounds.count())
        return false;
    CSound* sound = m_sounds.get(index);
    if (!sound)
        sound = m_sounds.put(index, std::make_unique<CSound>());
    return fill(*sound, file, buffers, load_on_use, effects);
}

bool SoundSystem::remove(int index)
{
    if (!m_sounds.exists(index))
        return false;
    m_sounds.remove(index);
    return true;
}

void SoundSystem::discard(int index)
{
    if (CSound* sound = m_sounds.get(index))
        sound->drop_player();
}

void SoundSystem::restore(int index)
{
    if (CSound* sound = m_sounds.get(index))
        sound->make_player(m_device);
}

void SoundSystem::discard_all()
{
    for (int i = 0; i < m_sounds.count(); ++i) {
        CSound* sound = m_sounds.get(i);
        if (sound && sound->load_on_use)
            sound->drop_player();
    }
}

void SoundSystem::release_silent()
{
    for (int i = 0; i < m_sounds.count(); ++i) {
        CSound* sound = m_sounds.get(i);
        if (sound && sound->load_on_use && !sound->is_playing())
            sound->drop_player();
    }
}

void SoundSystem::step_passed(int room_speed)
{
    m_device.advance(1.0 / (room_speed > 0 ? room_speed : 1));
}

}  // namespace quillon
