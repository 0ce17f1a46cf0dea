// ImageSheets: the sheet of every sprite and background by index, and drawing them onto the image target.
#include "graphics/image_sheets.h"

namespace quillon {

ImageSheets::ImageSheets(const RegionTable& targets, SheetFileNamer file_namer)
    : m_targets(targets)
    , m_file_namer(std::move(file_namer))
{
}

ImageSheet* ImageSheets::entry(std::vector<ImageSheet>& table, int index)
{
    if (index < 0 || index >= static_cast<int>(table.size()) || !table[index].exists())
        return nullptr;
    return &table[index];
}

ImageSheet& ImageSheets::grow(std::vector<ImageSheet>& table, int index)
{
    if (index >= static_cast<int>(table.size()))
        table.resize(index + 1);
    return table[index];
}

void ImageSheets::build_all(const ResourceList<CSprite>& sprites, const ResourceList<CBackground>& backgrounds)
{
    free_all();
    for (int i = 0; i < sprites.count(); ++i)
        build_sprite(i, sprites.get(i));
    for (int i = 0; i < backgrounds.count(); ++i)
        build_background(i, backgrounds.get(i));
}

void ImageSheets::free_all()
{
    for (ImageSheet& sheet : m_sprites)
        sheet.remove();
    for (ImageSheet& sheet : m_backgrounds)
        sheet.remove();
    m_sprites.clear();
    m_backgrounds.clear();
}

void ImageSheets::build_sprite(int index, const CSprite* sprite)
{
    if (index < 0)
        return;
    ImageSheet& sheet = grow(m_sprites, index);
    if (!sprite) {
        sheet.remove();
        return;
    }
    std::vector<const Bitmap24*> images;
    for (int i = 0; i < sprite->frame_count(); ++i)
        images.push_back(sprite->frame_bitmap(i));
    sheet.build({images, sprite->width, sprite->height, sprite->origin_x, sprite->origin_y, sprite->transparent,
                    sprite->video_memory, sprite->load_on_use},
        m_file_namer);
}

void ImageSheets::build_background(int index, const CBackground* background)
{
    if (index < 0)
        return;
    ImageSheet& sheet = grow(m_backgrounds, index);
    const Bitmap24* image = background ? background->image_bitmap() : nullptr;
    if (!image) {
        sheet.remove();
        return;
    }
    const Bitmap24* images[] = {image};
    sheet.build({images, background->width, background->height, 0, 0, background->transparent,
                    background->video_memory, background->load_on_use},
        m_file_namer);
}

void ImageSheets::delete_sprite(int index)
{
    if (index >= 0 && index < static_cast<int>(m_sprites.size()))
        m_sprites[index].remove();
}

void ImageSheets::delete_background(int index)
{
    if (index >= 0 && index < static_cast<int>(m_backgrounds.size()))
        m_backgrounds[index].remove();
}

void ImageSheets::discard_all()
{
    for (ImageSheet& sheet : m_sprites) {
        if (sheet.load_on_use())
            sheet.discard();
    }
    for (ImageSheet& sheet : m_backgrounds) {
        if (sheet.load_on_use())
            sheet.discard();
    }
}

ImageSheet* ImageSheets::sprite(int index) { return entry(m_sprites, index); }
ImageSheet* ImageSheets::background(int index) { return entry(m_backgrounds, index); }

void ImageSheets::draw_sprite(int sprite_index, int image, int x, int y, double x_scale, double y_scale, double alpha)
{
    if (ImageSheet* sheet = sprite(sprite_index))
        sheet->draw_image(m_targets, image, x, y, x_scale, y_scale, alpha);
}

void ImageSheets::draw_sprite_stretched(int sprite_index, int image, int x, int y, int width, int height, double alpha)
{
    ImageSheet* sheet = sprite(sprite_index);
    if (!sheet || width <= 0 || height <= 0)
        return;
    sheet->draw_image(m_targets, image, x, y, double(width) / sheet->image_width(),
        double(height) / sheet->image_height(), alpha);
}

void ImageSheets::draw_sprite_tiled(int sprite_index, int image, int x, int y, const SurfaceRect& area,
    bool tile_vertically, bool tile_horizontally, double x_scale, double y_scale, double alpha)
{
    if (ImageSheet* sheet = sprite(sprite_index))
        sheet->draw_tiled(m_targets, image, x, y, area, tile_vertically, tile_horizontally, x_scale, y_scale, alpha);
}

void ImageSheets::draw_background(int background_index, int x, int y, double x_scale, double y_scale, double alpha)
{
    if (ImageSheet* sheet = background(background_index))
        sheet->draw_image(m_targets, 0, x, y, x_scale, y_scale, alpha);
}

void ImageSheets::draw_background_stretched(int background_index, int x, int y, int width, int height, double alpha)
{
    ImageSheet* sheet = background(background_index);
    if (!sheet || width <= 0 || height <= 0)
        return;
    sheet->draw_image(m_targets, 0, x, y, double(width) / sheet->image_width(),
        double(height) / sheet->image_height(), alpha);
}

void ImageSheets::draw_background_tiled(int background_index, int x, int y, const SurfaceRect& area,
    bool tile_vertically, bool tile_horizontally, double x_scale, double y_scale, double alpha)
{
    if (ImageSheet* sheet = background(background_index))
        sheet->draw_tiled(m_targets, 0, x, y, area, tile_vertically, tile_horizontally, x_scale, y_scale, alpha);
}

void ImageSheets::draw_background_part(int background_index, const SurfaceRect& part, int x, int y, double x_scale,
    double y_scale, double alpha)
{
    if (ImageSheet* sheet = background(background_index))
        sheet->draw_part(m_targets, part, x, y, x_scale, y_scale, alpha);
}

}  // namespace quillon
