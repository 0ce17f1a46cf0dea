// CSound: a sound resource, the file data it carries and how it is to be played.
#include "sound/sound.h"

#include "sound/sound_levels.h"
#include "support/ascii_case.h"
#include "support/compression.h"

namespace quillon {

bool CSound::read_record(CStream& stream)
{
    if (stream.ReadInt() != SOUND_VERSION)
        return false;
    kind = stream.ReadInt();
    extension = stream.ReadString();
    if (kind != SOUND_KIND_NONE) {
        auto stored = stream.ReadBlockBytes();
        stored_data.assign(stored.begin(), stored.end());
        data = inflate_zlib(stored);
    }
    effects = stream.ReadBool();
    buffers = stream.ReadInt();
    load_on_use = stream.ReadBool();
    return true;
}

void CSound::write_record(CStream& stream) const
{
    stream.WriteInt(SOUND_VERSION);
    stream.WriteInt(kind);
    stream.WriteString(extension);
    if (kind != SOUND_KIND_NONE) {
        if (stored_data.empty())
            stream.WriteCompressedBlock(data);
        else
            stream.WriteBlock(stored_data);
    }
    stream.WriteBool(effects);
    stream.WriteInt(buffers);
    stream.WriteBool(load_on_use);
}

void CSound::make_player(platform::AudioDevice& device)
{
    if (!player && !file_name.empty())
        player = std::make_unique<TPlaySound>(device, file_name, effects, buffers);
}

void CSound::play(platform::AudioDevice& device, bool loop)
{
    make_player(device);
    if (player)
        player->play(loop);
}

void CSound::stop()
{
    if (player)
        player->stop();
}

bool CSound::is_playing() const
{
    return player && player->is_playing();
}

void CSound::set_pan(platform::AudioDevice& device, double value)
{
    make_player(device);
    if (player)
        player->set_pan(pan_level(value));
}

void CSound::set_volume(platform::AudioDevice& device, double value)
{
    make_player(device);
    if (player)
        player->set_volume(volume_level(value));
}

void CSound::set_frequency(platform::AudioDevice& device, double value)
{
    make_player(device);
    if (player)
        player->set_frequency(frequency_level(value));
}

std::int32_t sound_kind_of(const std::filesystem::path& file)
{
    std::string extension = ascii_lower(file.extension().string());
    if (extension == ".wav")
        return SOUND_KIND_WAVE;
    if (extension == ".mid")
        return SOUND_KIND_MUSIC;
    if (extension == ".mp3")
        return SOUND_KIND_MP3;
    return SOUND_KIND_OTHER;
}

}  // namespace quillon
