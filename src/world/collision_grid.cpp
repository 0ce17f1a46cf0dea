// CollisionGrid: a spatial hash of the current room's bounding boxes, kept current as instances move.
#include "world/collision_grid.h"

#include <algorithm>
#include <bit>

namespace quillon {

namespace {

constexpr int CELL_SHIFT = 6;          // cells of 64 by 64 room pixels
constexpr std::int64_t LARGE_CELLS = 16;  // boxes over more cells than this are kept in one list

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
    m_entries.clear();
    m_dirty.clear();
}

void CollisionGrid::box_changed(CInstance& instance)
{
    // Instances of other rooms, temporaries and copies carrying someone else's slot are not ours.
    int slot = instance.collision_slot;
    if (!m_room || slot < 0 || slot >= static_cast<int>(m_entries.size()) || m_entries[slot].instance != &instance)
        return;
    if (!m_entries[slot].dirty) {
        m_entries[slot].dirty = true;
        m_dirty.push_back(slot);
    }
}

std::vector<int>& CollisionGrid::bucket(std::int64_t column, std::int64_t row)
{
    std::uint64_t hash = std::uint64_t(column) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(row) * 0xC2B2AE3D27D4EB4Full;
    return m_buckets[(hash >> 32) & (m_buckets.size() - 1)];
}

void CollisionGrid::rebuild(const LiveRoom& room)
{
    // 1. Enough buckets for about one instance each; their vectors keep their capacity between builds.
    std::size_t wanted = std::bit_ceil(std::max<std::size_t>(64, 2 * std::size_t(room.instance_count())));
    if (m_buckets.size() < wanted)
        m_buckets.resize(wanted);
    for (std::vector<int>& cell : m_buckets)
        cell.clear();
    m_large.clear();
    m_dirty.clear();
    m_entries.clear();
    // 2. Every instance of the array, in order.
    m_room = &room;
    for (int i = 0; i < room.instance_count(); ++i)
        add(*room.instance(i));
}

void CollisionGrid::add(CInstance& instance)
{
    int slot = static_cast<int>(m_entries.size());
    instance.collision_slot = slot;
    m_entries.push_back(Entry {&instance, {}, false, false});
    if (m_seen.size() < m_entries.size())
        m_seen.resize(m_entries.size(), 0);
    file(slot);
}

void CollisionGrid::file(int slot)
{
    Entry& entry = m_entries[slot];
    entry.box = box_of(*entry.instance);
    entry.large = cells_spanned(entry.box) > LARGE_CELLS;
    if (entry.large) {
        m_large.push_back(slot);
        return;
    }
    for (std::int64_t row = cell_of(entry.box.top); row <= cell_of(entry.box.bottom); ++row)
        for (std::int64_t column = cell_of(entry.box.left); column <= cell_of(entry.box.right); ++column)
            bucket(column, row).push_back(slot);
}

void CollisionGrid::unfile(int slot)
{
    Entry& entry = m_entries[slot];
    auto take_out = [slot](std::vector<int>& slots) {
        auto found = std::find(slots.begin(), slots.end(), slot);
        *found = slots.back();
        slots.pop_back();
    };
    if (entry.large) {
        take_out(m_large);
        return;
    }
    for (std::int64_t row = cell_of(entry.box.top); row <= cell_of(entry.box.bottom); ++row)
        for (std::int64_t column = cell_of(entry.box.left); column <= cell_of(entry.box.right); ++column)
            take_out(bucket(column, row));
}

// Brings the grid up to the room: built on first use, then new instances filed, then moved ones filed again.
void CollisionGrid::catch_up(const LiveRoom& room)
{
    if (m_room != &room || room.instance_count() < static_cast<int>(m_entries.size()))
        rebuild(room);
    for (int i = static_cast<int>(m_entries.size()); i < room.instance_count(); ++i)
        add(*room.instance(i));
    for (int slot : m_dirty) {
        Entry& entry = m_entries[slot];
        entry.dirty = false;
        PixelBox now = box_of(*entry.instance);
        if (now.left == entry.box.left && now.top == entry.box.top && now.right == entry.box.right
            && now.bottom == entry.box.bottom)
            continue;
        unfile(slot);
        file(slot);
    }
    m_dirty.clear();
}

void CollisionGrid::query(const LiveRoom& room, const PixelBox& box, std::vector<int>& slots)
{
    catch_up(room);
    slots.clear();
    if (++m_query == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_query = 1;
    }
    auto meet = [&](int slot) {
        if (m_seen[slot] == m_query)
            return;
        m_seen[slot] = m_query;
        if (overlap(m_entries[slot].box, box))
            slots.push_back(slot);
    };
    // A query over many cells walks the entries instead.
    if (cells_spanned(box) > std::int64_t(m_entries.size())) {
        for (int slot = 0; slot < static_cast<int>(m_entries.size()); ++slot)
            meet(slot);
        return;
    }
    for (std::int64_t row = cell_of(box.top); row <= cell_of(box.bottom); ++row)
        for (std::int64_t column = cell_of(box.left); column <= cell_of(box.right); ++column)
            for (int slot : bucket(column, row))
                meet(slot);
    for (int slot : m_large)
        meet(slot);
    std::sort(slots.begin(), slots.end());
}

}  // namespace quillon
