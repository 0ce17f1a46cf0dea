// PNG writer: frames of 32-bit pixels saved as 8-bit RGB PNG files (screenshots of headless runs).
#include "platform/headless/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace quillon::platform {

namespace {

// Rows are converted one at a time into the caller's row buffer (width * 3 bytes). libpng reports errors
// by jumping back to the setjmp, so nothing with a destructor may be created in this function.
bool write_rows(png_structp png, png_infop info, const std::uint32_t* pixels, int width, int height, png_byte* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<png_byte>(source[x] >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(source[x] >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(source[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool write_png(const std::string& path, const std::uint32_t* pixels, int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    bool written = false;
    if (info) {
        png_init_io(png, file);
        written = write_rows(png, info, pixels, width, height, row.data());
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

}  // namespace quillon::platform
