// The drawing actions: sprites, backgrounds, text, shapes, colours and the score, lives and health bar, drawn
// through the drawing built-ins and the pen, brush and font variables, with the relative flag.
#include "code/builtin_variables.h"
#include "functions/font_description.h"
#include "functions/world_call.h"
#include "functions/world_families.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace quillon {

namespace {

ServiceFunction s_draw_sprite("draw_sprite");
ServiceFunction s_draw_background("draw_background");
ServiceFunction s_draw_background_tiled("draw_background_tiled");
ServiceFunction s_draw_text("draw_text");
ServiceFunction s_draw_rectangle("draw_rectangle");
ServiceFunction s_draw_ellipse("draw_ellipse");
ServiceFunction s_draw_line("draw_line");

ServiceVariable s_brush_color("brush_color");
ServiceVariable s_pen_color("pen_color");
ServiceVariable s_font_name("font_name");
ServiceVariable s_font_size("font_size");
ServiceVariable s_font_color("font_color");
ServiceVariable s_font_style("font_style");

constexpr std::int32_t BLACK = 0;
constexpr std::int32_t WHITE = 16777215;
constexpr std::int32_t RED = 255;
constexpr std::int32_t YELLOW = 65535;
constexpr std::int32_t GREEN = 65280;

// The colours of the health bar's back (index 1 to 16) and bar (index 2 to 17, one lower here).
constexpr std::array<std::int32_t, 16> COLOR_TABLE = { BLACK, 8421504, 12632256, WHITE, 128, 32768, 32896, 8388608,
    8388736, 8421376, RED, GREEN, YELLOW, 16711680, 16711935, 16776960 };

// Entry 1 to 16 of the table; black for any other.
std::int32_t table_color(std::int32_t index)
{
    return index >= 1 && index <= 16 ? COLOR_TABLE[index - 1] : BLACK;
}

// Each channel round((1 - t) * first + t * second), with t kept within 0 and 1.
std::int32_t merge_colors(std::int32_t first, std::int32_t second, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    std::int32_t merged = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        double channel = (1 - t) * ((first >> shift) & 255) + t * ((second >> shift) & 255);
        merged |= static_cast<std::int32_t>(round_to_int64(channel)) << shift;
    }
    return merged;
}

// The bar's colour for the health: 0 red over yellow to green, 1 black to white, 2 to 17 from the table.
std::int32_t health_bar_color(std::int32_t bar, double health)
{
    if (bar == 0)
        return health > 50 ? merge_colors(YELLOW, GREEN, (health - 50) / 50) : merge_colors(RED, YELLOW, health / 50);
    if (bar == 1)
        return merge_colors(BLACK, WHITE, health / 100);
    return table_color(bar - 1);
}

// Self's offset for the coordinates of a drawing action: its position with the relative flag, else none.
struct Offset {
    double x = 0; // added to x coordinates
    double y = 0; // added to y coordinates
};
Offset offset_of(const FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (!self || !relative_flag())
        return {};
    return { self->x(), self->y() };
}

void action_draw_sprite(FunctionCall& call)
{
    World* world = World::installed();
    CInstance* self = self_instance(call);
    if (!world || !self)
        return;
    std::int32_t sprite = integer_argument(call, 0);
    if (!world->sprites().exists(sprite)) {
        report_function_error("Trying to draw a non-existing sprite: " + std::to_string(sprite));
        return;
    }
    // A negative image is the instance's own: the single image when it has one, else the animated one.
    double image = integer_argument(call, 3);
    if (image < 0)
        image = self->image_single >= 0 ? self->image_single : self->image_index;
    Offset offset = offset_of(call);
    s_draw_sprite(call, { double(sprite), image, real_argument(call, 1) + offset.x, real_argument(call, 2) + offset.y });
}

void action_draw_background(FunctionCall& call)
{
    World* world = World::installed();
    if (!world)
        return;
    std::int32_t background = integer_argument(call, 0);
    if (!world->backgrounds().exists(background)) {
        report_function_error("Trying to draw a non-existing background: " + std::to_string(background));
        return;
    }
    Offset offset = offset_of(call);
    auto& draw = is_true(real_argument(call, 3)) ? s_draw_background_tiled : s_draw_background;
    draw(call, { double(background), real_argument(call, 1) + offset.x, real_argument(call, 2) + offset.y });
}

// The value at (x, y) of arguments first and first + 1, relative to self with the flag.
void draw_text_at(FunctionCall& call, int first, const Value& value, bool rounded)
{
    Offset offset = offset_of(call);
    double x = real_argument(call, first) + offset.x;
    double y = real_argument(call, first + 1) + offset.y;
    if (rounded) {
        x = round_to_int64(x);
        y = round_to_int64(y);
    }
    s_draw_text(call, { x, y, value });
}

void action_draw_text(FunctionCall& call)
{
    draw_text_at(call, 1, string_argument(call, 0), true);
}
void action_draw_variable(FunctionCall& call)
{
    draw_text_at(call, 1, call.argument(0), false);
}

// The caption followed by the number.
void draw_counter(FunctionCall& call, std::int64_t number)
{
    draw_text_at(call, 0, ScriptString(string_argument(call, 2).str() + std::to_string(number)), false);
}
void action_draw_score(FunctionCall& call)
{
    draw_counter(call, game_counters().score);
}
void action_draw_life(FunctionCall& call)
{
    draw_counter(call, game_counters().lives);
}

void action_draw_life_images(FunctionCall& call)
{
    World* world = World::installed();
    const CSprite* sprite = world ? world->sprites().get(integer_argument(call, 2)) : nullptr;
    if (!sprite)
        return;
    Offset offset = offset_of(call);
    double x = real_argument(call, 0) + offset.x;
    double y = real_argument(call, 1) + offset.y;
    for (std::int32_t life = 0; life < game_counters().lives; ++life)
        s_draw_sprite(call, { double(integer_argument(call, 2)), 0.0, x + life * sprite->width, y });
}

void action_draw_font_old(FunctionCall& call)
{
    s_font_name.set(call, string_argument(call, 0));
    s_font_size.set(call, integer_argument(call, 1));
    s_font_color.set(call, integer_argument(call, 2));
    int style = (real_argument(call, 3) > 0.5 ? 1 : 0) + (real_argument(call, 4) > 0.5 ? 2 : 0)
        + (real_argument(call, 5) > 0.5 ? 4 : 0);
    s_font_style.set(call, style);
}

// The drawing font becomes the one the argument describes; a description that cannot be read changes nothing.
void action_draw_font(FunctionCall& call)
{
    std::optional<FontDescription> font;
    if (call.argument(0).is_string())
        font = parse_font_description(string_argument(call, 0).view());
    if (!font) {
        report_wrong_argument(call);
        return;
    }
    if (!font->name.empty())
        s_font_name.set(call, ScriptString(font->name));
    if (font->size)
        s_font_size.set(call, *font->size);
    if (font->color)
        s_font_color.set(call, *font->color);
    if (font->style)
        s_font_style.set(call, *font->style);
}

// A shape over the corners (x1, y1) and (x2, y2), each relative to self with the flag.
void draw_shape(FunctionCall& call, ServiceFunction& shape)
{
    Offset offset = offset_of(call);
    shape(call,
        { real_argument(call, 0) + offset.x, real_argument(call, 1) + offset.y, real_argument(call, 2) + offset.x,
            real_argument(call, 3) + offset.y });
}
void action_draw_rectangle(FunctionCall& call)
{
    draw_shape(call, s_draw_rectangle);
}
void action_draw_ellipse(FunctionCall& call)
{
    draw_shape(call, s_draw_ellipse);
}
void action_draw_line(FunctionCall& call)
{
    draw_shape(call, s_draw_line);
}

void action_fill_color(FunctionCall& call)
{
    s_brush_color.set(call, integer_argument(call, 0));
}
void action_line_color(FunctionCall& call)
{
    s_pen_color.set(call, integer_argument(call, 0));
}
void action_color(FunctionCall& call)
{
    s_brush_color.set(call, integer_argument(call, 0));
    s_pen_color.set(call, integer_argument(call, 1));
}

// A back in the table's colour when asked for, then the bar as wide as the health, outlined in black.
void action_draw_health(FunctionCall& call)
{
    // 1. The colours in use are kept, and the outline becomes black.
    Value brush = s_brush_color.get(call);
    Value pen = s_pen_color.get(call);
    s_pen_color.set(call, BLACK);
    // 2. The bar's width, at most the whole width and never negative.
    double health = game_counters().health;
    double x1 = real_argument(call, 0);
    double x2 = real_argument(call, 2);
    std::int64_t width = std::min(round_to_int64((x2 - x1) * health / 100), round_to_int64(x2 - x1));
    width = std::max<std::int64_t>(width, 0);
    Offset offset = offset_of(call);
    double left = x1 + offset.x;
    double top = real_argument(call, 1) + offset.y;
    double bottom = real_argument(call, 3) + offset.y;
    // 3. The back, 4. the bar, 5. the colours as they were.
    if (std::int32_t back = integer_argument(call, 4); back != 0) {
        s_brush_color.set(call, table_color(back));
        s_draw_rectangle(call, { left, top, x2 + offset.x, bottom });
    }
    s_brush_color.set(call, health_bar_color(integer_argument(call, 5), health));
    s_draw_rectangle(call, { left, top, left + static_cast<double>(width), bottom });
    s_brush_color.set(call, brush);
    s_pen_color.set(call, pen);
}

constexpr FunctionEntry ACTION_DRAWING_FUNCTIONS[] = {
    { "action_draw_sprite", 4, action_draw_sprite },
    { "action_draw_background", 4, action_draw_background },
    { "action_draw_text", 3, action_draw_text },
    { "action_draw_font", 1, action_draw_font },
    { "action_draw_font_old", 6, action_draw_font_old },
    { "action_draw_rectangle", 4, action_draw_rectangle },
    { "action_draw_ellipse", 4, action_draw_ellipse },
    { "action_draw_line", 4, action_draw_line },
    { "action_fill_color", 1, action_fill_color },
    { "action_line_color", 1, action_line_color },
    { "action_color", 2, action_color },
    { "action_draw_variable", 3, action_draw_variable },
    { "action_draw_score", 3, action_draw_score },
    { "action_draw_life", 3, action_draw_life },
    { "action_draw_life_images", 3, action_draw_life_images },
    { "action_draw_health", 6, action_draw_health },
};

} // namespace

std::span<const FunctionEntry> action_drawing_functions()
{
    return ACTION_DRAWING_FUNCTIONS;
}

} // namespace quillon
