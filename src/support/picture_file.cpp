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

namespace quillon {

namespace {

constexpr std::uint8_t OPAQUE_FROM = 128;  // opacities at or above this count as solid pixels

bool starts_with(std::span<const std::uint8_t> file, std::initializer_list<std::uint8_t> signature)
{
    return file.size() >= signature.size() && std::equal(signature.begin(), signature.end(), file.begin());
}

// PNG through libpng's simplified reader, which expands every colour type and the tRNS chunk to RGBA.
std::optional<std::vector<PictureFrame>> decode_png(std::span<const std::uint8_t> file)
{
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size()))
        return std::nullopt;
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

std::optional<std::vector<PictureFrame>> decode_bmp_picture(std::span<const std::uint8_t> file)
{
    std::optional<Bitmap24> bitmap = decode_bmp(file);
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

// Draws one GIF image onto the canvas at its offset, leaving its transparent pixels and whatever lies
// outside the canvas alone.
void draw_gif_image(const GifFileType* gif, int index, Bitmap24& canvas)
{
    const SavedImage& image = gif->SavedImages[index];
    const ColorMapObject* colors = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (!colors || !image.RasterBits)
        return;
    GraphicsControlBlock control {};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(const_cast<GifFileType*>(gif), index, &control);
    const GifImageDesc& place = image.ImageDesc;
    for (int y = 0; y < place.Height; ++y) {
        for (int x = 0; x < place.Width; ++x) {
            int index_value = image.RasterBits[static_cast<std::size_t>(y) * place.Width + x];
            int cx = place.Left + x;
            int cy = place.Top + y;
            if (index_value == control.TransparentColor || index_value >= colors->ColorCount)
                continue;
            if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height)
                continue;
            const GifColorType& c = colors->Colors[index_value];
            canvas.set_pixel(cx, cy, make_color(c.Red, c.Green, c.Blue));
        }
    }
}

int gif_disposal(GifFileType* gif, int index)
{
    GraphicsControlBlock control {};
    if (DGifSavedExtensionToGCB(gif, index, &control) != GIF_OK)
        return DISPOSAL_UNSPECIFIED;
    return control.DisposalMode;
}

std::optional<std::vector<PictureFrame>> decode_gif(std::span<const std::uint8_t> file)
{
    GifSource source {file};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read_gif_bytes, &error);
    if (!gif)
        return std::nullopt;
    std::optional<std::vector<PictureFrame>> frames;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SWidth > 0 && gif->SHeight > 0) {
        frames.emplace();
        Bitmap24 canvas(gif->SWidth, gif->SHeight, CANVAS_FILL_COLOR);
        for (int i = 0; i < gif->ImageCount; ++i) {
            draw_gif_image(gif, i, canvas);
            frames->push_back(PictureFrame {canvas, {}});
            if (gif_disposal(gif, i) != DISPOSE_DO_NOT)
                canvas = Bitmap24(gif->SWidth, gif->SHeight, CANVAS_FILL_COLOR);
        }
    }
    DGifCloseFile(gif, &error);
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

// Warnings about damaged data are not printed; a picture that cannot be read fails as a whole.
void jpeg_quiet(j_common_ptr) {}

// Kept free of objects with destructors between setjmp and the last libjpeg call, so that the jump out of
// libjpeg skips nothing that needs cleaning up.
bool read_jpeg(std::span<const std::uint8_t> file, Bitmap24& out)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpeg_fail;
    errors.manager.output_message = jpeg_quiet;
    jpeg_create_decompress(&info);
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
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

std::optional<std::vector<PictureFrame>> decode_jpeg(std::span<const std::uint8_t> file)
{
    Bitmap24 image;
    if (!read_jpeg(file, image) || image.width < 1 || image.height < 1)
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
    if (starts_with(file, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return decode_png(file);
    if (starts_with(file, {'B', 'M'}))
        return decode_bmp_picture(file);
    if (starts_with(file, {'G', 'I', 'F', '8'}))
        return decode_gif(file);
    if (starts_with(file, {0xFF, 0xD8, 0xFF}))
        return decode_jpeg(file);
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
