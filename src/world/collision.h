// Collisions: when two instances meet or an instance covers a point, the place tests on the current room, the
// moves that stop at or leave contact, bouncing, and the collision stage of a step.
#pragma once

#include "graphics/collision_mask.h"
#include "world/collision_grid.h"
#include "world/dispatch_lists.h"
#include "world/instance_queries.h"
#include "world/world.h"

#include <span>
#include <vector>

namespace quillon {

class Collisions {
public:
    Collisions(World& world, const ResourceList<CSprite>& sprites, const CollisionMasks& masks);

    // Boxes that overlap (edges included), then the masks of precise instances pixel by pixel. An instance
    // never meets itself, a marked instance or an instance without a sprite.
    bool collide(const CInstance& a, const CInstance& b) const;
    // The box, then the mask of a precise instance.
    bool point_inside(const CInstance& instance, double x, double y) const;

    // Tests of self standing at (x, y); self goes back where it was.
    bool place_free(CInstance& self, double x, double y);   // no solid instance meets it
    bool place_empty(CInstance& self, double x, double y);  // no instance meets it
    CInstance* instance_place(CInstance& self, double x, double y, std::int32_t selector);
    bool place_meeting(CInstance& self, double x, double y, std::int32_t selector)
    {
        return instance_place(self, x, y, selector) != nullptr;
    }
    // The first selected instance covering the point.
    CInstance* instance_position(double x, double y, std::int32_t selector);
    // Every instance of the room covering the point, in array order, is destroyed, or changed into the object
    // (which is checked first, with the world's error). Instances the events add are not visited.
    void destroy_at(double x, double y);
    void change_at(double x, double y, std::int32_t object, bool perform_events);

    // Moves of one pixel at a time in the direction (degrees), with place empty (all) or place free as the
    // test: up to the last free place before contact, or out of contact (true when free at the end).
    void move_contact(CInstance& self, double direction, double maximum, bool all);
    bool move_outside(CInstance& self, double direction, double maximum, bool all);
    // Reverses the blocked parts of the motion, or (advanced) turns away from the blocked directions.
    void bounce(CInstance& self, bool advanced, bool all);

    // Every colliding pair of instances of the object pairs, with the put-back of solid ones and both events.
    void collision_stage(std::span<const ObjectPair> pairs);

    // Drops the grid, which builds itself again on next use.
    void forget_room() { m_grid.invalidate(); }

private:
    // The sprite an instance collides with, and the image of it in use; frame -1 when it has no images.
    struct MaskImage {
        const CSprite* sprite = nullptr;     // the mask sprite, or none
        const CollisionMask* mask = nullptr; // its mask (possibly not present: the whole box is solid)
        int frame = -1;                      // the image index, within the image count
    };
    MaskImage mask_image(const CInstance& instance) const;
    bool pixel_test(const CInstance& a, const CInstance& b) const;
    bool free_at(CInstance& self, double x, double y, bool all) { return all ? place_empty(self, x, y) : place_free(self, x, y); }
    bool selected(const CInstance& instance, std::int32_t selector) const;
    // The first instance in array order that meets self at (x, y) and is accepted.
    template<typename Accept>
    CInstance* first_meeting(CInstance& self, double x, double y, Accept accept);
    void meet_pair(CInstance& a, CInstance& b);

    World& m_world;                          // the current room and its events
    const ResourceList<CSprite>& m_sprites;  // mask sprites
    const CollisionMasks& m_masks;           // their masks
    CollisionGrid m_grid;                    // the broadphase
    std::vector<int> m_slots;                // the last place test's instances
    std::vector<int> m_stage_slots;          // the collision stage's instances near a
};

}  // namespace quillon
