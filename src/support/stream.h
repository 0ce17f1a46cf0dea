// CStream: the memory stream in which the game file, saved games and variable stores are read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Raised by every read that runs past the end of the data, and by a compressed block that does not inflate.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A growable little-endian byte buffer with one position shared by reads and writes.
class CStream {
public:
    CStream() = default;
    explicit CStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    // The whole file, or nothing when it cannot be read.
    static std::optional<CStream> from_file(const std::filesystem::path& path);
    bool save_to_file(const std::filesystem::path& path) const;

    std::int32_t ReadInt();
    double ReadReal();
    bool ReadBool();             // true when the stored integer is greater than 0
    std::string ReadString();    // a stored length of 0 or less gives the empty string
    CStream ReadBlock();
    CStream ReadCompressedBlock();
    std::span<const std::uint8_t> ReadBlockBytes();  // a block's stored bytes, without copying them
    std::span<const std::uint8_t> ReadBytes(std::size_t count);

    void WriteInt(std::int32_t value);
    void WriteReal(double value);
    void WriteBool(bool value);
    void WriteString(std::string_view text);
    void WriteBlock(std::span<const std::uint8_t> bytes);
    void WriteCompressedBlock(std::span<const std::uint8_t> bytes);
    void WriteBytes(std::span<const std::uint8_t> bytes);

    std::size_t position() const { return m_position; }
    void set_position(std::size_t position) { m_position = position; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_position < m_bytes.size() ? m_bytes.size() - m_position : 0; }
    bool at_end() const { return m_position >= m_bytes.size(); }

    std::vector<std::uint8_t>& bytes() { return m_bytes; }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> take_bytes() { return std::move(m_bytes); }

private:
    const std::uint8_t* take(std::size_t count);
    std::uint8_t* make_room(std::size_t count);

    std::vector<std::uint8_t> m_bytes;  // the data
    std::size_t m_position = 0;         // next byte to read or write
};

}  // namespace quillon
