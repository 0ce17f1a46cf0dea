// WaveCapture: writes mixed audio to a WAV file (44.1 kHz stereo 16-bit) as it is produced.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

namespace quillon::platform {

class WaveCapture {
public:
    WaveCapture() = default;
    ~WaveCapture();
    WaveCapture(const WaveCapture&) = delete;
    WaveCapture& operator=(const WaveCapture&) = delete;

    // Starts the file with a header whose sizes are filled in on close; false when it cannot be written.
    bool open(const std::filesystem::path& file);
    bool is_open() const { return m_file != nullptr; }
    void append(std::span<const std::int16_t> stereo_samples);
    // Fills in the sizes and closes the file.
    void close();

private:
    std::FILE* m_file = nullptr;     // the file being written
    std::uint64_t m_data_bytes = 0;  // sample bytes written so far
};

}  // namespace quillon::platform
