// WaveCapture: writes mixed audio to a WAV file (44.1 kHz stereo 16-bit) as it is produced.
#include "platform/headless/wave_capture.h"

#include "platform/audio_device.h"

#include <array>
#include <limits>

namespace quillon::platform {

namespace {

constexpr std::uint32_t HEADER_BYTES = 44;

void put_u32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put_u16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::array<std::uint8_t, HEADER_BYTES> header(std::uint32_t data_bytes)
{
    std::array<std::uint8_t, HEADER_BYTES> h {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    put_u32(&h[4], data_bytes + HEADER_BYTES - 8);
    put_u32(&h[16], 16);
    put_u16(&h[20], 1);
    put_u16(&h[22], MIX_CHANNELS);
    put_u32(&h[24], MIX_RATE);
    put_u32(&h[28], MIX_RATE * MIX_CHANNELS * 2);
    put_u16(&h[32], MIX_CHANNELS * 2);
    put_u16(&h[34], 16);
    h[36] = 'd';
    h[37] = 'a';
    h[38] = 't';
    h[39] = 'a';
    put_u32(&h[40], data_bytes);
    return h;
}

}  // namespace

WaveCapture::~WaveCapture()
{
    close();
}

bool WaveCapture::open(const std::filesystem::path& file)
{
    close();
    m_file = std::fopen(file.c_str(), "wb");
    if (!m_file)
        return false;
    m_data_bytes = 0;
    auto h = header(0);
    std::fwrite(h.data(), 1, h.size(), m_file);
    return true;
}

void WaveCapture::append(std::span<const std::int16_t> stereo_samples)
{
    if (!m_file)
        return;
    // The file format is little-endian, as is every machine this runs on.
    std::fwrite(stereo_samples.data(), sizeof(std::int16_t), stereo_samples.size(), m_file);
    m_data_bytes += stereo_samples.size_bytes();
}

void WaveCapture::close()
{
    if (!m_file)
        return;
    // A WAV file cannot describe more than 4 GiB; a longer capture keeps the largest size it can state.
    std::uint64_t limit = std::numeric_limits<std::uint32_t>::max() - HEADER_BYTES;
    auto h = header(static_cast<std::uint32_t>(m_data_bytes < limit ? m_data_bytes : limit));
    std::fseek(m_file, 0, SEEK_SET);
    std::fwrite(h.data(), 1, h.size(), m_file);
    std::fclose(m_file);
    m_file = nullptr;
}

}  // namespace quillon::platform
