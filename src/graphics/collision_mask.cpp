// Collision masks: which pixels of each sprite frame are solid, for pixel-precise collision tests.
#include "graphics/collision_mask.h"

#include "graphics/bitmap_operations.h"
#include "support/game_error.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

const CollisionMask EMPTY_MASK;

}  // namespace

void CollisionMask::build(const CSprite* sprite)
{
    // 1. and 2. Only a precise, transparent sprite with frames has a mask.
    clear();
    if (!sprite || !sprite->precise || !sprite->transparent || sprite->frame_count() == 0 || sprite->width < 1
        || sprite->height < 1)
        return;
    // 3. One bit per pixel of every frame.
    m_width = sprite->width;
    m_height = sprite->height;
    m_frame_count = sprite->frame_count();
    m_words_per_row = (m_width + 63) / 64;
    m_bits.assign(static_cast<std::size_t>(m_frame_count) * m_height * m_words_per_row, 0);
    // 4. A pixel is solid when it differs from its frame's own bottom-left pixel.
    for (int frame = 0; frame < m_frame_count; ++frame) {
        const Bitmap24* bitmap = sprite->frame_bitmap(frame);
        if (!is_valid_bitmap(bitmap)) {
            report_game_error("Internal error in creating collision masks.");
            clear();
            return;
        }
        const std::uint8_t* key = bitmap->row(bitmap->height - 1);
        int rows = std::min(m_height, bitmap->height);
        int columns = std::min(m_width, bitmap->width);
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* pixel = bitmap->row(y);
            std::uint64_t* words = m_bits.data() + (static_cast<std::size_t>(frame) * m_height + y) * m_words_per_row;
            for (int x = 0; x < columns; ++x, pixel += 3) {
                if (pixel[0] != key[0] || pixel[1] != key[1] || pixel[2] != key[2])
                    words[x >> 6] |= std::uint64_t(1) << (x & 63);
            }
        }
    }
    // 5. Done.
    m_present = true;
}

bool CollisionMask::point_test(int frame, double x, double y) const
{
    if (!m_present)
        return true;
    if (!(x >= 0 && x < m_width && y >= 0 && y < m_height))
        return false;
    return solid(frame, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

void CollisionMasks::build_all(const ResourceList<CSprite>& sprites)
{
    m_masks.assign(sprites.count(), CollisionMask());
    for (int i = 0; i < sprites.count(); ++i)
        m_masks[i].build(sprites.get(i));
}

void CollisionMasks::build(int index, const CSprite* sprite)
{
    if (index < 0)
        return;
    if (index >= static_cast<int>(m_masks.size()))
        m_masks.resize(index + 1);
    m_masks[index].build(sprite);
}

void CollisionMasks::free(int index)
{
    if (index >= 0 && index < static_cast<int>(m_masks.size()))
        m_masks[index].clear();
}

const CollisionMask& CollisionMasks::mask(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_masks.size()))
        return EMPTY_MASK;
    return m_masks[index];
}

}  // namespace quillon
