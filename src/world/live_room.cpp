// LiveRoom: a room while the game plays in it, with its instance array, per-object lists and tiles.
#include "world/live_room.h"

#include <algorithm>

namespace quillon {

namespace {

// Stable insertion sort by depth, largest first: rooms are nearly sorted from one step to the next.
template<typename T, typename Depth>
void insertion_sort(std::vector<T>& items, Depth depth)
{
    for (std::size_t i = 1; i < items.size(); ++i) {
        T item = std::move(items[i]);
        std::size_t j = i;
        for (; j > 0 && depth(items[j - 1]) < depth(item); --j)
            items[j] = std::move(items[j - 1]);
        items[j] = std::move(item);
    }
}

}  // namespace

void LiveRoom::copy_template(const CRoom& room)
{
    caption = room.caption;
    speed = room.speed;
    width = room.width;
    height = room.height;
    persistent = room.persistent;
    background_color = room.background_color;
    draw_background_color = room.draw_background_color;
    creation_code = room.creation_code;
    views_enabled = room.views_enabled;
    for (std::size_t i = 0; i < layers.size() && i < room.layers.size(); ++i) {
        const BackgroundLayer& stored = room.layers[i];
        layers[i] = LiveLayer {stored.visible,          stored.foreground,       stored.background,
                               double(stored.x),        double(stored.y),        stored.tile_horizontally,
                               stored.tile_vertically,  double(stored.horizontal_speed),
                               double(stored.vertical_speed), 1};
    }
    for (std::size_t i = 0; i < views.size() && i < room.views.size(); ++i)
        views[i] = room.views[i];
    tiles.clear();
    for (const PlacedTile& stored : room.tiles)
        tiles.push_back(Tile {double(stored.x), double(stored.y), stored.background, stored.left, stored.top,
                              stored.width, stored.height, double(stored.depth), stored.id});
}

int LiveRoom::object_count(std::int32_t object) const
{
    return object >= 0 && object < static_cast<std::int32_t>(m_of_object.size())
               ? static_cast<int>(m_of_object[object].size())
               : 0;
}

int LiveRoom::descendants_count(std::int32_t object) const
{
    return object >= 0 && object < static_cast<std::int32_t>(m_with_descendants.size())
               ? static_cast<int>(m_with_descendants[object].size())
               : 0;
}

CInstance* LiveRoom::find_instance(std::int32_t id) const
{
    auto found = m_by_id.find(id);
    return found == m_by_id.end() ? nullptr : found->second;
}

std::uint64_t LiveRoom::new_layout_stamp()
{
    static std::uint64_t s_last_stamp = 0;
    return ++s_last_stamp;
}

CInstance& LiveRoom::append(std::unique_ptr<CInstance> instance)
{
    CInstance& added = *m_instances.emplace_back(std::move(instance));
    enter_in_lists(added);
    m_by_id.try_emplace(added.m_id, &added);
    return added;
}

void LiveRoom::enter_in_lists(CInstance& instance)
{
    const std::vector<std::int32_t>& chain = m_tree.chain(instance.object_index);
    if (chain.empty())
        return;
    std::size_t needed = static_cast<std::size_t>(instance.object_index) + 1;
    for (std::int32_t ancestor : chain)
        needed = std::max(needed, static_cast<std::size_t>(ancestor) + 1);
    if (m_of_object.size() < needed) {
        m_of_object.resize(needed);
        m_with_descendants.resize(needed);
    }
    m_of_object[instance.object_index].push_back(&instance);
    for (std::int32_t ancestor : chain)
        m_with_descendants[ancestor].push_back(&instance);
}

void LiveRoom::remove_marked()
{
    auto marked = [](const std::unique_ptr<CInstance>& instance) { return instance->m_destroyed; };
    if (std::none_of(m_instances.begin(), m_instances.end(), marked))
        return;
    // 1. Ids of removed instances leave the index.
    for (const auto& instance : m_instances)
        if (instance->m_destroyed)
            if (auto found = m_by_id.find(instance->m_id); found != m_by_id.end() && found->second == instance.get())
                m_by_id.erase(found);
    // 2. The marked instances are freed; the others keep their order, and the layout stamp changes.
    std::erase_if(m_instances, marked);
    m_layout_stamp = new_layout_stamp();
    // 3. An id whose first instance went points to the next one with it (a changed or carried instance).
    for (const auto& instance : m_instances)
        if (!m_by_id.contains(instance->m_id))
            m_by_id.emplace(instance->m_id, instance.get());
    // 4. The lists keep their capacity, so rebuilding them allocates nothing in a steady game.
    for (auto& list : m_of_object)
        list.clear();
    for (auto& list : m_with_descendants)
        list.clear();
    for (const auto& instance : m_instances)
        enter_in_lists(*instance);
}

// A stable merge sort: the order starts from creation order every frame, so with mixed depths an insertion
// sort would cost the square of the instance count each frame.
void LiveRoom::depth_order(std::vector<CInstance*>& order, std::vector<CInstance*>& scratch) const
{
    order.clear();
    for (const auto& instance : m_instances)
        order.push_back(instance.get());
    auto deeper = [](const CInstance* a, const CInstance* b) { return a->depth > b->depth; };
    std::size_t count = order.size();
    if (std::is_sorted(order.begin(), order.end(), deeper))
        return;
    scratch.resize(count);
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            std::size_t middle = std::min(left + width, count);
            std::size_t right = std::min(left + 2 * width, count);
            // On equal depths the left run goes first, which keeps the sort stable.
            std::merge(order.begin() + left, order.begin() + middle, order.begin() + middle, order.begin() + right,
                scratch.begin() + left, deeper);
        }
        order.swap(scratch);
    }
}

void LiveRoom::sort_tiles_by_depth()
{
    insertion_sort(tiles, [](const Tile& tile) { return tile.depth; });
}

void LiveRoom::scroll_backgrounds()
{
    for (LiveLayer& layer : layers) {
        layer.x += layer.horizontal_speed;
        layer.y += layer.vertical_speed;
    }
}

int LiveRoom::add_tile(const Tile& tile)
{
    tiles.push_back(tile);
    last_found_tile = static_cast<int>(tiles.size()) - 1;
    return last_found_tile;
}

int LiveRoom::find_tile(std::int32_t id)
{
    if (last_found_tile >= 0 && last_found_tile < static_cast<int>(tiles.size()) && tiles[last_found_tile].id == id)
        return last_found_tile;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].id == id) {
            last_found_tile = static_cast<int>(i);
            return last_found_tile;
        }
    }
    return -1;
}

void LiveRoom::delete_tile(int index)
{
    if (index >= 0 && index < static_cast<int>(tiles.size()))
        tiles.erase(tiles.begin() + index);
}

void LiveRoom::delete_tiles_at(double x, double y, bool foreground)
{
    std::erase_if(tiles, [&](const Tile& tile) {
        bool layer_matches = foreground ? tile.depth <= 0 : tile.depth >= 0;
        return layer_matches && x >= tile.x && x <= tile.x + tile.width && y >= tile.y && y <= tile.y + tile.height;
    });
}

int LiveRoom::find_tile_at(double x, double y, bool foreground)
{
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Tile& tile = tiles[i];
        bool layer_matches = foreground ? tile.depth < 0 : tile.depth >= 0;
        if (layer_matches && tile.x <= x && x < tile.x + tile.width && tile.y <= y && y < tile.y + tile.height) {
            last_found_tile = static_cast<int>(i);
            return last_found_tile;
        }
    }
    return -1;
}

}  // namespace quillon
