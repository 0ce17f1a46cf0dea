// Little-endian byte writing and bounds-checked reading for everything that crosses the network.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace quillon::net {

// Values are copied to and from the wire as they lie in memory.
static_assert(std::endian::native == std::endian::little);

// Appends to a byte vector; the vector keeps its capacity between packets.
class WireWriter {
public:
    explicit WireWriter(std::vector<std::uint8_t>& out)
        : m_out(out)
    {
    }

    void byte(std::uint8_t value) { m_out.push_back(value); }
    void u16(std::uint16_t value) { bytes_of(&value, 2); }
    void u32(std::uint32_t value) { bytes_of(&value, 4); }
    void real(double value) { bytes_of(&value, 8); }
    void bytes(std::span<const std::uint8_t> data) { m_out.insert(m_out.end(), data.begin(), data.end()); }
    // A 32-bit length, then the bytes.
    void text(std::string_view value)
    {
        u32(static_cast<std::uint32_t>(value.size()));
        bytes_of(value.data(), value.size());
    }

private:
    void bytes_of(const void* data, std::size_t count)
    {
        const auto* first = static_cast<const std::uint8_t*>(data);
        m_out.insert(m_out.end(), first, first + count);
    }

    std::vector<std::uint8_t>& m_out; // the packet being written
};

// Reads from a span; any read past the end fails the reader for good, and reads then give zeros.
class WireReader {
public:
    explicit WireReader(std::span<const std::uint8_t> data)
        : m_data(data)
    {
    }

    std::uint8_t byte() { return read<std::uint8_t>(); }
    std::uint16_t u16() { return read<std::uint16_t>(); }
    std::uint32_t u32() { return read<std::uint32_t>(); }
    double real() { return read<double>(); }
    std::span<const std::uint8_t> bytes(std::size_t count)
    {
        if (!m_ok || count > remaining()) {
            m_ok = false;
            return {};
        }
        std::span<const std::uint8_t> taken = m_data.subspan(m_position, count);
        m_position += count;
        return taken;
    }
    // A 32-bit length and that many bytes; a length beyond the packet fails the reader.
    std::string_view text()
    {
        std::span<const std::uint8_t> taken = bytes(u32());
        return { reinterpret_cast<const char*>(taken.data()), taken.size() };
    }

    bool ok() const { return m_ok; }
    // Whether every byte was read and nothing failed.
    bool finished() const { return m_ok && m_position == m_data.size(); }
    std::size_t remaining() const { return m_data.size() - m_position; }
    std::span<const std::uint8_t> rest() const { return m_data.subspan(m_position); }

private:
    template<typename T> T read()
    {
        T value {};
        std::span<const std::uint8_t> taken = bytes(sizeof(T));
        if (!taken.empty())
            std::memcpy(&value, taken.data(), sizeof(T));
        return value;
    }

    std::span<const std::uint8_t> m_data; // the packet
    std::size_t m_position = 0; // the next byte to read
    bool m_ok = true; // no read has run past the end
};

} // namespace quillon::net
