// The region table: the parts of the screen buffer that show parts of the room, and the drawing targets.
#include "graphics/regions.h"

namespace quillon {

void RegionTable::reset(DDSurface& screen_buffer)
{
    m_screen_buffer = &screen_buffer;
    for (Region& region : m_regions)
        region.enabled = false;
    set(-1, {0, 0, screen_buffer.width(), screen_buffer.height()}, 0, 0);
    select(-1);
}

void RegionTable::detach()
{
    m_screen_buffer = nullptr;
    m_image_target = {};
    m_gdi_target = {};
}

void RegionTable::set(int index, const SurfaceRect& port, int view_x, int view_y)
{
    if (valid(index))
        m_regions[index - FIRST] = {true, port, view_x, view_y};
}

void RegionTable::disable(int index)
{
    if (valid(index))
        m_regions[index - FIRST].enabled = false;
}

void RegionTable::select(int index)
{
    if (!valid(index) || !m_screen_buffer)
        return;
    m_current = index;
    const Region& entry = region(index);
    DrawingTarget target {m_screen_buffer, entry.view_x - entry.port.left, entry.view_y - entry.port.top};
    m_image_target = target;
    m_gdi_target = target;
    m_screen_buffer->set_clip(entry.port);
}

void RegionTable::room_position(int x, int y, int& room_x, int& room_y) const
{
    const Region* through = &region(-1);
    for (int index = LAST; index >= 0; --index) {
        const Region& entry = region(index);
        if (entry.enabled && x >= entry.port.left && x <= entry.port.right && y >= entry.port.top
            && y <= entry.port.bottom) {
            through = &entry;
            break;
        }
    }
    room_x = x + through->view_x - through->port.left;
    room_y = y + through->view_y - through->port.top;
}

}  // namespace quillon
