// zlib streams (RFC 1950) as the game file stores its compressed blocks.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Inflates a whole zlib stream; throws StreamError when the data is not a complete, valid stream.
std::vector<std::uint8_t> inflate_zlib(std::span<const std::uint8_t> compressed);

// Deflates with zlib's default level.
std::vector<std::uint8_t> deflate_zlib(std::span<const std::uint8_t> plain);

}  // namespace quillon
