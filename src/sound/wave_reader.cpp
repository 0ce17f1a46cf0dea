// The RIFF/WAVE reader: the format record and the sample data of a wave file, and the samples as stereo.
#include "sound/wave_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace quillon {

namespace {

constexpr std::uint16_t FORMAT_PCM = 1;
constexpr std::uint16_t FORMAT_FLOAT = 3;
constexpr std::uint16_t FORMAT_EXTENSIBLE = 0xFFFE;
constexpr std::uint32_t MIN_SAMPLE_RATE = 100;
constexpr std::uint32_t MAX_SAMPLE_RATE = 200000;
constexpr std::size_t FORMAT_RECORD_BYTES = 16;
constexpr std::size_t CHUNK_HEADER_BYTES = 8;
constexpr std::size_t RIFF_HEADER_BYTES = 12;  // "RIFF", size, form type

std::uint32_t u32_at(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (std::uint32_t(bytes[at + 3]) << 24);
}

std::uint16_t u16_at(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

bool tag_at(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag)
{
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

struct Chunk {
    std::size_t data_start = 0;  // just after its header
    std::uint32_t size = 0;      // as its header says
};

// The first chunk with this tag between `from` and `end`; chunks are padded to even sizes.
std::optional<Chunk> find_chunk(std::span<const std::uint8_t> file, std::size_t from, std::size_t end,
    const char* tag)
{
    std::size_t at = from;
    while (at + CHUNK_HEADER_BYTES <= end) {
        std::uint32_t size = u32_at(file, at + 4);
        if (tag_at(file, at, tag))
            return Chunk {at + CHUNK_HEADER_BYTES, size};
        std::uint64_t next = std::uint64_t(at) + CHUNK_HEADER_BYTES + size + (size & 1);
        if (next > end)
            break;
        at = static_cast<std::size_t>(next);
    }
    return std::nullopt;
}

WaveReadResult failure(std::string_view error)
{
    return {std::nullopt, error};
}

// The sample layout of a format: bits and whether they are floating point; none for formats not taken.
struct SampleLayout {
    int bits = 0;
    bool floating = false;
};

std::optional<SampleLayout> layout_of(const WaveFormat& format)
{
    std::uint16_t tag = format.format_tag;
    // The extensible record names its real format in the first two bytes of its subformat.
    if (tag == FORMAT_EXTENSIBLE) {
        if (format.extra.size() < 22)
            return std::nullopt;
        tag = static_cast<std::uint16_t>(format.extra[6] | (format.extra[7] << 8));
    }
    int bits = format.bits_per_sample;
    if (format.channels < 1 || format.channels > 2 || format.sample_rate < MIN_SAMPLE_RATE
        || format.sample_rate > MAX_SAMPLE_RATE || format.block_align != format.channels * bits / 8)
        return std::nullopt;
    if (tag == FORMAT_PCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return SampleLayout {bits, false};
    if (tag == FORMAT_FLOAT && bits == 32)
        return SampleLayout {bits, true};
    return std::nullopt;
}

std::int16_t sample_at(const std::uint8_t* at, SampleLayout layout)
{
    if (layout.floating) {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(at[0] | (at[1] << 8) | (at[2] << 16)
            | (std::uint32_t(at[3]) << 24)));
        if (!std::isfinite(value))
            return 0;
        return static_cast<std::int16_t>(std::lrint(std::clamp(value, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
    }
    switch (layout.bits) {
    case 8:
        return static_cast<std::int16_t>((at[0] - 128) << 8);
    case 16:
        return static_cast<std::int16_t>(at[0] | (at[1] << 8));
    default:  // 24 and 32 bits keep their two most significant bytes
        int top = layout.bits / 8 - 1;
        return static_cast<std::int16_t>(at[top - 1] | (at[top] << 8));
    }
}

}  // namespace

WaveReadResult read_wave(std::span<const std::uint8_t> file)
{
    // 1. The first chunk must be "RIFF" with the form type "WAVE"; its contents end where it says or at the
    // end of the file.
    if (file.size() < RIFF_HEADER_BYTES)
        return failure(wave_error::CANNOT_OPEN);
    if (!tag_at(file, 0, "RIFF") || !tag_at(file, 8, "WAVE"))
        return failure(wave_error::NOT_VALID);
    std::size_t riff_end = static_cast<std::size_t>(
        std::min<std::uint64_t>(file.size(), std::uint64_t(CHUNK_HEADER_BYTES) + u32_at(file, 4)));
    // 2. The "fmt " chunk with at least the 16-byte format record.
    auto fmt = find_chunk(file, RIFF_HEADER_BYTES, riff_end, "fmt ");
    if (!fmt || fmt->size < FORMAT_RECORD_BYTES)
        return failure(wave_error::NOT_VALID);
    // 3. The record; formats other than PCM carry an extra size and that many extra bytes. These reads go by
    // the file, not by the chunk's size.
    std::size_t at = fmt->data_start;
    if (file.size() - at < FORMAT_RECORD_BYTES)
        return failure(wave_error::CANNOT_READ_FORMAT);
    WaveData wave;
    WaveFormat& format = wave.format;
    format.format_tag = u16_at(file, at);
    format.channels = u16_at(file, at + 2);
    format.sample_rate = u32_at(file, at + 4);
    format.bytes_per_second = u32_at(file, at + 8);
    format.block_align = u16_at(file, at + 12);
    format.bits_per_sample = u16_at(file, at + 14);
    at += FORMAT_RECORD_BYTES;
    if (format.format_tag != FORMAT_PCM) {
        if (file.size() - at < 2)
            return failure(wave_error::CANNOT_READ_FORMAT);
        std::uint16_t extra_size = u16_at(file, at);
        at += 2;
        if (file.size() - at < extra_size)
            return failure(wave_error::NOT_VALID);
        format.extra.assign(file.begin() + static_cast<std::ptrdiff_t>(at),
            file.begin() + static_cast<std::ptrdiff_t>(at + extra_size));
    }
    // 4. Back at the start of the contents, the "data" chunk; it must lie whole inside the file.
    auto data = find_chunk(file, RIFF_HEADER_BYTES, riff_end, "data");
    if (!data)
        return failure(wave_error::NOT_VALID);
    if (file.size() - data->data_start < data->size)
        return failure(wave_error::CORRUPT);
    wave.samples = file.subspan(data->data_start, data->size);
    return {std::move(wave), {}};
}

std::vector<std::int16_t> stereo_frames(const WaveData& wave)
{
    auto layout = layout_of(wave.format);
    if (!layout)
        return {};
    std::size_t frame_bytes = wave.format.block_align;
    std::size_t frames = wave.samples.size() / frame_bytes;
    std::size_t sample_bytes = static_cast<std::size_t>(layout->bits / 8);
    std::vector<std::int16_t> out(frames * 2);
    const std::uint8_t* in = wave.samples.data();
    for (std::size_t frame = 0; frame < frames; ++frame, in += frame_bytes) {
        out[frame * 2] = sample_at(in, *layout);
        out[frame * 2 + 1] = wave.format.channels == 2 ? sample_at(in + sample_bytes, *layout) : out[frame * 2];
    }
    return out;
}

}  // namespace quillon
