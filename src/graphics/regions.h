// The region table: the parts of the screen buffer that show parts of the room, and the drawing targets.
#pragma once

#include "graphics/surface.h"

#include <array>

namespace quillon {

// One entry: a port on the screen buffer showing the room from a view position.
struct Region {
    bool enabled = false;   // whether the entry is in use
    SurfaceRect port;       // the rectangle on the screen buffer
    int view_x = 0;         // the room x shown at the port's left edge
    int view_y = 0;         // the room y shown at the port's top edge
};

// Where drawing at room coordinates lands: a drawing at (x, y) goes to (x - offset x, y - offset y).
struct DrawingTarget {
    DDSurface* surface = nullptr;   // none before the screen is set up
    int offset_x = 0;               // room x of the surface's column 0
    int offset_y = 0;               // room y of the surface's row 0
};

// Entries -1 to 16: -1 is the whole screen buffer, 0 to 7 serve the room's views.
class RegionTable {
public:
    static constexpr int FIRST = -1;
    static constexpr int LAST = 16;

    // Disables entries 0 to 16, makes -1 the whole screen buffer seen from (0, 0) and selects it.
    void reset(DDSurface& screen_buffer);
    // Lets go of the screen buffer before it goes; drawing then has no target.
    void detach();

    void set(int index, const SurfaceRect& port, int view_x, int view_y);
    void disable(int index);
    // Points both drawing targets at the screen buffer with the entry's offset and clips the buffer to the
    // entry's port.
    void select(int index);

    int current() const { return m_current; }
    const Region& region(int index) const { return m_regions[index - FIRST]; }
    const DrawingTarget& image_target() const { return m_image_target; }
    const DrawingTarget& gdi_target() const { return m_gdi_target; }

    // The room position under a point of the screen buffer: through the highest enabled entry whose port holds
    // it, edges included, else through entry -1.
    void room_position(int x, int y, int& room_x, int& room_y) const;

private:
    static bool valid(int index) { return index >= FIRST && index <= LAST; }

    std::array<Region, LAST - FIRST + 1> m_regions {};  // entry i at i - FIRST
    int m_current = FIRST;                              // the selected entry
    DDSurface* m_screen_buffer = nullptr;               // what the targets point at
    DrawingTarget m_image_target;                       // for sprites and backgrounds
    DrawingTarget m_gdi_target;                         // for text and shapes
};

}  // namespace quillon
