// MidiFile: the structure check and the playing time of a standard MIDI file, read without playing it.
#include "platform/fluidsynth/midi_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillon::platform {

namespace {

constexpr std::uint32_t DEFAULT_TEMPO = 500000;  // microseconds per quarter note

struct TempoChange {
    std::uint64_t tick;              // where it takes effect
    std::uint32_t microseconds;      // per quarter note from there
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }
    bool left(std::size_t count) const { return m_bytes.size() - m_at >= count; }
    bool at_end() const { return m_at >= m_bytes.size(); }
    std::uint8_t byte() { return m_bytes[m_at++]; }
    std::uint8_t peek() const { return m_bytes[m_at]; }
    std::uint32_t big_endian(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | byte();
        return value;
    }
    // A variable-length number of at most four bytes.
    std::optional<std::uint32_t> number()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (at_end())
                return std::nullopt;
            std::uint8_t b = byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        return std::nullopt;
    }
    bool skip(std::size_t count)
    {
        if (!left(count))
            return false;
        m_at += count;
        return true;
    }
    bool tag(const char* name)
    {
        if (!left(4) || std::memcmp(m_bytes.data() + m_at, name, 4) != 0)
            return false;
        m_at += 4;
        return true;
    }
    std::span<const std::uint8_t> take(std::size_t count)
    {
        auto part = m_bytes.subspan(m_at, count);
        m_at += count;
        return part;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

// Reads one track's events; gives its last tick, adding its tempo changes.
std::optional<std::uint64_t> read_track(std::span<const std::uint8_t> track, std::vector<TempoChange>& tempos)
{
    Reader in(track);
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (!in.at_end()) {
        auto delta = in.number();
        if (!delta || in.at_end())
            return std::nullopt;
        tick += *delta;
        if (in.peek() & 0x80)
            status = in.byte();
        if (status == 0xFF) {
            if (!in.left(1))
                return std::nullopt;
            std::uint8_t type = in.byte();
            auto length = in.number();
            if (!length || !in.left(*length))
                return std::nullopt;
            auto data = in.take(*length);
            if (type == 0x51 && data.size() == 3)
                tempos.push_back({tick, std::uint32_t(data[0] << 16 | data[1] << 8 | data[2])});
            if (type == 0x2F)
                return tick;
        } else if (status == 0xF0 || status == 0xF7) {
            auto length = in.number();
            if (!length || !in.skip(*length))
                return std::nullopt;
        } else if (status >= 0x80) {
            int data_bytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            if (status >= 0xF0 || !in.skip(static_cast<std::size_t>(data_bytes)))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return tick;
}

}  // namespace

std::optional<std::int64_t> midi_length_ms(std::span<const std::uint8_t> file)
{
    Reader in(file);
    if (!in.tag("MThd") || !in.left(4))
        return std::nullopt;
    std::uint32_t header_length = in.big_endian(4);
    if (header_length < 6 || !in.left(header_length))
        return std::nullopt;
    in.big_endian(2);
    std::uint32_t track_count = in.big_endian(2);
    std::uint32_t division = in.big_endian(2);
    in.skip(header_length - 6);
    if (track_count == 0 || division == 0)
        return std::nullopt;
    std::vector<TempoChange> tempos;
    std::uint64_t last_tick = 0;
    for (std::uint32_t i = 0; i < track_count; ++i) {
        if (!in.tag("MTrk") || !in.left(4))
            return std::nullopt;
        std::uint32_t length = in.big_endian(4);
        if (!in.left(length))
            return std::nullopt;
        auto end = read_track(in.take(length), tempos);
        if (!end)
            return std::nullopt;
        last_tick = std::max(last_tick, *end);
    }
    // Time codes count frames of a second; otherwise ticks are parts of a quarter note at the tempo.
    if (division & 0x8000) {
        int frames = 256 - (division >> 8);
        int ticks_per_frame = static_cast<int>(division & 0xFF);
        if (frames <= 0 || ticks_per_frame == 0)
            return std::nullopt;
        return static_cast<std::int64_t>(last_tick * 1000 / static_cast<std::uint64_t>(frames * ticks_per_frame));
    }
    std::stable_sort(tempos.begin(), tempos.end(), [](auto& a, auto& b) { return a.tick < b.tick; });
    double microseconds = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = DEFAULT_TEMPO;
    for (const TempoChange& change : tempos) {
        if (change.tick >= last_tick)
            break;
        microseconds += double(change.tick - tick) * tempo / division;
        tick = change.tick;
        tempo = change.microseconds;
    }
    microseconds += double(last_tick - tick) * tempo / division;
    return static_cast<std::int64_t>(microseconds / 1000);
}

}  // namespace quillon::platform
