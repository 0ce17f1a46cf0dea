// The RIFF/WAVE reader: the format record and the sample data of a wave file, and the samples as stereo.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// The read errors; none reaches the player of the game, a wave that cannot be read stays silent.
namespace wave_error {
inline constexpr std::string_view CANNOT_OPEN = "Cannot open wave file";
inline constexpr std::string_view NOT_VALID = "Not a valid wave file";
inline constexpr std::string_view CANNOT_READ_FORMAT = "Cannot read the wave file";
inline constexpr std::string_view CORRUPT = "Corrupt wave file";
}  // namespace wave_error

// The "fmt " record: the 16 bytes every wave has, and the extra bytes of formats other than PCM.
struct WaveFormat {
    std::uint16_t format_tag = 0;         // 1 PCM, 3 floating point, 0xFFFE extensible, others compressed
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;        // frames per second
    std::uint32_t bytes_per_second = 0;
    std::uint16_t block_align = 0;        // bytes per frame
    std::uint16_t bits_per_sample = 0;
    std::vector<std::uint8_t> extra;      // the format's extra bytes
};

struct WaveData {
    WaveFormat format;                    // how the samples are laid out
    std::span<const std::uint8_t> samples;  // the "data" chunk, inside the file's bytes
};

struct WaveReadResult {
    std::optional<WaveData> wave;         // the wave, or none with the error
    std::string_view error;               // one of wave_error, empty on success
};

// Reads a whole wave file held in memory. The result's samples point into `file`.
WaveReadResult read_wave(std::span<const std::uint8_t> file);

// Interleaved stereo 16-bit frames of the wave (a mono wave on both channels). Empty when the format is not
// one a sound buffer takes: PCM of 8, 16, 24 or 32 bits, 32-bit floating point, one or two channels, 100 to
// 200000 frames per second, and at least one whole frame.
std::vector<std::int16_t> stereo_frames(const WaveData& wave);

}  // namespace quillon
