// LiveRoom: a room while the game plays in it, with its instance array, per-object lists and tiles.
#pragma once

#include "world/instance.h"
#include "world/object_tree.h"
#include "world/room.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillon {

// A background layer of a live room; positions and speeds become reals as the layer scrolls.
struct LiveLayer {
    bool visible = false;               // the layer is drawn
    bool foreground = false;            // drawn over the instances
    std::int32_t background = -1;       // the background resource shown
    double x = 0;                       // offset of the image in the room
    double y = 0;
    bool tile_horizontally = true;      // the image repeats across the room
    bool tile_vertically = true;
    double horizontal_speed = 0;        // scrolling per step
    double vertical_speed = 0;
    double alpha = 1;                   // opacity
};

struct Tile {
    double x = 0;                       // position in the room
    double y = 0;
    std::int32_t background = -1;       // the background the tile is cut from
    std::int32_t left = 0;              // the part of the background used
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    double depth = 0;                   // drawing order among instances and tiles
    std::int32_t id = 0;                // the tile id
    double scale_x = 1;                 // size factors
    double scale_y = 1;
    double alpha = 1;                   // opacity
    bool visible = true;                // drawn
};

// Instances live behind stable pointers, so that code running for one keeps it while others are added.
// Marked instances stay in the array until remove_marked; the per-object lists only grow in between.
class LiveRoom {
public:
    explicit LiveRoom(const ObjectTree& tree) : m_tree(tree) {}
    LiveRoom(const LiveRoom&) = delete;
    LiveRoom& operator=(const LiveRoom&) = delete;

    // Everything of the template but the editor values; instances are made by the caller (they need ids).
    void copy_template(const CRoom& room);

    int instance_count() const { return static_cast<int>(m_instances.size()); }
    CInstance* instance(int index) const { return m_instances[index].get(); }
    // Own instances of an object, and instances of it or its descendants, in array order.
    int object_count(std::int32_t object) const;
    CInstance* object_instance(std::int32_t object, int index) const { return m_of_object[object][index]; }
    int descendants_count(std::int32_t object) const;
    CInstance* descendant_instance(std::int32_t object, int index) const { return m_with_descendants[object][index]; }

    // The first instance in the array with this id, marked or not; none when absent.
    CInstance* find_instance(std::int32_t id) const;
    // A stamp that no other room ever had and that changes whenever instances leave the array, so that
    // whoever keeps array indices can tell when they no longer hold.
    std::uint64_t layout_stamp() const { return m_layout_stamp; }

    // Appends the instance and enters it in the lists of its object and of each ancestor.
    CInstance& append(std::unique_ptr<CInstance> instance);
    // Frees every marked instance, keeps the others in order and rebuilds the lists.
    void remove_marked();
    // The instances in drawing order, largest depth first, equal depths in array order; the array itself
    // keeps creation order. The caller keeps both vectors (scratch is working space), so that drawing
    // allocates nothing once they have grown.
    void depth_order(std::vector<CInstance*>& order, std::vector<CInstance*>& scratch) const;
    // Tiles in the same order, in place.
    void sort_tiles_by_depth();
    void scroll_backgrounds();

    // The record of a saved game, instances and tiles included. Loading replaces everything; false for a
    // wrong version.
    void save(CStream& stream) const;
    bool load(CStream& stream, const ResourceList<CObject>& objects, const ResourceList<CSprite>* sprites);

    // Tiles. The caller gives the tile its id from the game's tile counter.
    int add_tile(const Tile& tile);
    int find_tile(std::int32_t id);
    void delete_tile(int index);
    void delete_tiles_at(double x, double y, bool foreground);
    int find_tile_at(double x, double y, bool foreground);

    std::string caption;                   // the window caption
    std::int32_t speed = 20;               // steps per second
    std::int32_t width = 640;              // in pixels
    std::int32_t height = 480;
    std::array<std::int32_t, 2> editor_values {};  // saved, not used
    bool persistent = false;               // kept when left
    std::int32_t background_color = 12632256;  // light grey
    bool draw_background_color = true;     // cleared with the colour first
    std::array<LiveLayer, ROOM_LAYER_COUNT> layers;  // the eight background layers
    bool views_enabled = false;            // drawn through the views
    std::array<RoomView, ROOM_VIEW_COUNT> views;  // the eight views
    std::string creation_code;             // run when the room first starts
    std::vector<Tile> tiles;               // in order of adding
    int last_found_tile = -1;              // tried first by find_tile

private:
    static std::uint64_t new_layout_stamp();
    void enter_in_lists(CInstance& instance);

    const ObjectTree& m_tree;                                  // for the ancestors of each object
    std::vector<std::unique_ptr<CInstance>> m_instances;       // in creation order, marked ones included
    std::vector<std::vector<CInstance*>> m_of_object;          // per object index: its own instances
    std::vector<std::vector<CInstance*>> m_with_descendants;   // per object index: with its descendants'
    std::unordered_map<std::int32_t, CInstance*> m_by_id;      // id -> first instance in the array with it
    std::uint64_t m_layout_stamp = new_layout_stamp();         // see layout_stamp()
};

}  // namespace quillon
