// ImageSheets: the sheet of every sprite and background by index, and drawing them onto the image target.
#pragma once

#include "graphics/background.h"
#include "graphics/image_sheet.h"
#include "graphics/sprite.h"
#include "support/resource_list.h"

#include <vector>

namespace quillon {

// Positions are room coordinates; the region table's targets place them on the screen buffer. An index
// without a sheet draws nothing.
class ImageSheets {
public:
    // The targets to draw on (kept by reference) and the maker of temporary file names for load-on-use sheets.
    ImageSheets(const RegionTable& targets, SheetFileNamer file_namer);

    void build_all(const ResourceList<CSprite>& sprites, const ResourceList<CBackground>& backgrounds);
    void free_all();
    // Builds or rebuilds one entry from its resource (a missing one leaves the entry not existing).
    void build_sprite(int index, const CSprite* sprite);
    void build_background(int index, const CBackground* background);
    void delete_sprite(int index);
    void delete_background(int index);
    // Frees the surface of every load-on-use sheet of both tables.
    void discard_all();

    ImageSheet* sprite(int index);
    ImageSheet* background(int index);

    void draw_sprite(int sprite, int image, int x, int y, double x_scale = 1, double y_scale = 1, double alpha = 1);
    // Nothing when width or height is 0 or less.
    void draw_sprite_stretched(int sprite, int image, int x, int y, int width, int height, double alpha = 1);
    void draw_sprite_tiled(int sprite, int image, int x, int y, const SurfaceRect& area, bool tile_vertically,
        bool tile_horizontally, double x_scale = 1, double y_scale = 1, double alpha = 1);

    void draw_background(int background, int x, int y, double x_scale = 1, double y_scale = 1, double alpha = 1);
    void draw_background_stretched(int background, int x, int y, int width, int height, double alpha = 1);
    void draw_background_tiled(int background, int x, int y, const SurfaceRect& area, bool tile_vertically,
        bool tile_horizontally, double x_scale = 1, double y_scale = 1, double alpha = 1);
    // A rectangle of a background, as tiles are drawn.
    void draw_background_part(int background, const SurfaceRect& part, int x, int y, double x_scale = 1,
        double y_scale = 1, double alpha = 1);

private:
    static ImageSheet* entry(std::vector<ImageSheet>& table, int index);
    static ImageSheet& grow(std::vector<ImageSheet>& table, int index);

    const RegionTable& m_targets;            // where drawing lands
    SheetFileNamer m_file_namer;             // temporary files of load-on-use sheets
    std::vector<ImageSheet> m_sprites;       // by sprite index
    std::vector<ImageSheet> m_backgrounds;   // by background index
};

}  // namespace quillon
