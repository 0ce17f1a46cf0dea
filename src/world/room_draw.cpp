// Room drawing: what a frame of the room shows and in which order, and the caption; graphics draws it.
#include "world/room_draw.h"

#include "world/views.h"

#include <charconv>

namespace quillon {

namespace {

void append_number(std::string& text, std::int64_t number)
{
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

// " " + label + number, as each counter appears after the room caption.
void append_counter(std::string& text, const std::string& label, std::int64_t number)
{
    text += ' ';
    text += label;
    append_number(text, number);
}

}  // namespace

RoomDrawState& room_draw_state()
{
    static RoomDrawState s_state;
    return s_state;
}

void build_caption(const std::string& room_caption, const GameCounters& counters, const RoomDrawState& state,
    std::string& text)
{
    text = room_caption;
    // The score shows once it is above 0, or always once the game has asked for it.
    if (state.show_score && (state.show_score_written || counters.score > 0))
        append_counter(text, state.caption_score, counters.score);
    if (state.show_lives)
        append_counter(text, state.caption_lives, counters.lives);
    if (state.show_health)
        append_counter(text, state.caption_health, round_to_int64(counters.health));
}

void RoomDrawer::draw()
{
    LiveRoom* room = m_world.current_room();
    // A draw event that redraws the screen would walk the lists being walked; the frame in progress is it.
    if (!room || m_drawing)
        return;
    m_drawing = true;
    RoomDrawState& state = room_draw_state();
    Screen& screen = m_graphics.screen();
    RegionTable& regions = screen.regions();
    // 1. The views follow their instances and take their regions.
    follow_views(*room);
    set_view_regions(*room, regions);
    // 2. Instances and tiles by depth, largest first, equal depths in their order.
    room->depth_order(m_order, m_sort_scratch);
    room->sort_tiles_by_depth();
    // 3. The background colour over the whole buffer.
    regions.select(-1);
    screen.clear(room->draw_background_color, static_cast<Color>(room->background_color));
    // 4. Each visible view through its region, or the whole room.
    if (room->views_enabled) {
        for (int i = 0; i < ROOM_VIEW_COUNT; ++i) {
            state.view_current = i;
            const RoomView& view = room->views[i];
            if (!view.visible)
                continue;
            regions.select(i);
            draw_area(*room, {view.x, view.y, view.x + view.width, view.y + view.height});
            regions.select(-1);
        }
    } else {
        state.view_current = 0;
        draw_area(*room, {0, 0, room->width, room->height});
    }
    // 5. The caption with the counters.
    build_caption(room->caption, game_counters(), state, m_caption);
    screen.set_caption(m_caption);
    // 6. Outside drawing the current view is 0.
    state.view_current = 0;
    m_drawing = false;
}

void RoomDrawer::draw_area(LiveRoom& room, const SurfaceRect& area)
{
    // 1. Backgrounds.
    draw_layers(room, area, false);
    // 2. Instances and tiles merged by depth; at equal depth the instance first, so the tile covers it. Draw
    // events may add or delete tiles, so the tile list is read afresh at every turn.
    std::size_t next_instance = 0;
    std::size_t next_tile = 0;
    for (;;) {
        while (next_instance < m_order.size()
            && (m_order[next_instance]->m_destroyed || !m_order[next_instance]->visible))
            ++next_instance;
        while (next_tile < room.tiles.size() && !room.tiles[next_tile].visible)
            ++next_tile;
        bool instance_left = next_instance < m_order.size();
        bool tile_left = next_tile < room.tiles.size();
        if (!instance_left && !tile_left)
            break;
        if (instance_left && (!tile_left || m_order[next_instance]->depth >= room.tiles[next_tile].depth))
            draw_instance(*m_order[next_instance++]);
        else
            draw_tile(room.tiles[next_tile++], area);
    }
    // 3. Foregrounds.
    draw_layers(room, area, true);
}

void RoomDrawer::draw_layers(const LiveRoom& room, const SurfaceRect& area, bool foregrounds)
{
    for (const LiveLayer& layer : room.layers) {
        if (!layer.visible || layer.foreground != foregrounds)
            continue;
        m_graphics.sheets().draw_background_tiled(layer.background, round_to_int32(layer.x),
            round_to_int32(layer.y), area, layer.tile_vertically, layer.tile_horizontally, 1, 1, layer.alpha);
    }
}

// The object's draw event (own or inherited) instead of the sprite; whatever it draws lands in the current
// region.
void RoomDrawer::draw_instance(CInstance& instance)
{
    if (m_world.tree().find_event(instance.object_index, EVENT_DRAW, 0)) {
        m_world.perform_event_for(instance, &instance, EVENT_DRAW, 0);
        return;
    }
    double image = instance.image_single >= 0 ? instance.image_single : instance.image_index;
    m_graphics.sheets().draw_sprite(instance.sprite_index(), round_to_int32(image), round_to_int32(instance.x()),
        round_to_int32(instance.y()), instance.image_scale(), instance.image_scale(), instance.image_alpha);
}

// Tiles wholly beside the area are left out; instances are not tested, clipping does that.
void RoomDrawer::draw_tile(const Tile& tile, const SurfaceRect& area)
{
    if (area.right < tile.x || area.bottom < tile.y || area.left > tile.x + tile.width * tile.scale_x
        || area.top > tile.y + tile.height * tile.scale_y)
        return;
    SurfaceRect part {tile.left, tile.top, tile.left + tile.width, tile.top + tile.height};
    m_graphics.sheets().draw_background_part(tile.background, part, round_to_int32(tile.x), round_to_int32(tile.y),
        tile.scale_x, tile.scale_y, tile.alpha);
}

}  // namespace quillon
