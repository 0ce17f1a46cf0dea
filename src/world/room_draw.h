// Room drawing: what a frame of the room shows and in which order, and the caption; graphics draws it.
#pragma once

#include "code/builtin_variables.h"
#include "graphics/graphics.h"
#include "world/world.h"

#include <string>
#include <vector>

namespace quillon {

// What the caption shows besides the room caption, and the view being drawn. Scripts see these as built-in
// variables; they live for the process, as the game counters do.
struct RoomDrawState {
    bool show_score = true;                // `show_score`
    bool show_lives = false;               // `show_lives`
    bool show_health = false;              // `show_health`
    bool show_score_written = false;       // the game set `show_score`, so a score of 0 shows too
    std::string caption_score = "Score: ";   // `caption_score`
    std::string caption_lives = "Lives: ";   // `caption_lives`
    std::string caption_health = "Health: "; // `caption_health`
    std::int32_t view_current = 0;         // `view_current`: the view being drawn, 0 outside drawing
};
RoomDrawState& room_draw_state();

// The room caption followed by the score, lives and health the state asks for, into text (its capacity is
// kept, so building the caption every step allocates nothing once it has grown).
void build_caption(const std::string& room_caption, const GameCounters& counters, const RoomDrawState& state,
    std::string& text);

// Draws the world's current room into the screen buffer once per step. Keeps the buffers it sorts into, so that
// a step allocates nothing once they have grown.
class RoomDrawer {
public:
    RoomDrawer(World& world, Graphics& graphics) : m_world(world), m_graphics(graphics) {}

    // The views follow their instances, then the background colour, for each view (or the whole room) the
    // backgrounds, instances and tiles by depth and the foregrounds, then the window caption.
    void draw();

private:
    void draw_area(LiveRoom& room, const SurfaceRect& area);
    void draw_layers(const LiveRoom& room, const SurfaceRect& area, bool foregrounds);
    void draw_instance(CInstance& instance);
    void draw_tile(const Tile& tile, const SurfaceRect& area);

    World& m_world;                      // the game whose room is drawn
    Graphics& m_graphics;                // the screen and image sheets drawn with
    std::vector<CInstance*> m_order;     // the room's instances, largest depth first
    std::vector<CInstance*> m_sort_scratch;  // working space of the sort
    std::string m_caption;               // the caption being built
    bool m_drawing = false;              // a frame is being drawn (draw events run inside it)
};

}  // namespace quillon
