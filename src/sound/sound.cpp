// CSound: a sound resource, the file data it carries and how it is to be played.
#include "sound/sound.h"

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

}  // namespace quillon
