// CSound: a sound resource, the file data it carries and how it is to be played.
#pragma once

#include "support/stream.h"

#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t SOUND_LIST_VERSION = 400;
constexpr std::int32_t SOUND_VERSION = 440;

// Sound kinds.
constexpr std::int32_t SOUND_KIND_NONE = -1;
constexpr std::int32_t SOUND_KIND_WAVE = 0;
constexpr std::int32_t SOUND_KIND_MUSIC = 1;  // one background music plays at a time
constexpr std::int32_t SOUND_KIND_MP3 = 2;
constexpr std::int32_t SOUND_KIND_OTHER = 10;

class CSound {
public:
    std::int32_t kind = SOUND_KIND_NONE;       // what the data is
    std::string extension;                     // of the sound's file, with the dot
    std::vector<std::uint8_t> stored_data;     // the data as stored: a zlib stream
    std::vector<std::uint8_t> data;            // the file's bytes, held from loading until preparation
    std::int32_t buffers = 1;                  // wave buffers that let the sound overlap itself
    bool effects = false;                      // pan, volume and frequency can change
    bool load_on_use = false;                  // the player is made when the sound is first used

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
