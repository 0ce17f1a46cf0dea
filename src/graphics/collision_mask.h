// Collision masks: which pixels of each sprite frame are solid, for pixel-precise collision tests.
#pragma once

#include "graphics/sprite.h"
#include "support/resource_list.h"

#include <cstdint>
#include <vector>

namespace quillon {

// The solid pixels of every frame of one sprite, a bit per pixel: each row is a run of 64-bit words, bit
// (x mod 64) of word (x / 64) standing for column x.
class CollisionMask {
public:
    // Builds from the sprite's frames. A sprite that is missing, not precise, not transparent or without frames
    // gets no mask; so does one whose frame has no picture, which also reports an internal error.
    void build(const CSprite* sprite);
    void clear() { *this = CollisionMask(); }

    bool present() const { return m_present; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int frame_count() const { return m_frame_count; }

    // Whether the pixel at integer frame coordinates is solid; false outside the frame or for a frame index
    // outside the mask.
    bool solid(int frame, int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height || frame < 0 || frame >= m_frame_count)
            return false;
        std::size_t word = (static_cast<std::size_t>(frame) * m_height + y) * m_words_per_row + (x >> 6);
        return (m_bits[word] >> (x & 63)) & 1;
    }

    // The point test of a frame at real frame coordinates: true everywhere when there is no mask (the whole
    // bounding box counts), false outside the frame, else the pixel under the point.
    bool point_test(int frame, double x, double y) const;

private:
    bool m_present = false;             // false: the sprite has no mask
    int m_width = 0;                    // of every frame
    int m_height = 0;                   // of every frame
    int m_frame_count = 0;              // frames held
    int m_words_per_row = 0;            // (width + 63) / 64
    std::vector<std::uint64_t> m_bits;  // frame after frame, row after row
};

// One mask per sprite index.
class CollisionMasks {
public:
    void build_all(const ResourceList<CSprite>& sprites);
    // Builds or frees the mask of one index, growing the table to reach it.
    void build(int index, const CSprite* sprite);
    void free(int index);

    // The mask of a sprite; an index outside the table gives an empty (not present) mask.
    const CollisionMask& mask(int index) const;
    // The point test of sprite `sprite`, frame `frame`, at real frame coordinates.
    bool point_test(int sprite, int frame, double x, double y) const { return mask(sprite).point_test(frame, x, y); }

private:
    std::vector<CollisionMask> m_masks;  // indexed by sprite index
};

}  // namespace quillon
