// ImageSheet: all images of one sprite or background laid out on one surface, and the drawing from it.
#pragma once

#include "graphics/regions.h"
#include "graphics/surface.h"
#include "support/bitmap.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>

namespace quillon {

// What a sheet is built from.
struct SheetSource {
    std::span<const Bitmap24* const> images;  // the images in order; a missing one leaves its cell empty
    int image_width = 0;                      // of every image
    int image_height = 0;                     // of every image
    int origin_x = 0;                         // the point placed at the drawing position
    int origin_y = 0;
    bool transparent = false;                 // the images' bottom-left colour is see-through
    bool video_memory = false;                // passed to surface creation
    bool load_on_use = false;                 // the sheet waits in a temporary file until first drawn
};

// Gives the temporary file of a load-on-use sheet; an empty path keeps the sheet in memory instead.
using SheetFileNamer = std::function<std::filesystem::path()>;

// The images sit in rows of `columns`, each row at most 640 pixels wide (at least one image).
class ImageSheet {
public:
    static constexpr int ROW_WIDTH = 640;

    // Lays the images out; a sheet without images or with an empty size does not exist.
    void build(const SheetSource& source, const SheetFileNamer& file_namer);
    // Frees the surface; the sheet is made again on its next use.
    void discard();
    // Makes the surface now; false when the sheet does not exist or its file cannot be read (reported).
    bool restore();
    // Frees everything and deletes the temporary file; the sheet no longer exists.
    void remove();

    bool exists() const { return m_exists; }
    bool ready() const { return m_ready; }
    bool load_on_use() const { return m_load_on_use; }
    int image_count() const { return m_image_count; }
    int columns() const { return m_columns; }
    int image_width() const { return m_image_width; }
    int image_height() const { return m_image_height; }
    const std::filesystem::path& file_name() const { return m_file_name; }
    const DDSurface* surface() const { return m_surface ? &*m_surface : nullptr; }

    // Image n (taken modulo the count) with the origin at (x, y), scaled, blended with alpha unless it is 1.
    void draw_image(const RegionTable& targets, int image, int x, int y, double x_scale, double y_scale,
        double alpha);
    // A rectangle of the sheet with its top-left corner at (x, y).
    void draw_part(const RegionTable& targets, const SurfaceRect& part, int x, int y, double x_scale,
        double y_scale, double alpha);
    // Image n repeated over the area (room coordinates) along the tiled axes, starting from (x, y).
    void draw_tiled(const RegionTable& targets, int image, int x, int y, const SurfaceRect& area,
        bool tile_vertically, bool tile_horizontally, double x_scale, double y_scale, double alpha);

    // A copy of image n (modulo the count); none when the sheet does not exist or cannot be made.
    std::optional<Bitmap24> image_bitmap(int image);

private:
    bool ensure_ready();
    SurfaceRect image_rect(int image) const;
    void blend_part(const DrawingTarget& target, const SurfaceRect& part, int x, int y, double x_scale,
        double y_scale, double alpha);

    bool m_exists = false;                  // built from a resource with images and a size
    bool m_ready = false;                   // the surface holds the sheet
    bool m_load_on_use = false;             // the sheet waits in m_file_name between uses
    bool m_video_memory = false;            // passed to surface creation
    bool m_transparent = false;             // the surface has the key colour
    std::filesystem::path m_file_name;      // the temporary file of a load-on-use sheet
    std::optional<Bitmap24> m_bitmap;       // the sheet in memory; none for a load-on-use sheet
    int m_image_count = 0;                  // images on the sheet
    int m_columns = 0;                      // images per row
    int m_image_width = 0;                  // of every image
    int m_image_height = 0;                 // of every image
    int m_origin_x = 0;                     // the point placed at the drawing position
    int m_origin_y = 0;
    std::optional<DDSurface> m_surface;     // the drawable form, while ready
};

}  // namespace quillon
