// Music decoder: chooses the decoder for a music file by what the file holds.
#include "platform/music_decoder.h"

#include "platform/ffmpeg/media_decoder.h"
#include "platform/fluidsynth/midi_decoder.h"

#include <cstring>
#include <fstream>

namespace quillon::platform {

namespace {

bool starts_like_midi(const std::filesystem::path& file)
{
    char tag[4] = {};
    std::ifstream in(file, std::ios::binary);
    return in.read(tag, 4) && std::memcmp(tag, "MThd", 4) == 0;
}

}  // namespace

std::unique_ptr<MusicDecoder> open_music_file(const std::filesystem::path& file)
{
    if (starts_like_midi(file))
        return MidiDecoder::open(file);
    return MediaDecoder::open(file);
}

}  // namespace quillon::platform
