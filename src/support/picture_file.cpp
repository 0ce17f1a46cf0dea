// Picture files (PNG, BMP, GIF with all its frames, JPEG) decoded into 24-bit frames.
#include "support/picture_file.h"

#include "support/bmp_file.h"
#include "support/stream.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace quillon {

namespace {

constexpr std::uint8_t OPAQUE_FROM = 128;  // opacities at or above this count as solid pixels

// No picture is made larger than this, however its file describes it: 2^28 pixels, and at most 2^14 pixels for
// every byte of the file. The best compression any of the formats reaches on real pictures stays far below
// that ratio, so only a header that lies about the size (or a file cut short after it) is refused, before
// anything of that size is allocated.
constexpr long long MAX_PIXELS = 1LL << 28;
constexpr long long MAX_PIXELS_PER_BYTE = 1LL << 14;

long long pixel_budget(std::span<const std::uint8_t> file)
{
    return std::min(MAX_PIXELS, static_cast<long long>(file.size()) * MAX_PIXELS_PER_BYTE);
}

bool fits(long long width, long long height, long long budget)
{
    return width > 0 && height > 0 && width * height <= budget;
}

bool starts_with(std::span<const std::uint8_t> file, std::initializer_list<std::uint8_t> signature)
{
    return file.size() >= signature.size() && std::equal(signature.begin(), signature.end(), file.begin());
}

// PNG through libpng's simplified reader, which expands every colour type and the tRNS chunk to RGBA.
std::optional<std::vector<PictureFrame>> decode_png(std::span<const std::uint8_t> file, long long budget)
{
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size()))
        return std::nullopt;
    if (!fits(png.width, png.height, budget)) {
        png_image_free(&png);
        return std::nullopt;
    }
    bool has_alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    PictureFrame frame {Bitmap24(png.width, png.height), {}};
    std::size_t count = static_cast<std::size_t>(png.width) * png.height;
    frame.alpha.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        frame.image.pixels[i * 3] = rgba[i * 4 + 2];
        frame.image.pixels[i * 3 + 1] = rgba[i * 4 + 1];
        frame.image.pixels[i * 3 + 2] = rgba[i * 4];
        frame.alpha[i] = rgba[i * 4 + 3];
    }
    // Editors often save opaque pictures with an alpha channel; such a picture is as opaque as any other.
    if (!has_alpha || std::all_of(frame.alpha.begin(), frame.alpha.end(), [](std::uint8_t a) { return a == 255; }))
        frame.alpha.clear();
    return std::vector<PictureFrame> {std::move(frame)};
}

std::optional<std::vector<PictureFrame>> decode_bmp_picture(std::span<const std::uint8_t> file, long long budget)
{
    std::optional<Bitmap24> bitmap = decode_bmp(file, budget);
    if (!bitmap)
        return std::nullopt;
    return std::vector<PictureFrame> {PictureFrame {std::move(*bitmap), {}}};
}

struct GifSource {
    std::span<const std::uint8_t> data;  // the whole file
    std::size_t position = 0;            // next byte giflib asks for
};

int read_gif_bytes(GifFileType* gif, GifByteType* into, int count)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    std::size_t available = source->data.size() - source->position;
    std::size_t taken = std::min<std::size_t>(available, count < 0 ? 0 : count);
    std::memcpy(into, source->data.data() + source->position, taken);
    source->position += taken;
    return static_cast<int>(taken);
}

// Reads the pixels of the image whose descriptor was just read, rows in their stored order: interlaced images
// come in four passes (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
bool read_gif_raster(GifFileType* gif, std::vector<GifByteType>& raster)
{
    const GifImageDesc& place = gif->Image;
    raster.resize(static_cast<std::size_t>(place.Width) * place.Height);
    if (!place.Interlace)
        return DGifGetLine(gif, raster.data(), static_cast<int>(raster.size())) == GIF_OK;
    constexpr int FIRST_ROW[] = {0, 4, 2, 1};
    constexpr int ROW_STEP[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = FIRST_ROW[pass]; y < place.Height; y += ROW_STEP[pass]) {
            if (DGifGetLine(gif, raster.data() + static_cast<std::size_t>(y) * place.Width, place.Width) != GIF_OK)
                return false;
        }
    }
    return true;
}

// Draws one GIF image onto the canvas at its offset, leaving its transparent pixels and whatever lies
// outside the canvas alone.
void draw_gif_image(const GifFileType* gif, const std::vector<GifByteType>& raster, int transparent, Bitmap24& canvas)
{
    const GifImageDesc& place = gif->Image;
    const ColorMapObject* colors = place.ColorMap ? place.ColorMap : gif->SColorMap;
    if (!colors)
        return;
    for (int y = 0; y < place.Height; ++y) {
        for (int x = 0; x < place.Width; ++x) {
            int index_value = raster[static_cast<std::size_t>(y) * place.Width + x];
            int cx = place.Left + x;
            int cy = place.Top + y;
            if (index_value == transparent || index_value >= colors->ColorCount)
                continue;
            if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height)
                continue;
            const GifColorType& c = colors->Colors[index_value];
            canvas.set_pixel(cx, cy, make_color(c.Red, c.Green, c.Blue));
        }
    }
}

// The graphic control extension that applies to the next image, if this extension is one; every block of the
// extension is read.
bool read_gif_extension(GifFileType* gif, GraphicsControlBlock& control)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        DGifExtensionToGCB(block[0], block + 1, &control);
    while (block) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK)
            return false;
    }
    return true;
}

// The frames, read record by record, so that every image's size is checked against the budget before its
// pixels are allocated: all frames together hold at most `budget` pixels.
bool read_gif_frames(GifFileType* gif, long long budget, std::vector<PictureFrame>& frames)
{
    long long canvas_pixels = static_cast<long long>(gif->SWidth) * gif->SHeight;
    if (!fits(gif->SWidth, gif->SHeight, budget))
        return false;
    Bitmap24 canvas(gif->SWidth, gif->SHeight, CANVAS_FILL_COLOR);
    std::vector<GifByteType> raster;
    GraphicsControlBlock control {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    while (record != TERMINATE_RECORD_TYPE) {
        if (DGifGetRecordType(gif, &record) != GIF_OK)
            return false;
        if (record == EXTENSION_RECORD_TYPE && !read_gif_extension(gif, control))
            return false;
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) != GIF_OK || !fits(gif->Image.Width, gif->Image.Height, budget)
            || static_cast<long long>(frames.size() + 1) * canvas_pixels > budget || !read_gif_raster(gif, raster))
            return false;
        draw_gif_image(gif, raster, control.TransparentColor, canvas);
        frames.push_back(PictureFrame {canvas, {}});
        if (control.DisposalMode != DISPOSE_DO_NOT)
            canvas = Bitmap24(gif->SWidth, gif->SHeight, CANVAS_FILL_COLOR);
        control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
    return !frames.empty();
}

std::optional<std::vector<PictureFrame>> decode_gif(std::span<const std::uint8_t> file, long long budget)
{
    GifSource source {file};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read_gif_bytes, &error);
    if (!gif)
        return std::nullopt;
    std::vector<PictureFrame> frames;
    bool read = read_gif_frames(gif, budget, frames);
    DGifCloseFile(gif, &error);
    if (!read)
        return std::nullopt;
    return frames;
}

// libjpeg reports fatal errors through error_exit, which must not return; it jumps back to the decoder.
struct JpegErrors {
    jpeg_error_mgr manager;  // libjpeg's own handler table; must stay the first member
    std::jmp_buf escape;     // where error_exit jumps to
};

void jpeg_fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}

// Warnings about damaged data are not printed, but data that ends early fails the picture as a whole instead of
// leaving the rest of it grey.
void jpeg_warning(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}

// Kept free of objects with destructors between setjmp and the last libjpeg call, so that the jump out of
// libjpeg skips nothing that needs cleaning up.
bool read_jpeg(std::span<const std::uint8_t> file, long long budget, Bitmap24& out)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpeg_fail;
    errors.manager.emit_message = jpeg_warning;
    jpeg_create_decompress(&info);
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    if (!fits(info.output_width, info.output_height, budget)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.row(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    for (std::size_t i = 0; i < out.pixels.size(); i += 3)
        std::swap(out.pixels[i], out.pixels[i + 2]);  // libjpeg gives R,G,B; frames hold B,G,R
    return true;
}

std::optional<std::vector<PictureFrame>> decode_jpeg(std::span<const std::uint8_t> file, long long budget)
{
    Bitmap24 image;
    if (!read_jpeg(file, budget, image) || image.width < 1 || image.height < 1)
        return std::nullopt;
    return std::vector<PictureFrame> {PictureFrame {std::move(image), {}}};
}

bool is_opaque(const PictureFrame& frame, std::size_t pixel)
{
    return frame.alpha.empty() || frame.alpha[pixel] >= OPAQUE_FROM;
}

}  // namespace

std::optional<std::vector<PictureFrame>> decode_picture(std::span<const std::uint8_t> file)
{
    long long budget = pixel_budget(file);
    if (starts_with(file, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return decode_png(file, budget);
    if (starts_with(file, {'B', 'M'}))
        return decode_bmp_picture(file, budget);
    if (starts_with(file, {'G', 'I', 'F', '8'}))
        return decode_gif(file, budget);
    if (starts_with(file, {0xFF, 0xD8, 0xFF}))
        return decode_jpeg(file, budget);
    return std::nullopt;
}

std::optional<std::vector<PictureFrame>> load_picture_file(const std::filesystem::path& path)
{
    auto file = CStream::from_file(path);
    if (!file)
        return std::nullopt;
    return decode_picture(file->bytes());
}

std::vector<PictureFrame> split_strip(const PictureFrame& strip, int count)
{
    count = std::max(count, 1);
    int width = strip.image.width / count;
    std::vector<PictureFrame> frames;
    for (int i = 0; i < count; ++i) {
        // Built by hand: a strip narrower than the count gives empty frames, where the constructor would
        // make them one pixel wide.
        PictureFrame frame;
        frame.image.width = width;
        frame.image.height = strip.image.height;
        frame.image.pixels.resize(static_cast<std::size_t>(width) * strip.image.height * 3);
        if (!strip.alpha.empty())
            frame.alpha.resize(static_cast<std::size_t>(width) * strip.image.height);
        for (int y = 0; y < strip.image.height; ++y) {
            std::size_t from = static_cast<std::size_t>(y) * strip.image.width + static_cast<std::size_t>(i) * width;
            std::memcpy(frame.image.row(y), strip.image.pixels.data() + from * 3, static_cast<std::size_t>(width) * 3);
            if (!strip.alpha.empty())
                std::memcpy(frame.alpha.data() + static_cast<std::size_t>(y) * width, strip.alpha.data() + from, width);
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

Bitmap24 blend_over(const PictureFrame& frame, Color background)
{
    Bitmap24 out = frame.image;
    if (frame.alpha.empty())
        return out;
    std::uint8_t under[3] = {color_blue(background), color_green(background), color_red(background)};
    for (std::size_t i = 0; i < frame.alpha.size(); ++i) {
        unsigned a = frame.alpha[i];
        for (int c = 0; c < 3; ++c) {
            unsigned mixed = out.pixels[i * 3 + c] * a + under[c] * (255 - a);
            out.pixels[i * 3 + c] = static_cast<std::uint8_t>((mixed + 127) / 255);
        }
    }
    return out;
}

Color unused_color(std::span<const PictureFrame> frames)
{
    std::vector<bool> used(1u << 24);
    for (const PictureFrame& frame : frames) {
        std::size_t count = static_cast<std::size_t>(frame.image.width) * frame.image.height;
        for (std::size_t i = 0; i < count; ++i) {
            if (is_opaque(frame, i)) {
                const std::uint8_t* p = frame.image.pixels.data() + i * 3;
                used[make_color(p[2], p[1], p[0])] = true;
            }
        }
    }
    if (!used[CANVAS_FILL_COLOR])
        return CANVAS_FILL_COLOR;
    // Only frames of more than 16 million pixels can use every colour and reach the fallback.
    for (Color color = 0; color < used.size(); ++color) {
        if (!used[color])
            return color;
    }
    return CANVAS_FILL_COLOR;
}

Bitmap24 key_transparent_pixels(const PictureFrame& frame, Color key)
{
    Bitmap24 out = frame.image;
    if (frame.alpha.empty() || out.width < 1 || out.height < 1)
        return out;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            if (!is_opaque(frame, static_cast<std::size_t>(y) * out.width + x))
                out.set_pixel(x, y, key);
        }
    }
    out.set_pixel(0, out.height - 1, key);
    return out;
}

std::vector<std::uint8_t> encode_png(const Bitmap24& bitmap)
{
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(bitmap.width);
    png.height = static_cast<png_uint_32>(bitmap.height);
    png.format = PNG_FORMAT_BGR;  // the frames' own byte order
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, bitmap.pixels.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> file(size);
    if (!png_image_write_to_memory(&png, file.data(), &size, 0, bitmap.pixels.data(), 0, nullptr))
        return {};
    file.resize(size);
    return file;
}

}  // namespace quillon
