// zlib streams (RFC 1950) as the game file stores its compressed blocks.
#include "support/compression.h"

#include "support/stream.h"

#include <zlib.h>

namespace quillon {

namespace {
constexpr std::size_t CHUNK = 32768;  // input and output pieces
}

std::vector<std::uint8_t> inflate_zlib(std::span<const std::uint8_t> compressed)
{
    z_stream zs {};
    if (inflateInit(&zs) != Z_OK)
        throw StreamError("inflate: cannot initialise zlib");
    std::vector<std::uint8_t> out;
    // Most blocks are images that inflate to a few times their stored size.
    out.resize(std::max<std::size_t>(CHUNK, compressed.size() * 4));
    zs.next_in = const_cast<Bytef*>(compressed.data());
    zs.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (zs.total_out == out.size())
            out.resize(out.size() * 2);
        zs.next_out = out.data() + zs.total_out;
        zs.avail_out = static_cast<uInt>(std::min<std::size_t>(out.size() - zs.total_out, 1u << 30));
        status = inflate(&zs, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            inflateEnd(&zs);
            throw StreamError("inflate: corrupt compressed block");
        }
        if (status == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
            inflateEnd(&zs);
            throw StreamError("inflate: truncated compressed block");
        }
    }
    out.resize(zs.total_out);
    inflateEnd(&zs);
    return out;
}

std::vector<std::uint8_t> deflate_zlib(std::span<const std::uint8_t> plain)
{
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw StreamError("deflate failed");
    out.resize(size);
    return out;
}

}  // namespace quillon
