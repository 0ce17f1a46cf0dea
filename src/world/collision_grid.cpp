// CollisionGrid: a spatial hash of the current room's bounding boxes, kept current as instances move.
#include "world/collision_grid.h"

#include <algorithm>
#include <bit>

namespace quillon {

namespace {

constexpr int CELL_SHIFT = 6;             // cells of 64 by 64 room pixels
constexpr std::int64_t LARGE_CELLS = 16;  // boxes over more cells than this are kept in one list
constexpr int ASIDE_SLACK = 64;           // instances set aside before a build is due, besides half the room

std::int64_t cell_of(std::int32_t coordinate) { return std::int64_t(coordinate) >> CELL_SHIFT; }

std::int64_t cells_spanned(const PixelBox& box)
{
    return (cell_of(box.right) - cell_of(box.left) + 1) * (cell_of(box.bottom) - cell_of(box.top) + 1);
}

PixelBox box_of(const CInstance& instance)
{
    return {instance.bbox_left(), instance.bbox_top(), instance.bbox_right(), instance.bbox_bottom()};
}

bool overlap(const PixelBox& a, const PixelBox& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

CollisionGrid::CollisionGrid() { CInstance::s_box_listener = this; }

CollisionGrid::~CollisionGrid()
{
    if (CInstance::s_box_listener == this)
        CInstance::s_box_listener = nullptr;
}

void CollisionGrid::invalidate()
{
    m_room = nullptr;
    m_instances.clear();
    m_changed.clear();
}

void CollisionGrid::box_changed(CInstance& instance)
{
    // Instances of other rooms, temporaries and copies carrying someone else's slot are not ours.
    int slot = instance.collision_slot;
    if (!m_room || slot < 0 || slot >= static_cast<int>(m_instances.size()) || m_instances[slot] != &instance
        || m_dirty[slot])
        return;
    m_dirty[slot] = 1;
    m_changed.push_back(slot);
}

std::size_t CollisionGrid::bucket(std::int64_t column, std::int64_t row) const
{
    std::uint64_t hash = std::uint64_t(column) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(row) * 0xC2B2AE3D27D4EB4Full;
    return (hash >> 32) & (m_bucket_start.size() - 2);
}

template<typename Visit>
void CollisionGrid::for_each_bucket(const PixelBox& box, Visit visit) const
{
    for (std::int64_t row = cell_of(box.top); row <= cell_of(box.bottom); ++row)
        for (std::int64_t column = cell_of(box.left); column <= cell_of(box.right); ++column)
            visit(bucket(column, row));
}

// Counts the cells of each bucket, then places the slots: two passes over flat arrays.
void CollisionGrid::build(const LiveRoom& room)
{
    // 1. Every instance of the array, in order, with its box now.
    m_room = &room;
    m_layout_stamp = room.layout_stamp();
    int count = room.instance_count();
    m_instances.resize(count);
    m_boxes.resize(count);
    m_objects.resize(count);
    m_aside.assign(count, 0);
    m_dirty.assign(count, 0);
    m_seen.resize(count, 0);
    m_large.clear();
    m_changed.clear();
    m_aside_large.clear();
    m_aside_count = 0;
    for (int slot = 0; slot < count; ++slot) {
        CInstance& instance = *room.instance(slot);
        instance.collision_slot = slot;
        m_instances[slot] = &instance;
        m_boxes[slot] = box_of(instance);
        m_objects[slot] = instance.object_index;
    }
    // 2. About two buckets per instance (a power of two, plus one end mark), each counted.
    std::size_t buckets = std::bit_ceil(std::max<std::size_t>(64, 2 * std::size_t(count)));
    m_bucket_start.assign(buckets + 1, 0);
    if (m_aside_buckets.size() < buckets)
        m_aside_buckets.resize(buckets);
    for (std::size_t b : m_aside_used)
        m_aside_buckets[b].clear();
    m_aside_used.clear();
    std::size_t filed = 0;
    for (int slot = 0; slot < count; ++slot) {
        if (cells_spanned(m_boxes[slot]) > LARGE_CELLS) {
            m_large.push_back(slot);
            continue;
        }
        for_each_bucket(m_boxes[slot], [&](std::size_t b) {
            ++m_bucket_start[b + 1];
            ++filed;
        });
    }
    // 3. Where each bucket begins, 4. then the slots in their places.
    for (std::size_t b = 0; b < buckets; ++b)
        m_bucket_start[b + 1] += m_bucket_start[b];
    m_fill.assign(m_bucket_start.begin(), m_bucket_start.end() - 1);
    m_bucket_slots.resize(filed);
    for (int slot = 0; slot < count; ++slot)
        if (cells_spanned(m_boxes[slot]) <= LARGE_CELLS)
            for_each_bucket(m_boxes[slot], [&](std::size_t b) { m_bucket_slots[m_fill[b]++] = slot; });
}

// Files a slot among those set aside, under its box now; a slot set aside before leaves its old cells first.
void CollisionGrid::set_aside(int slot)
{
    auto take_out = [slot](std::vector<int>& slots) {
        auto found = std::find(slots.begin(), slots.end(), slot);
        *found = slots.back();
        slots.pop_back();
    };
    PixelBox& box = m_boxes[slot];
    if (!m_aside[slot]) {
        m_aside[slot] = 1;
        ++m_aside_count;
    } else if (cells_spanned(box) > LARGE_CELLS) {
        take_out(m_aside_large);
    } else {
        for_each_bucket(box, [&](std::size_t b) { take_out(m_aside_buckets[b]); });
    }
    box = box_of(*m_instances[slot]);
    m_objects[slot] = m_instances[slot]->object_index;
    if (cells_spanned(box) > LARGE_CELLS)
        m_aside_large.push_back(slot);
    else
        for_each_bucket(box, [&](std::size_t b) {
            if (m_aside_buckets[b].empty())
                m_aside_used.push_back(b);
            m_aside_buckets[b].push_back(slot);
        });
}

// Built on first use and for every other room or layout; new instances and moved ones are set aside; with half
// the room set aside, built again.
void CollisionGrid::catch_up(const LiveRoom& room)
{
    // Another grid that listened in the meantime means moves went unheard: listen again and build.
    if (CInstance::s_box_listener != this) {
        CInstance::s_box_listener = this;
        m_room = nullptr;
    }
    if (m_room != &room || m_layout_stamp != room.layout_stamp()) {
        build(room);
        return;
    }
    for (int slot = static_cast<int>(m_instances.size()); slot < room.instance_count(); ++slot) {
        CInstance& instance = *room.instance(slot);
        instance.collision_slot = slot;
        m_instances.push_back(&instance);
        m_boxes.push_back(box_of(instance));
        m_objects.push_back(instance.object_index);
        m_aside.push_back(0);
        m_dirty.push_back(1);
        m_seen.push_back(0);
        m_changed.push_back(slot);
    }
    if (m_aside_count + static_cast<int>(m_changed.size()) > ASIDE_SLACK + static_cast<int>(m_instances.size()) / 2) {
        build(room);
        return;
    }
    for (int slot : m_changed) {
        m_dirty[slot] = 0;
        set_aside(slot);
    }
    m_changed.clear();
}

void CollisionGrid::query(const LiveRoom& room, const PixelBox& box, std::vector<int>& slots, std::int32_t object)
{
    catch_up(room);
    slots.clear();
    if (++m_query == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_query = 1;
    }
    auto meet = [&](int slot, const PixelBox& filed) {
        if (m_seen[slot] == m_query || (object != ANY_OBJECT && m_objects[slot] != object))
            return;
        m_seen[slot] = m_query;
        if (overlap(filed, box))
            slots.push_back(slot);
    };
    // A query over more cells than there are instances walks the instances instead (already in order).
    if (cells_spanned(box) > std::int64_t(m_instances.size())) {
        for (int slot = 0; slot < static_cast<int>(m_instances.size()); ++slot)
            meet(slot, m_boxes[slot]);
        return;
    }
    // 1. The instances filed when built, unless set aside since, 2. those set aside, each under its box now.
    bool any_aside = m_aside_count > 0;
    for_each_bucket(box, [&](std::size_t b) {
        for (std::uint32_t i = m_bucket_start[b]; i < m_bucket_start[b + 1]; ++i)
            if (int slot = m_bucket_slots[i]; !m_aside[slot])
                meet(slot, m_boxes[slot]);
        if (any_aside)
            for (int slot : m_aside_buckets[b])
                meet(slot, m_boxes[slot]);
    });
    for (int slot : m_large)
        if (!m_aside[slot])
            meet(slot, m_boxes[slot]);
    for (int slot : m_aside_large)
        meet(slot, m_boxes[slot]);
    std::sort(slots.begin(), slots.end());
}

}  // namespace quillon
