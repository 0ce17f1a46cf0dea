// CollisionGrid: a spatial hash of the current room's bounding boxes, kept current as instances move.
#pragma once

#include "world/instance.h"
#include "world/live_room.h"

#include <cstdint>
#include <vector>

namespace quillon {

// A box in room pixels, edges included.
struct PixelBox {
    std::int32_t left = 0;    // first column
    std::int32_t top = 0;     // first row
    std::int32_t right = 0;   // last column
    std::int32_t bottom = 0;  // last row
};

// Entries are the room's instances by array index ("slots"), so a query sorted by slot is in array order.
// The grid is built in one pass into flat arrays (cells hashed into buckets, each bucket a run of slots). It
// learns of moved boxes through CInstance's box listener and of new instances by the array growing; those are
// set aside into buckets of their own that follow every later move, until half the room is set aside and the
// flat arrays are built again. A room it was not built for, or whose array lost instances since (the room's
// layout stamp tells both, even for a new room in an old one's memory), makes it build itself again.
class CollisionGrid final : public BoxListener {
public:
    CollisionGrid();
    ~CollisionGrid();
    CollisionGrid(const CollisionGrid&) = delete;
    CollisionGrid& operator=(const CollisionGrid&) = delete;

    // Forgets everything; the next query builds the grid from the room again.
    void invalidate();
    // The slots (array indices) of the instances whose boxes overlap the box, in ascending order; marked
    // instances and those without a sprite are among them, for the caller's test to refuse. With an object
    // index of 0 or more, only the slots of that object's own instances. The vector is the caller's, so that
    // queries allocate nothing once it has grown.
    static constexpr std::int32_t ANY_OBJECT = -1;
    void query(const LiveRoom& room, const PixelBox& box, std::vector<int>& slots,
               std::int32_t object = ANY_OBJECT);

    void box_changed(CInstance& instance) override;

private:
    void build(const LiveRoom& room);
    void catch_up(const LiveRoom& room);
    void set_aside(int slot);
    std::size_t bucket(std::int64_t column, std::int64_t row) const;
    template<typename Visit>
    void for_each_bucket(const PixelBox& box, Visit visit) const;

    const LiveRoom* m_room = nullptr;          // the room the entries are of; none: not built
    std::uint64_t m_layout_stamp = 0;          // that room's layout stamp when built
    std::vector<CInstance*> m_instances;       // per slot
    std::vector<PixelBox> m_boxes;             // per slot, the box it is filed under
    std::vector<std::int32_t> m_objects;       // per slot, the object of the instance when filed
    std::vector<std::uint8_t> m_aside;         // per slot, 1 when it moved or came after the build
    std::vector<std::uint8_t> m_dirty;         // per slot, 1 while it waits in m_changed
    std::vector<std::uint32_t> m_bucket_start; // per bucket, where its slots begin in m_bucket_slots
    std::vector<std::uint32_t> m_fill;         // per bucket, the next free place while building
    std::vector<int> m_bucket_slots;           // the slots of every bucket, bucket after bucket
    std::vector<int> m_large;                  // slots whose boxes span too many cells to file
    std::vector<int> m_changed;                // slots whose boxes changed since the last query
    std::vector<std::vector<int>> m_aside_buckets;  // per bucket, the slots set aside there
    std::vector<std::size_t> m_aside_used;     // buckets that held slots set aside since the build
    std::vector<int> m_aside_large;            // slots set aside whose boxes span too many cells
    int m_aside_count = 0;                     // slots set aside since the build
    std::vector<std::uint32_t> m_seen;         // per slot, the query that last met it
    std::uint32_t m_query = 0;                 // the current query's mark
};

}  // namespace quillon
