// CStream: the memory stream in which the game file, saved games and variable stores are read and written.
#include "support/stream.h"

#include "support/compression.h"

#include <bit>
#include <cstring>
#include <fstream>

namespace quillon {

static_assert(std::endian::native == std::endian::little, "the stream copies little-endian values directly");

std::optional<CStream> CStream::from_file(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    auto size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return CStream(std::move(bytes));
}

bool CStream::save_to_file(const std::filesystem::path& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()));
    return static_cast<bool>(file.flush());
}

const std::uint8_t* CStream::take(std::size_t count)
{
    if (count > remaining())
        throw StreamError("read past the end of the stream");
    const std::uint8_t* start = m_bytes.data() + m_position;
    m_position += count;
    return start;
}

std::uint8_t* CStream::make_room(std::size_t count)
{
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    std::uint8_t* start = m_bytes.data() + m_position;
    m_position += count;
    return start;
}

std::int32_t CStream::ReadInt()
{
    std::int32_t value;
    std::memcpy(&value, take(4), 4);
    return value;
}

double CStream::ReadReal()
{
    double value;
    std::memcpy(&value, take(8), 8);
    return value;
}

bool CStream::ReadBool() { return ReadInt() > 0; }

std::string CStream::ReadString()
{
    std::int32_t length = ReadInt();
    if (length <= 0)
        return {};
    const std::uint8_t* start = take(static_cast<std::size_t>(length));
    return std::string(reinterpret_cast<const char*>(start), static_cast<std::size_t>(length));
}

std::span<const std::uint8_t> CStream::ReadBytes(std::size_t count) { return {take(count), count}; }

std::span<const std::uint8_t> CStream::ReadBlockBytes()
{
    std::int32_t length = ReadInt();
    if (length < 0)
        throw StreamError("negative block length");
    return ReadBytes(static_cast<std::size_t>(length));
}

CStream CStream::ReadBlock()
{
    auto bytes = ReadBlockBytes();
    return CStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

CStream CStream::ReadCompressedBlock() { return CStream(inflate_zlib(ReadBlockBytes())); }

void CStream::WriteInt(std::int32_t value) { std::memcpy(make_room(4), &value, 4); }

void CStream::WriteReal(double value) { std::memcpy(make_room(8), &value, 8); }

void CStream::WriteBool(bool value) { WriteInt(value ? 1 : 0); }

void CStream::WriteString(std::string_view text)
{
    WriteInt(static_cast<std::int32_t>(text.size()));
    WriteBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void CStream::WriteBytes(std::span<const std::uint8_t> bytes)
{
    if (!bytes.empty())
        std::memcpy(make_room(bytes.size()), bytes.data(), bytes.size());
}

void CStream::WriteBlock(std::span<const std::uint8_t> bytes)
{
    WriteInt(static_cast<std::int32_t>(bytes.size()));
    WriteBytes(bytes);
}

void CStream::WriteCompressedBlock(std::span<const std::uint8_t> bytes) { WriteBlock(deflate_zlib(bytes)); }

}  // namespace quillon
