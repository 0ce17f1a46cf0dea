// The wave reader: every layout a sound buffer takes, and each refusal with its error.
#include "sound/wave_reader.h"
#include "wave_builder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quillon;
using namespace quillon::testing;

namespace {

Bytes with_fmt_and_data(const Bytes& fmt, const Bytes& data)
{
    Bytes chunks;
    put_chunk(chunks, "fmt ", fmt);
    put_chunk(chunks, "data", data);
    return riff(chunks);
}

Bytes extensible(std::uint16_t sub_format, std::uint16_t channels, std::uint16_t bits)
{
    Bytes fmt = format_record(0xFFFE, channels, 44100, bits);
    put16(fmt, 22);
    put16(fmt, bits);
    put32(fmt, channels == 2 ? 3 : 4);
    put16(fmt, sub_format);
    Bytes guid_rest = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), guid_rest.begin(), guid_rest.end());
    return fmt;
}

Bytes float_fmt(std::uint16_t channels)
{
    Bytes fmt = format_record(3, channels, 44100, 32);
    put16(fmt, 0);
    return fmt;
}

Bytes float_bytes(std::vector<float> values)
{
    Bytes out;
    for (float v : values) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        put32(out, bits);
    }
    return out;
}

struct LayoutCase {
    const char* name;
    Bytes file;
    std::vector<std::int16_t> frames;  // stereo
};

TEST(WaveReader, TakesEveryBufferLayoutAsStereo)
{
    const LayoutCase cases[] = {
        {"8-bit mono", with_fmt_and_data(format_record(1, 1, 22050, 8), {0x80, 0xFF, 0x00}), {0, 0, 32512, 32512, -32768, -32768}},
        {"16-bit mono", wave16({1000, -2000}), {1000, 1000, -2000, -2000}},
        {"16-bit stereo", wave16({1, 2, 3, 4}, 2), {1, 2, 3, 4}},
        {"24-bit stereo", with_fmt_and_data(format_record(1, 2, 44100, 24), {0x11, 0x34, 0x12, 0x22, 0xCC, 0xED}),
            {0x1234, static_cast<std::int16_t>(0xEDCC)}},
        {"32-bit mono", with_fmt_and_data(format_record(1, 1, 44100, 32), {0, 0, 0x34, 0x12}), {0x1234, 0x1234}},
        {"float mono", with_fmt_and_data(float_fmt(1), float_bytes({0.5f, -1.0f, 2.0f})),
            {16384, 16384, -32768, -32768, 32767, 32767}},
        {"extensible 16-bit", with_fmt_and_data(extensible(1, 2, 16), pcm16({5, -5})), {5, -5}},
        {"extensible float", with_fmt_and_data(extensible(3, 1, 32), float_bytes({0.25f})), {8192, 8192}},
        {"partial last frame dropped", with_fmt_and_data(format_record(1, 2, 44100, 16), {1, 0, 2, 0, 3}), {1, 2}},
    };
    for (const LayoutCase& c : cases) {
        WaveReadResult read = read_wave(c.file);
        ASSERT_TRUE(read.wave) << c.name << ": " << read.error;
        EXPECT_EQ(stereo_frames(*read.wave), c.frames) << c.name;
    }
}

TEST(WaveReader, FindsChunksAmongOthersAndPastAnOddOne)
{
    Bytes chunks;
    put_chunk(chunks, "LIST", {1, 2, 3});  // odd: padded
    put_chunk(chunks, "data", pcm16({7}));
    put_chunk(chunks, "fmt ", format_record(1, 1, 8000, 16));
    Bytes file = riff(chunks);  // the samples point into the file, so it must outlive the result
    WaveReadResult read = read_wave(file);
    ASSERT_TRUE(read.wave) << read.error;
    EXPECT_EQ(read.wave->format.sample_rate, 8000u);
    EXPECT_EQ(stereo_frames(*read.wave), (std::vector<std::int16_t> {7, 7}));
}

struct RefusalCase {
    const char* name;
    Bytes file;
    std::string_view error;
};

TEST(WaveReader, RefusesBrokenFilesWithTheirErrors)
{
    Bytes good = wave16({1, 2, 3});
    Bytes lying_data;
    put_chunk(lying_data, "fmt ", format_record(1, 1, 44100, 16));
    put_chunk(lying_data, "data", pcm16({1, 2}), 0x7FFFFFF0);
    Bytes short_fmt;
    put_chunk(short_fmt, "fmt ", Bytes(14, 1));
    put_chunk(short_fmt, "data", pcm16({1}));
    Bytes no_data;
    put_chunk(no_data, "fmt ", format_record(1, 1, 44100, 16));
    Bytes truncated_fmt = riff({});
    put_tag(truncated_fmt, "fmt ");
    put32(truncated_fmt, 16);
    put16(truncated_fmt, 1);
    Bytes truncated_extra;
    Bytes adpcm = format_record(2, 1, 44100, 4);
    put16(adpcm, 32);
    put_chunk(truncated_extra, "fmt ", adpcm);
    Bytes no_extra_size = riff({});
    put_tag(no_extra_size, "fmt ");
    put32(no_extra_size, 16);
    Bytes float_record = format_record(3, 1, 44100, 32);
    no_extra_size.insert(no_extra_size.end(), float_record.begin(), float_record.end());
    // These end inside their chunks; the RIFF size is the file's own.
    for (Bytes* cut : {&truncated_fmt, &no_extra_size}) {
        std::uint32_t size = static_cast<std::uint32_t>(cut->size() - 8);
        std::memcpy(cut->data() + 4, &size, 4);
    }
    Bytes not_wave = good;
    not_wave[8] = 'A';
    const RefusalCase cases[] = {
        {"empty", {}, wave_error::CANNOT_OPEN},
        {"shorter than a RIFF header", Bytes(good.begin(), good.begin() + 11), wave_error::CANNOT_OPEN},
        {"not RIFF", Bytes {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, wave_error::NOT_VALID},
        {"not WAVE", not_wave, wave_error::NOT_VALID},
        {"no fmt chunk", riff({}), wave_error::NOT_VALID},
        {"fmt of 14 bytes", riff(short_fmt), wave_error::NOT_VALID},
        {"fmt cut short", truncated_fmt, wave_error::CANNOT_READ_FORMAT},
        {"extra size missing", no_extra_size, wave_error::CANNOT_READ_FORMAT},
        {"extra bytes cut short", riff(truncated_extra), wave_error::NOT_VALID},
        {"no data chunk", riff(no_data), wave_error::NOT_VALID},
        {"data longer than the file", riff(lying_data), wave_error::CORRUPT},
    };
    for (const RefusalCase& c : cases) {
        WaveReadResult read = read_wave(c.file);
        EXPECT_FALSE(read.wave) << c.name;
        EXPECT_EQ(read.error, c.error) << c.name;
    }
}

// A RIFF size larger than the file is bounded by the file; one that is smaller hides the chunks behind it.
TEST(WaveReader, TheRiffSizeBoundsTheSearch)
{
    Bytes file = wave16({9});
    file[4] = 0xFF;
    file[5] = 0xFF;
    file[6] = 0xFF;
    file[7] = 0xFF;
    EXPECT_TRUE(read_wave(file).wave);
    file[4] = 4;
    file[5] = file[6] = file[7] = 0;
    EXPECT_EQ(read_wave(file).error, wave_error::NOT_VALID);
}

TEST(WaveReader, FormatsNoBufferTakesGiveNoFrames)
{
    Bytes adpcm = format_record(2, 1, 44100, 4);
    put16(adpcm, 0);
    const Bytes files[] = {
        with_fmt_and_data(adpcm, {1, 2, 3, 4}),
        with_fmt_and_data(format_record(1, 3, 44100, 16), pcm16({1, 2, 3})),
        with_fmt_and_data(format_record(1, 1, 44100, 12), pcm16({1, 2, 3})),
        with_fmt_and_data(format_record(1, 1, 99, 16), pcm16({1})),
        with_fmt_and_data(format_record(1, 1, 200001, 16), pcm16({1})),
        with_fmt_and_data(format_record(1, 0, 44100, 16), pcm16({1})),
        wave16({}),
    };
    for (const Bytes& file : files) {
        WaveReadResult read = read_wave(file);
        ASSERT_TRUE(read.wave) << read.error;
        EXPECT_TRUE(stereo_frames(*read.wave).empty());
    }
}

}  // namespace
