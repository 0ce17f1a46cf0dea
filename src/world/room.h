// CRoom: a level as the game file describes it, with its layers, views, placed instances, tiles and code.
#pragma once

#include "support/stream.h"

#include <array>
#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t ROOM_LIST_VERSION = 420;
constexpr std::int32_t ROOM_VERSION = 500;
constexpr int ROOM_LAYER_COUNT = 8;
constexpr int ROOM_VIEW_COUNT = 8;
constexpr int ROOM_EDITOR_FIELDS = 20;  // a bool, two ints, ten bools and seven ints the editor keeps

struct BackgroundLayer {
    bool visible = false;              // the layer is drawn
    bool foreground = false;           // drawn over the instances
    std::int32_t background = -1;      // the background resource shown
    std::int32_t x = 0;                // offset of the image in the room
    std::int32_t y = 0;
    bool tile_horizontally = true;     // the image repeats across the room
    bool tile_vertically = true;
    std::int32_t horizontal_speed = 0; // scrolling per step
    std::int32_t vertical_speed = 0;
};

struct RoomView {
    bool visible = false;          // the view is drawn
    std::int32_t x = 0;            // the part of the room seen
    std::int32_t y = 0;
    std::int32_t width = 640;
    std::int32_t height = 480;
    std::int32_t port_x = 0;       // where it shows on the screen
    std::int32_t port_y = 0;
    std::int32_t horizontal_border = 32;  // distance kept from the followed instance to the view's edge
    std::int32_t vertical_border = 32;
    std::int32_t horizontal_speed = -1;   // how fast the view moves to follow; -1 at once
    std::int32_t vertical_speed = -1;
    std::int32_t object_followed = -1;    // the object whose instance the view follows
};

struct PlacedInstance {
    std::int32_t x = 0;          // position in the room
    std::int32_t y = 0;
    std::int32_t object = 0;     // the object it is an instance of
    std::int32_t id = 0;         // the instance id
    std::string creation_code;   // run when the instance is created with the room
    bool editor_flag = false;    // kept for the editor, not used
};

struct PlacedTile {
    std::int32_t x = 0;           // position in the room
    std::int32_t y = 0;
    std::int32_t background = 0;  // the background the tile is cut from
    std::int32_t left = 0;        // the part of the background used
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 0;       // drawing order among instances and tiles
    std::int32_t id = 0;          // the tile id
};

class CRoom {
public:
    std::string caption;                  // the window caption while the room runs
    std::int32_t width = 640;             // in pixels
    std::int32_t height = 480;
    std::array<std::int32_t, 2> editor_values {};  // kept and saved, not used
    std::int32_t speed = 20;              // steps per second
    bool persistent = false;              // the room keeps its state when left
    std::int32_t background_color = 12632256;  // light grey
    bool draw_background_color = true;    // the room is cleared with the colour first
    std::string creation_code;            // run when the room starts
    std::vector<BackgroundLayer> layers = std::vector<BackgroundLayer>(ROOM_LAYER_COUNT);  // as stored (eight)
    bool views_enabled = false;           // the room is drawn through its views
    std::vector<RoomView> views = std::vector<RoomView>(ROOM_VIEW_COUNT);  // as stored (eight)
    std::vector<PlacedInstance> instances;  // in stored order
    std::vector<PlacedTile> tiles;          // in stored order
    std::array<std::int32_t, ROOM_EDITOR_FIELDS> editor_settings {};  // kept for the editor, not used

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
