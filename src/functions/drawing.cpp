// The drawing functions of the graphics family but text: colours, sprite and background images, pixels, flood
// fills and shapes in the pen and brush, polygons built vertex by vertex; and the pen and brush variables.
#include "functions/drawing.h"

#include "code/builtin_variables.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/graphics.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillon {

namespace {

// The graphics of the game being played; without them the call reports itself as not available.
Graphics* graphics_for(const FunctionCall& call)
{
    Graphics* graphics = play_services().graphics;
    if (!graphics)
        report_not_available(call);
    return graphics;
}

void make_color(FunctionCall& call)
{
    double red = integer_argument(call, 0);
    double green = integer_argument(call, 1);
    double blue = integer_argument(call, 2);
    call.result.set_real(red + green * 256 + blue * 65536);
}

// The sprite of argument 0 when it exists, else the error and none.
Graphics* sprite_graphics(const FunctionCall& call)
{
    std::int32_t sprite = integer_argument(call, 0);
    World* world = World::installed();
    if (world && !world->sprites().exists(sprite)) {
        report_function_error("Trying to draw non-existing sprite number: " + std::to_string(sprite));
        return nullptr;
    }
    return graphics_for(call);
}

Graphics* background_graphics(const FunctionCall& call)
{
    std::int32_t background = integer_argument(call, 0);
    World* world = World::installed();
    if (world && !world->backgrounds().exists(background)) {
        report_function_error("Trying to draw non-existing background number: " + std::to_string(background));
        return nullptr;
    }
    return graphics_for(call);
}

// Argument 1 as an image of the sprite: a negative one is the image the calling instance shows.
int image_argument(const FunctionCall& call)
{
    double image = real_argument(call, 1);
    if (image >= 0)
        return round_to_int32(image);
    const CInstance* self = self_instance(call);
    if (!self)
        return 0;
    return round_to_int32(self->image_single >= 0 ? self->image_single : self->image_index);
}

// The whole room, which tiled drawings cover.
SurfaceRect room_area()
{
    const LiveRoom* room = playing_room();
    return room ? SurfaceRect {0, 0, room->width, room->height} : SurfaceRect {};
}

void draw_sprite(FunctionCall& call)
{
    if (Graphics* graphics = sprite_graphics(call))
        graphics->sheets().draw_sprite(integer_argument(call, 0), image_argument(call), integer_argument(call, 2),
            integer_argument(call, 3));
}

void draw_sprite_scaled(FunctionCall& call)
{
    double scale = real_argument(call, 4);
    if (Graphics* graphics = sprite_graphics(call))
        graphics->sheets().draw_sprite(integer_argument(call, 0), image_argument(call), integer_argument(call, 2),
            integer_argument(call, 3), scale, scale);
}

void draw_sprite_stretched(FunctionCall& call)
{
    if (Graphics* graphics = sprite_graphics(call))
        graphics->sheets().draw_sprite_stretched(integer_argument(call, 0), image_argument(call),
            integer_argument(call, 2), integer_argument(call, 3), integer_argument(call, 4), integer_argument(call, 5));
}

void draw_sprite_transparent(FunctionCall& call)
{
    double scale = real_argument(call, 4);
    if (Graphics* graphics = sprite_graphics(call))
        graphics->sheets().draw_sprite(integer_argument(call, 0), image_argument(call), integer_argument(call, 2),
            integer_argument(call, 3), scale, scale, real_argument(call, 5));
}

void draw_sprite_tiled(FunctionCall& call)
{
    if (Graphics* graphics = sprite_graphics(call))
        graphics->sheets().draw_sprite_tiled(integer_argument(call, 0), image_argument(call),
            integer_argument(call, 2), integer_argument(call, 3), room_area(), true, true);
}

void draw_background(FunctionCall& call)
{
    if (Graphics* graphics = background_graphics(call))
        graphics->sheets().draw_background(integer_argument(call, 0), integer_argument(call, 1),
            integer_argument(call, 2));
}

void draw_background_scaled(FunctionCall& call)
{
    double scale = real_argument(call, 3);
    if (Graphics* graphics = background_graphics(call))
        graphics->sheets().draw_background(integer_argument(call, 0), integer_argument(call, 1),
            integer_argument(call, 2), scale, scale);
}

void draw_background_stretched(FunctionCall& call)
{
    if (Graphics* graphics = background_graphics(call))
        graphics->sheets().draw_background_stretched(integer_argument(call, 0), integer_argument(call, 1),
            integer_argument(call, 2), integer_argument(call, 3), integer_argument(call, 4));
}

void draw_background_transparent(FunctionCall& call)
{
    double scale = real_argument(call, 3);
    if (Graphics* graphics = background_graphics(call))
        graphics->sheets().draw_background(integer_argument(call, 0), integer_argument(call, 1),
            integer_argument(call, 2), scale, scale, real_argument(call, 4));
}

void draw_background_tiled(FunctionCall& call)
{
    if (Graphics* graphics = background_graphics(call))
        graphics->sheets().draw_background_tiled(integer_argument(call, 0), integer_argument(call, 1),
            integer_argument(call, 2), room_area(), true, true);
}

// The shape painter of the game being played, or none (reported).
ShapePainter* shapes_for(const FunctionCall& call)
{
    Graphics* graphics = graphics_for(call);
    return graphics ? &graphics->shapes() : nullptr;
}

void draw_pixel(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->pixel(integer_argument(call, 0), integer_argument(call, 1));
}

// The colour of the pixel; -1 where there is none to read (outside the view being drawn, or the screen).
void draw_getpixel(FunctionCall& call)
{
    ShapePainter* shapes = shapes_for(call);
    std::optional<std::int32_t> color =
        shapes ? shapes->get_pixel(integer_argument(call, 0), integer_argument(call, 1)) : std::nullopt;
    call.result.set_real(color.value_or(-1));
}

void draw_fill(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->flood_fill(integer_argument(call, 0), integer_argument(call, 1));
}

void draw_line(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->line(integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3));
}

// The box of the circle is computed before it is rounded.
void draw_circle(FunctionCall& call)
{
    double x = real_argument(call, 0);
    double y = real_argument(call, 1);
    double radius = real_argument(call, 2);
    if (ShapePainter* shapes = shapes_for(call))
        shapes->ellipse(round_to_int32(x - radius), round_to_int32(y - radius), round_to_int32(x + radius),
            round_to_int32(y + radius));
}

void draw_ellipse(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->ellipse(integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3));
}

void draw_rectangle(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->rectangle(integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3));
}

constexpr int ROUND_CORNER = 10;   // the corner ellipse of rounded rectangles, both ways

void draw_roundrect(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->round_rectangle(integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3), ROUND_CORNER, ROUND_CORNER);
}

void draw_triangle(FunctionCall& call)
{
    const PolygonVertex corners[] = {{integer_argument(call, 0), integer_argument(call, 1)},
        {integer_argument(call, 2), integer_argument(call, 3)}, {integer_argument(call, 4), integer_argument(call, 5)}};
    if (ShapePainter* shapes = shapes_for(call))
        shapes->polygon(corners);
}

void draw_arc_shape(FunctionCall& call, ArcShape shape)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->arc(shape, integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3), integer_argument(call, 4), integer_argument(call, 5), integer_argument(call, 6),
            integer_argument(call, 7));
}
void draw_arc(FunctionCall& call) { draw_arc_shape(call, ArcShape::arc); }
void draw_chord(FunctionCall& call) { draw_arc_shape(call, ArcShape::chord); }
void draw_pie(FunctionCall& call) { draw_arc_shape(call, ArcShape::pie); }

void draw_button(FunctionCall& call)
{
    if (ShapePainter* shapes = shapes_for(call))
        shapes->button(integer_argument(call, 0), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3), integer_argument(call, 4) != 0);
}

void draw_polygon_begin(FunctionCall&) { drawing_state().polygon.count = 0; }

// A vertex more; the one beyond the store's capacity empties the list instead.
void draw_polygon_vertex(FunctionCall& call)
{
    PolygonVertices& polygon = drawing_state().polygon;
    if (polygon.count >= PolygonVertices::CAPACITY) {
        polygon.count = 0;
        report_function_error("Polygon has too many vertices.");
        return;
    }
    polygon.vertices[polygon.count++] = {integer_argument(call, 0), integer_argument(call, 1)};
}

void draw_polygon_end(FunctionCall& call)
{
    PolygonVertices& polygon = drawing_state().polygon;
    if (polygon.count == 0) {
        report_function_error("Drawing polygon with no vertices.");
        return;
    }
    std::span<const PolygonVertex> vertices(polygon.vertices.data(), polygon.count);
    polygon.count = 0;
    if (ShapePainter* shapes = shapes_for(call))
        shapes->polygon(vertices);
}

constexpr FunctionEntry DRAWING_FUNCTIONS[] = {
    {"make_color", 3, make_color},
    {"draw_sprite", 4, draw_sprite},
    {"draw_sprite_scaled", 5, draw_sprite_scaled},
    {"draw_sprite_stretched", 6, draw_sprite_stretched},
    {"draw_sprite_transparent", 6, draw_sprite_transparent},
    {"draw_sprite_tiled", 4, draw_sprite_tiled},
    {"draw_background", 3, draw_background},
    {"draw_background_scaled", 4, draw_background_scaled},
    {"draw_background_stretched", 5, draw_background_stretched},
    {"draw_background_transparent", 5, draw_background_transparent},
    {"draw_background_tiled", 3, draw_background_tiled},
    {"draw_pixel", 2, draw_pixel},
    {"draw_getpixel", 2, draw_getpixel},
    {"draw_fill", 2, draw_fill},
    {"draw_line", 4, draw_line},
    {"draw_circle", 3, draw_circle},
    {"draw_ellipse", 4, draw_ellipse},
    {"draw_rectangle", 4, draw_rectangle},
    {"draw_roundrect", 4, draw_roundrect},
    {"draw_triangle", 6, draw_triangle},
    {"draw_arc", 8, draw_arc},
    {"draw_chord", 8, draw_chord},
    {"draw_pie", 8, draw_pie},
    {"draw_button", 5, draw_button},
    {"draw_polygon_begin", 0, draw_polygon_begin},
    {"draw_polygon_vertex", 2, draw_polygon_vertex},
    {"draw_polygon_end", 0, draw_polygon_end},
};

// The pen and brush variables. ORDER: DRAWING_VARIABLE_NAMES.
enum DrawingVariable : std::int8_t { BRUSH_COLOR, BRUSH_STYLE, PEN_COLOR, PEN_SIZE, DRAWING_VARIABLE_COUNT };
constexpr const char* DRAWING_VARIABLE_NAMES[DRAWING_VARIABLE_COUNT] = {
    "brush_color", "brush_style", "pen_color", "pen_size"};

DrawingVariable drawing_variable(std::int32_t id)
{
    static const auto s_ids = [] {
        std::array<std::int32_t, DRAWING_VARIABLE_COUNT> ids {};
        for (int variable = 0; variable < DRAWING_VARIABLE_COUNT; ++variable)
            ids[variable] = builtin_variables().find(DRAWING_VARIABLE_NAMES[variable]);
        return ids;
    }();
    return static_cast<DrawingVariable>(std::ranges::find(s_ids, id) - s_ids.begin());
}

bool get_drawing_variable(ScriptInstance*, std::int32_t id, std::int32_t, Value& result)
{
    const DrawingState& state = drawing_state();
    switch (drawing_variable(id)) {
    case BRUSH_COLOR: result.set_real(state.brush.color); break;
    case BRUSH_STYLE: result.set_real(static_cast<int>(state.brush.style)); break;
    case PEN_COLOR: result.set_real(state.pen.color); break;
    default: result.set_real(state.pen.width); break;
    }
    return true;
}

// Colours and the pen's width store the value rounded; a brush style outside 0 to 7 leaves the style as it is.
bool set_drawing_variable(ScriptInstance*, std::int32_t id, std::int32_t, const Value& value)
{
    DrawingState& state = drawing_state();
    std::int32_t number = as_integer(value);
    switch (drawing_variable(id)) {
    case BRUSH_COLOR: state.brush.color = number; break;
    case BRUSH_STYLE:
        if (number >= 0 && number < BRUSH_STYLE_COUNT)
            state.brush.style = static_cast<BrushStyle>(number);
        break;
    case PEN_COLOR: state.pen.color = number; break;
    default: state.pen.width = number; break;
    }
    return true;
}

}  // namespace

std::span<const FunctionEntry> drawing_functions() { return DRAWING_FUNCTIONS; }

void serve_drawing_variables()
{
    for (const char* name : DRAWING_VARIABLE_NAMES)
        builtin_variables().serve(name, get_drawing_variable, set_drawing_variable);
}

}  // namespace quillon
