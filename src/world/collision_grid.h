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
// The grid learns of moved boxes through CInstance's box listener and of new instances by the array growing;
// after instances are removed from the array it must be invalidated, and it builds itself again on first use.
class CollisionGrid final : public BoxListener {
public:
    CollisionGrid();
    ~CollisionGrid();
    CollisionGrid(const CollisionGrid&) = delete;
    CollisionGrid& operator=(const CollisionGrid&) = delete;

    // Forgets everything; the next query builds the grid from the room again.
    void invalidate();
    // The slots (array indices) of the instances whose boxes overlap the box, in ascending order; marked
    // instances and those without a sprite are among them, for the caller's test to refuse. The vector is the caller's, so that queries allocate nothing once it has grown.
    void query(const LiveRoom& room, const PixelBox& box, std::vector<int>& slots);

    void box_changed(CInstance& instance) override;

private:
    struct Entry {
        CInstance* instance = nullptr;  // the instance at this array index
        PixelBox box;                   // the box it is filed under
        bool large = false;             // in the list of large boxes instead of the cells
        bool dirty = false;             // waiting in the dirty list
    };

    void rebuild(const LiveRoom& room);
    void catch_up(const LiveRoom& room);
    void add(CInstance& instance);
    void file(int slot);
    void unfile(int slot);
    std::vector<int>& bucket(std::int64_t column, std::int64_t row);

    const LiveRoom* m_room = nullptr;         // the room the entries are of; none: not built
    std::vector<Entry> m_entries;             // per array index
    std::vector<std::vector<int>> m_buckets;  // per hashed cell, the slots filed there
    std::vector<int> m_large;                 // slots whose boxes span too many cells
    std::vector<int> m_dirty;                 // slots whose boxes changed since they were filed
    std::vector<std::uint32_t> m_seen;        // per slot, the query that last met it
    std::uint32_t m_query = 0;                // the current query's mark
};

}  // namespace quillon
