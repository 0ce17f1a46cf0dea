// PNG writer: frames of 32-bit pixels saved as 8-bit RGB PNG files (screenshots of headless runs).
#pragma once

#include <cstdint>
#include <string>

namespace quillon::platform {

// Pixels are 0x00RRGGBB, packed rows top-down. False when the file cannot be written.
bool write_png(const std::string& path, const std::uint32_t* pixels, int width, int height);

}  // namespace quillon::platform
