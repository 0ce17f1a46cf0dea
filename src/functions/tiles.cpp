// The tile functions of the graphics family: reading and changing the tiles of the room being played by id,
// adding them, and finding and deleting them at a point.
#include "functions/world_call.h"
#include "functions/world_families.h"

namespace quillon {

namespace {

// The index of the tile whose id is argument 0 in the room being played; when there is none, reports
// "Tile does not exist." and gives -1.
int tile_index(const FunctionCall& call)
{
    LiveRoom* room = playing_room();
    int index = room ? room->find_tile(integer_argument(call, 0)) : -1;
    if (index < 0)
        report_function_error("Tile does not exist.");
    return index;
}

// The tile of argument 0, or none after the report.
Tile* tile_argument(const FunctionCall& call)
{
    int index = tile_index(call);
    return index < 0 ? nullptr : &playing_room()->tiles[index];
}

// True when the background exists; else reports "Background does not exist.".
bool check_background(std::int32_t background)
{
    World* world = World::installed();
    if (world && world->backgrounds().exists(background))
        return true;
    report_function_error("Background does not exist.");
    return false;
}

// A field of the tile as a real; 0 for a missing tile.
template<auto Field> void tile_get(FunctionCall& call)
{
    if (const Tile* tile = tile_argument(call))
        call.result.set_real(static_cast<double>(tile->*Field));
}

void tile_get_background(FunctionCall& call)
{
    const Tile* tile = tile_argument(call);
    call.result.set_real(tile ? tile->background : -1);
}

void tile_set_visible(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call))
        tile->visible = is_true(real_argument(call, 1));
}

void tile_set_background(FunctionCall& call)
{
    Tile* tile = tile_argument(call);
    std::int32_t background = integer_argument(call, 1);
    if (tile && check_background(background))
        tile->background = background;
}

// The part of the background used, rounded to whole pixels.
void tile_set_region(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call)) {
        tile->left = integer_argument(call, 1);
        tile->top = integer_argument(call, 2);
        tile->width = integer_argument(call, 3);
        tile->height = integer_argument(call, 4);
    }
}

void tile_set_position(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call)) {
        tile->x = real_argument(call, 1);
        tile->y = real_argument(call, 2);
    }
}

// The list is sorted again by depth when the room is next drawn.
void tile_set_depth(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call))
        tile->depth = real_argument(call, 1);
}

void tile_set_scale(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call)) {
        tile->scale_x = real_argument(call, 1);
        tile->scale_y = real_argument(call, 2);
    }
}

void tile_set_alpha(FunctionCall& call)
{
    if (Tile* tile = tile_argument(call))
        tile->alpha = real_argument(call, 1);
}

// tile_add(back, left, top, width, height, x, y, depth): appends a visible tile at scale 1 and alpha 1 with the
// next tile id of the game, and gives that id; -1 for a missing background.
void tile_add(FunctionCall& call)
{
    call.result.set_real(-1);
    LiveRoom* room = playing_room();
    std::int32_t background = integer_argument(call, 0);
    if (!room || !check_background(background))
        return;
    Tile tile;
    tile.background = background;
    tile.left = integer_argument(call, 1);
    tile.top = integer_argument(call, 2);
    tile.width = integer_argument(call, 3);
    tile.height = integer_argument(call, 4);
    tile.x = real_argument(call, 5);
    tile.y = real_argument(call, 6);
    tile.depth = real_argument(call, 7);
    tile.id = World::installed()->next_tile_id();
    room->add_tile(tile);
    call.result.set_real(tile.id);
}

// tile_find(x, y, foreground): the id of the first tile in the list under the rounded point, in the foreground
// (negative depth) or not; -1 for none.
void tile_find(FunctionCall& call)
{
    LiveRoom* room = playing_room();
    int index = room
        ? room->find_tile_at(integer_argument(call, 0), integer_argument(call, 1), is_true(real_argument(call, 2)))
        : -1;
    call.result.set_real(index < 0 ? -1 : room->tiles[index].id);
}

void tile_exists(FunctionCall& call)
{
    LiveRoom* room = playing_room();
    set_bool_result(call, room && room->find_tile(integer_argument(call, 0)) >= 0);
}

void tile_delete(FunctionCall& call)
{
    int index = tile_index(call);
    if (index >= 0)
        playing_room()->delete_tile(index);
}

// tile_delete_at(x, y, foreground): every tile whose rectangle holds the point, edges included.
void tile_delete_at(FunctionCall& call)
{
    if (LiveRoom* room = playing_room())
        room->delete_tiles_at(real_argument(call, 0), real_argument(call, 1), is_true(real_argument(call, 2)));
}

constexpr FunctionEntry TILE_FUNCTIONS[] = {
    { "tile_get_x", 1, tile_get<&Tile::x> },
    { "tile_get_y", 1, tile_get<&Tile::y> },
    { "tile_get_left", 1, tile_get<&Tile::left> },
    { "tile_get_top", 1, tile_get<&Tile::top> },
    { "tile_get_width", 1, tile_get<&Tile::width> },
    { "tile_get_height", 1, tile_get<&Tile::height> },
    { "tile_get_depth", 1, tile_get<&Tile::depth> },
    { "tile_get_visible", 1, tile_get<&Tile::visible> },
    { "tile_get_xscale", 1, tile_get<&Tile::scale_x> },
    { "tile_get_yscale", 1, tile_get<&Tile::scale_y> },
    { "tile_get_alpha", 1, tile_get<&Tile::alpha> },
    { "tile_get_background", 1, tile_get_background },
    { "tile_set_visible", 2, tile_set_visible },
    { "tile_set_background", 2, tile_set_background },
    { "tile_set_region", 5, tile_set_region },
    { "tile_set_position", 3, tile_set_position },
    { "tile_set_depth", 2, tile_set_depth },
    { "tile_set_scale", 3, tile_set_scale },
    { "tile_set_alpha", 2, tile_set_alpha },
    { "tile_add", 8, tile_add },
    { "tile_find", 3, tile_find },
    { "tile_exists", 1, tile_exists },
    { "tile_delete", 1, tile_delete },
    { "tile_delete_at", 3, tile_delete_at },
};

} // namespace

std::span<const FunctionEntry> tile_functions()
{
    return TILE_FUNCTIONS;
}

} // namespace quillon
