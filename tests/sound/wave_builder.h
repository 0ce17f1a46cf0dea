// Wave files made in memory for the tests: any format record, any data, and chunks that lie about themselves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillon::testing {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
inline void put_tag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A chunk with its true size, unless a size is given.
inline void put_chunk(Bytes& out, const char* tag, const Bytes& body, std::int64_t size = -1)
{
    put_tag(out, tag);
    put32(out, size < 0 ? static_cast<std::uint32_t>(body.size()) : static_cast<std::uint32_t>(size));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2)
        out.push_back(0);
}

inline Bytes format_record(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    Bytes fmt;
    put16(fmt, tag);
    put16(fmt, channels);
    put32(fmt, rate);
    put32(fmt, rate * channels * bits / 8);
    put16(fmt, static_cast<std::uint16_t>(channels * bits / 8));
    put16(fmt, bits);
    return fmt;
}

// RIFF/WAVE around the given chunks.
inline Bytes riff(const Bytes& chunks)
{
    Bytes out;
    put_tag(out, "RIFF");
    put32(out, static_cast<std::uint32_t>(chunks.size() + 4));
    put_tag(out, "WAVE");
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

inline Bytes pcm16(const std::vector<std::int16_t>& samples)
{
    Bytes out;
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

// A PCM 16-bit wave of the samples (interleaved when stereo).
inline Bytes wave16(const std::vector<std::int16_t>& samples, std::uint16_t channels = 1, std::uint32_t rate = 44100)
{
    Bytes chunks;
    put_chunk(chunks, "fmt ", format_record(1, channels, rate, 16));
    put_chunk(chunks, "data", pcm16(samples));
    return riff(chunks);
}

// A mono wave holding one value for so many frames.
inline Bytes constant_wave(std::int16_t value, std::size_t frames, std::uint32_t rate = 44100)
{
    return wave16(std::vector<std::int16_t>(frames, value), 1, rate);
}

inline std::filesystem::path write_file(const std::filesystem::path& file, const Bytes& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

// A one-track MIDI file: a piano note held for about half a second, at the default tempo.
inline Bytes midi_note(std::uint8_t note = 60)
{
    Bytes track = {0x00, 0x90, note, 0x64, 0x83, 0x60, 0x80, note, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0,
        static_cast<std::uint8_t>(track.size())};
    for (std::uint8_t b : track)
        out.push_back(b);
    return out;
}

}  // namespace quillon::testing
