// Music decoder: a music file (MIDI, MP3 and whatever else the decoders know) as stereo frames at MIX_RATE.
#pragma once

#include "platform/audio_device.h"

#include <filesystem>
#include <memory>

namespace quillon::platform {

class MusicDecoder {
public:
    virtual ~MusicDecoder() = default;
    // Writes up to `frames` interleaved stereo 16-bit frames; fewer than asked means the end of the music.
    virtual std::size_t read(std::int16_t* frames_out, std::size_t frames) = 0;
    // Back to the start; false when that failed (the decoder then gives nothing more).
    virtual bool rewind() = 0;
    // The music's length in milliseconds, 0 when unknown.
    virtual std::int64_t length_ms() const = 0;
};

// Opens a music file: MIDI files through the synthesizer and its General MIDI soundfont, every other file
// through the media decoders. Gives null for a file that cannot be opened or holds no sound.
std::unique_ptr<MusicDecoder> open_music_file(const std::filesystem::path& file);

}  // namespace quillon::platform
