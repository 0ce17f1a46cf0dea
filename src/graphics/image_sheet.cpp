// ImageSheet: all images of one sprite or background laid out on one surface, and the drawing from it.
#include "graphics/image_sheet.h"

#include "code/value.h"
#include "support/bmp_file.h"
#include "support/game_error.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace quillon {

namespace {

// Draws an image onto the sheet; with transparency its own bottom-left colour leaves the sheet as it was.
void place_image(Bitmap24& sheet, const Bitmap24& image, int left, int top, bool transparent)
{
    int width = std::min(image.width, sheet.width - left);
    int height = std::min(image.height, sheet.height - top);
    const std::uint8_t* key = image.row(image.height - 1);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = image.row(y);
        std::uint8_t* to = sheet.row(top + y) + left * 3;
        for (int x = 0; x < width * 3; x += 3) {
            if (transparent && from[x] == key[0] && from[x + 1] == key[1] && from[x + 2] == key[2])
                continue;
            to[x] = from[x];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x + 2];
        }
    }
}

void put_int32(std::ofstream& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF));
}

// The sheet file: width and height as 32-bit integers, then the sheet as a BMP file.
bool write_sheet_file(const std::filesystem::path& file, const Bitmap24& sheet)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    put_int32(out, sheet.width);
    put_int32(out, sheet.height);
    std::vector<std::uint8_t> bmp = encode_bmp(sheet);
    out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    return static_cast<bool>(out);
}

std::optional<Bitmap24> read_sheet_file(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() < 8)
        return std::nullopt;
    return decode_bmp(std::span<const std::uint8_t>(bytes).subspan(8));
}

// The surface form of a sheet bitmap, keyed with its bottom-left colour when transparent.
std::optional<DDSurface> make_surface(const Bitmap24& sheet, bool transparent, bool video_memory)
{
    std::optional<DDSurface> surface;
    surface.emplace(sheet.width, sheet.height, transparent, sheet.transparent_color(), video_memory);
    SurfaceCanvas canvas = surface->GetCanvas();
    if (!canvas.pixels)
        return std::nullopt;
    for (int y = 0; y < sheet.height; ++y) {
        const std::uint8_t* from = sheet.row(y);
        for (int x = 0; x < sheet.width; ++x, from += 3)
            canvas.at(x, y) = std::uint32_t(from[2]) << 16 | std::uint32_t(from[1]) << 8 | from[0];
    }
    return surface;
}

// The source index under the centre of target pixel i when `source` pixels are stretched over `target`.
int centre_sample(int i, int source, int target)
{
    return static_cast<int>((2 * std::int64_t(i) + 1) * source / (2 * std::int64_t(target)));
}

std::uint8_t mix(std::uint8_t target, std::uint8_t image, double a)
{
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint((1 - a) * target + a * image), 0.0, 255.0));
}

std::uint32_t mix_pixels(std::uint32_t target, std::uint32_t image, double a)
{
    return std::uint32_t(mix((target >> 16) & 0xFF, (image >> 16) & 0xFF, a)) << 16
        | std::uint32_t(mix((target >> 8) & 0xFF, (image >> 8) & 0xFF, a)) << 8 | mix(target & 0xFF, image & 0xFF, a);
}

}  // namespace

void ImageSheet::build(const SheetSource& source, const SheetFileNamer& file_namer)
{
    // 1. What the resource says.
    m_surface.reset();
    m_ready = false;
    m_bitmap.reset();
    m_load_on_use = source.load_on_use;
    m_video_memory = source.video_memory;
    m_transparent = source.transparent;
    m_image_width = source.image_width;
    m_image_height = source.image_height;
    m_origin_x = source.origin_x;
    m_origin_y = source.origin_y;
    m_image_count = static_cast<int>(source.images.size());
    m_exists = m_image_width > 0 && m_image_height > 0 && m_image_count > 0;
    if (!m_exists)
        return;
    // 2. Rows of at most 640 pixels' worth of images.
    m_columns = std::max(1, std::min(ROW_WIDTH / m_image_width, m_image_count));
    Bitmap24 sheet(m_columns * m_image_width, ((m_image_count - 1) / m_columns + 1) * m_image_height);
    // 3. A transparent sheet starts in the first image's see-through colour.
    const Bitmap24* first = source.images.front();
    if (m_transparent && first && first->width > 0 && first->height > 0)
        sheet = Bitmap24(sheet.width, sheet.height, first->transparent_color());
    // 4. The images in their cells.
    for (int i = 0; i < m_image_count; ++i) {
        const Bitmap24* image = source.images[i];
        if (image && image->width > 0 && image->height > 0)
            place_image(sheet, *image, (i % m_columns) * m_image_width, (i / m_columns) * m_image_height, m_transparent);
    }
    // 5. A load-on-use sheet waits in its file; any other is made drawable now.
    if (m_load_on_use && m_file_name.empty() && file_namer)
        m_file_name = file_namer();
    if (m_load_on_use && !m_file_name.empty() && write_sheet_file(m_file_name, sheet))
        return;
    m_load_on_use = false;
    m_bitmap = std::move(sheet);
    restore();
}

void ImageSheet::discard()
{
    m_surface.reset();
    m_ready = false;
}

bool ImageSheet::restore()
{
    // 1. Start from nothing.
    discard();
    if (!m_exists)
        return false;
    // 2. A load-on-use sheet comes back from its file.
    std::optional<Bitmap24> loaded;
    if (m_load_on_use) {
        loaded = read_sheet_file(m_file_name);
        if (!loaded) {
            report_game_error("Failed to restore sprite from file " + m_file_name.string());
            return false;
        }
    }
    // 3. and 4. The surface with the sheet's pixels; 5. the loaded copy goes with this scope.
    m_surface = make_surface(loaded ? *loaded : *m_bitmap, m_transparent, m_video_memory);
    m_ready = m_surface.has_value();
    return m_ready;
}

void ImageSheet::remove()
{
    if (!m_file_name.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_file_name, ignored);
    }
    *this = ImageSheet();
}

bool ImageSheet::ensure_ready()
{
    return m_exists && (m_ready || restore());
}

SurfaceRect ImageSheet::image_rect(int image) const
{
    image %= m_image_count;
    if (image < 0)
        image += m_image_count;
    int left = (image % m_columns) * m_image_width;
    int top = (image / m_columns) * m_image_height;
    return {left, top, left + m_image_width, top + m_image_height};
}

void ImageSheet::draw_image(const RegionTable& targets, int image, int x, int y, double x_scale, double y_scale,
    double alpha)
{
    if (!targets.image_target().surface || !ensure_ready())
        return;
    draw_part(targets, image_rect(image), x - round_to_int32(m_origin_x * x_scale),
        y - round_to_int32(m_origin_y * y_scale), x_scale, y_scale, alpha);
}

void ImageSheet::draw_part(const RegionTable& targets, const SurfaceRect& part, int x, int y, double x_scale,
    double y_scale, double alpha)
{
    const DrawingTarget& target = targets.image_target();
    if (!target.surface || !ensure_ready())
        return;
    if (alpha == 1) {
        target.surface->DrawPart(x - target.offset_x, y - target.offset_y, part, *m_surface, true, x_scale, y_scale);
        return;
    }
    blend_part(targets.gdi_target(), part, x, y, x_scale, y_scale, alpha);
}

// The part stretched to its scaled size and mixed into the target pixel by pixel, inside the target's clip
// rectangle; see-through pixels of a transparent sheet leave the target alone. Each target pixel takes the
// source pixel under its centre, as the scaled blit of opaque drawing does, so that a picture does not shift
// when its alpha moves away from 1. The see-through colour is the part's own bottom-left pixel: the stretched
// copy's corner may come from another row when the part shrinks.
void ImageSheet::blend_part(const DrawingTarget& target, const SurfaceRect& part, int x, int y, double x_scale,
    double y_scale, double alpha)
{
    if (!target.surface)
        return;
    int width = round_to_int32(part.width() * x_scale);
    int height = round_to_int32(part.height() * y_scale);
    SurfaceCanvas to = target.surface->GetCanvas();
    SurfaceCanvas from = m_surface->GetCanvas();
    if (width <= 0 || height <= 0 || !to.pixels || !from.pixels)
        return;
    double a = std::nearbyint(std::clamp(alpha, 0.0, 1.0) * 256) / 256;
    auto column = [&](int i) { return std::clamp(i, 0, from.width - 1); };
    auto row = [&](int j) { return std::clamp(j, 0, from.height - 1); };
    auto source_x = [&](int i) { return column(part.left + centre_sample(i, part.width(), width)); };
    auto source_y = [&](int j) { return row(part.top + centre_sample(j, part.height(), height)); };
    std::uint32_t key = from.at(column(part.left), row(part.bottom - 1));
    int left = x - target.offset_x;
    int top = y - target.offset_y;
    SurfaceRect clip {std::max({to.clip.left, 0, left}), std::max({to.clip.top, 0, top}),
        std::min({to.clip.right, to.width, left + width}), std::min({to.clip.bottom, to.height, top + height})};
    for (int ty = clip.top; ty < clip.bottom; ++ty) {
        int sy = source_y(ty - top);
        for (int tx = clip.left; tx < clip.right; ++tx) {
            std::uint32_t image = from.at(source_x(tx - left), sy);
            if (m_transparent && image == key)
                continue;
            std::uint32_t& pixel = to.at(tx, ty);
            pixel = mix_pixels(pixel, image, a);
        }
    }
}

void ImageSheet::draw_tiled(const RegionTable& targets, int image, int x, int y, const SurfaceRect& area,
    bool tile_vertically, bool tile_horizontally, double x_scale, double y_scale, double alpha)
{
    // 1. The size of one tile.
    int w = round_to_int32(m_image_width * x_scale);
    int h = round_to_int32(m_image_height * y_scale);
    if (!m_exists || w <= 0 || h <= 0)
        return;
    // 2. The first column at or left of the area.
    if (tile_horizontally) {
        x %= w;
        if (x > 0)
            x -= w;
        while (x + w < area.left)
            x += w;
    }
    // 3. Columns, and in each the rows, until past the area.
    while (x < area.right) {
        int row_y = y;
        if (tile_vertically) {
            row_y %= h;
            if (row_y > 0)
                row_y -= h;
            while (row_y + h < area.top)
                row_y += h;
        }
        while (row_y < area.bottom) {
            draw_image(targets, image, x, row_y, x_scale, y_scale, alpha);
            row_y += h;
            if (!tile_vertically)
                break;
        }
        x += w;
        if (!tile_horizontally)
            break;
    }
}

std::optional<Bitmap24> ImageSheet::image_bitmap(int image)
{
    if (!ensure_ready())
        return std::nullopt;
    SurfaceRect rect = image_rect(image);
    SurfaceCanvas from = m_surface->GetCanvas();
    Bitmap24 out(m_image_width, m_image_height);
    for (int y = 0; y < m_image_height; ++y) {
        for (int x = 0; x < m_image_width; ++x)
            out.set_pixel(x, y, pixel_to_color(from.at(rect.left + x, rect.top + y)));
    }
    return out;
}

}  // namespace quillon
