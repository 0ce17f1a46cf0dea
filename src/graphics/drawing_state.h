// The pen and brush that shapes are drawn with, and the vertices of the polygon being built.
#pragma once

#include <array>
#include <cstdint>

namespace quillon {

// How a brush fills: nothing, all of it, or one of the hatches (lines of the brush colour over what was there).
// The numbers are the ones games use.
enum class BrushStyle : std::int8_t {
    hollow = 0,
    solid = 1,
    backward_diagonal = 2,   // "/" lines
    forward_diagonal = 3,    // "\" lines
    cross = 4,               // horizontal and vertical lines
    diagonal_cross = 5,      // both diagonals
    horizontal = 6,
    vertical = 7,
};
inline constexpr int BRUSH_STYLE_COUNT = 8;

struct Pen {
    std::int32_t color = 0;   // colour of lines and outlines (red in the low byte); the top byte is ignored
    std::int32_t width = 1;   // pixels; drawn as 1 when below 1
};

struct Brush {
    std::int32_t color = 0xFFFFFF;       // colour of fills and pixels (red in the low byte)
    BrushStyle style = BrushStyle::solid;
};

struct PolygonVertex {
    std::int32_t x = 0;   // room position
    std::int32_t y = 0;
};

// The polygon that `draw_polygon_vertex` builds up: a fixed store, so that building one allocates nothing.
struct PolygonVertices {
    static constexpr int CAPACITY = 1024;

    std::array<PolygonVertex, CAPACITY> vertices {};   // the first `count` are in use
    int count = 0;                                     // vertices added since the list was last emptied
};

// The state lives as long as the process (the screen's start-up sets it back to its first values); it keeps
// its values across rooms.
struct DrawingState {
    Pen pen;                     // `pen_color`, `pen_size`
    Brush brush;                 // `brush_color`, `brush_style`
    PolygonVertices polygon;     // the polygon being built
};
DrawingState& drawing_state();

}  // namespace quillon
