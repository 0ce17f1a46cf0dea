// The text built-ins of the graphics family: text drawn and measured with the drawing font in the view being
// drawn, and the font variables.
#include "functions/text_drawing.h"

#include "code/builtin_variables.h"
#include "code/number_text.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/drawing_font.h"
#include "graphics/graphics.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

namespace {

constexpr double WHOLE = -1;   // a separation or width that means the default height and no wrapping

// The text a value draws: in a string every "#" is a line break except "\#", which is "#"; a real is written as
// `string` writes it. The buffer is kept between calls.
std::string_view text_of(const Value& value)
{
    static std::string s_text;
    if (!value.is_string()) {
        s_text = format_real(value.real);
        return s_text;
    }
    std::string_view source = value.string.view();
    s_text.clear();
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\\' && i + 1 < source.size() && source[i + 1] == '#') {
            s_text += '#';
            ++i;
        } else {
            s_text += source[i] == '#' ? '\r' : source[i];
        }
    }
    return s_text;
}

// Where text goes: the screen buffer seen through the view being drawn; none without a screen.
std::optional<TextTarget> text_target()
{
    Screen* screen = play_services().screen;
    if (!screen)
        return std::nullopt;
    const DrawingTarget& target = screen->regions().gdi_target();
    if (!target.surface)
        return std::nullopt;
    SurfaceCanvas canvas = target.surface->GetCanvas();
    if (!canvas.pixels)
        return std::nullopt;
    return TextTarget {canvas, target.offset_x, target.offset_y};
}

TextLook current_look()
{
    const DrawingFont& state = drawing_font();
    return {text_engine().font(state.font), color_value(state.color), state.angle, state.align};
}

void draw_text_with(FunctionCall& call, double separation, double width)
{
    std::optional<TextTarget> target = text_target();
    if (!target)
        return;
    draw_text_block(text_engine(), *target, current_look(), real_argument(call, 0), real_argument(call, 1),
        text_of(call.argument(2)), separation, width);
}

void draw_text(FunctionCall& call) { draw_text_with(call, WHOLE, WHOLE); }
void draw_text_ext(FunctionCall& call) { draw_text_with(call, real_argument(call, 3), real_argument(call, 4)); }

// Text is measured as it would be drawn; without a screen to draw on every size is 1.
TextBlockSize measure(const FunctionCall& call, double separation, double width)
{
    if (!text_target())
        return {};
    TextEngine& engine = text_engine();
    return measure_text_block(engine, engine.font(drawing_font().font), text_of(call.argument(0)), separation, width);
}

void string_width(FunctionCall& call) { call.result.set_real(measure(call, WHOLE, WHOLE).width); }
void string_height(FunctionCall& call) { call.result.set_real(measure(call, WHOLE, WHOLE).height); }
void string_width_ext(FunctionCall& call)
{
    call.result.set_real(measure(call, real_argument(call, 1), real_argument(call, 2)).width);
}
void string_height_ext(FunctionCall& call)
{
    call.result.set_real(measure(call, real_argument(call, 1), real_argument(call, 2)).height);
}

constexpr std::size_t MAX_SPRITE_TEXT_LINES = 1001;       // further text is not drawn
constexpr std::size_t UNLIMITED_SPRITE_LINE = 1000000;    // characters per line without a width

// The lines of a sprite text: a new line at every carriage return and line feed, and a line longer than the
// maximum breaks after its last space (which stays with the first part), when it has one.
const std::vector<std::string_view>& sprite_text_lines(std::string_view text, std::size_t maximum)
{
    static std::vector<std::string_view> s_lines;
    s_lines.assign(1, text.substr(0, 0));
    std::size_t start = 0;         // where the current line starts in the text
    std::size_t last_break = 0;    // the current line's length after its last space, 0 for none
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view& line = s_lines.back();
        if (text[i] == '\r' || text[i] == '\n') {
            if (s_lines.size() == MAX_SPRITE_TEXT_LINES)
                break;
            start = i + 1;
            last_break = 0;
            s_lines.push_back(text.substr(start, 0));
            continue;
        }
        line = text.substr(start, i + 1 - start);
        if (text[i] == ' ')
            last_break = line.size();
        if (line.size() > maximum && last_break > 0) {
            if (s_lines.size() == MAX_SPRITE_TEXT_LINES)
                break;
            line = line.substr(0, last_break);
            start += last_break;
            last_break = 0;
            s_lines.push_back(text.substr(start, i + 1 - start));
        }
    }
    return s_lines;
}

// The code the sprite's first image stands for: a real rounded, else the first byte of a string (0 when empty).
std::int32_t first_character_code(const Value& value)
{
    if (!value.is_string())
        return round_to_int32(value.real);
    std::string_view text = value.string.view();
    return text.empty() ? 0 : static_cast<unsigned char>(text.front());
}

// (x, y, text, line distance, width, sprite, first character, scale): each character an image of the sprite.
void draw_text_sprite(FunctionCall& call)
{
    std::int32_t sprite_index = integer_argument(call, 5);
    World* world = World::installed();
    const CSprite* sprite = world ? world->sprites().get(sprite_index) : nullptr;
    if (world && !sprite) {
        report_function_error("Trying to draw text using non-existing sprite number: " + std::to_string(sprite_index));
        return;
    }
    Graphics* graphics = play_services().graphics;
    if (!sprite || !graphics)
        return;
    // 1. The text, 2. the character cell, 3. the lines.
    double scale = real_argument(call, 7);
    std::int64_t cell = round_to_int64(sprite->width * scale);
    double distance = real_argument(call, 3);
    std::int64_t line_height = round_to_int64(distance >= 0 ? distance : sprite->height * scale);
    double width = real_argument(call, 4);
    std::size_t maximum = UNLIMITED_SPRITE_LINE;
    if (width >= 0 && cell > 0)
        maximum = static_cast<std::size_t>(std::min(std::floor(width / double(cell)), double(UNLIMITED_SPRITE_LINE)));
    const std::vector<std::string_view>& lines = sprite_text_lines(text_of(call.argument(2)), maximum);
    // 4. The first character, 5. the lines from y down, each aligned by its length.
    std::int32_t first = first_character_code(call.argument(6));
    double x = real_argument(call, 0);
    double y = real_argument(call, 1);
    std::int32_t align = drawing_font().align;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        std::string_view line = lines[row];
        double length = double(line.size()) * double(cell);
        std::int64_t left = round_to_int64(align == ALIGN_CENTER ? x - length / 2 : align == ALIGN_RIGHT ? x - length : x);
        std::int64_t top = round_to_int64(y) + std::int64_t(row) * line_height;
        for (std::size_t column = 0; column < line.size(); ++column) {
            std::int32_t image = static_cast<unsigned char>(line[column]) - first;
            std::int64_t at = left + std::int64_t(column) * cell;
            if (image >= 0 && image < sprite->frame_count() && std::abs(at) < INT32_MAX && std::abs(top) < INT32_MAX)
                graphics->sheets().draw_sprite(sprite_index, image, int(at), int(top), scale, scale, 1);
        }
    }
}

// The font variables.
bool get_font_name(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_string(ScriptString(drawing_font().font.name));
    return true;
}
bool set_font_name(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    drawing_font().font.name = value.string.view();
    return true;
}
bool get_font_size(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(drawing_font().font.size);
    return true;
}
bool set_font_size(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    drawing_font().font.size = as_integer(value);
    return true;
}
bool get_font_style(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(drawing_font().font.style);
    return true;
}
// Exactly the styles whose bits are set in the rounded value; a negative value sets none.
bool set_font_style(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    std::int32_t bits = as_integer(value);
    drawing_font().font.style = bits < 0 ? 0 : bits & (FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE | FONT_STRIKEOUT);
    return true;
}
bool get_font_color(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(drawing_font().color);
    return true;
}
bool set_font_color(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    drawing_font().color = as_integer(value);
    return true;
}
bool get_font_angle(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(drawing_font().angle);
    return true;
}
bool set_font_angle(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    drawing_font().angle = value.real;
    return true;
}
bool get_font_align(ScriptInstance*, std::int32_t, std::int32_t, Value& result)
{
    result.set_real(drawing_font().align);
    return true;
}
bool set_font_align(ScriptInstance*, std::int32_t, std::int32_t, const Value& value)
{
    drawing_font().align = as_integer(value);
    return true;
}

struct FontVariable {
    const char* name;        // the built-in variable
    VariableGetter getter;
    VariableSetter setter;
};
constexpr FontVariable FONT_VARIABLES[] = {
    {"font_name", get_font_name, set_font_name},
    {"font_size", get_font_size, set_font_size},
    {"font_style", get_font_style, set_font_style},
    {"font_color", get_font_color, set_font_color},
    {"font_angle", get_font_angle, set_font_angle},
    {"font_align", get_font_align, set_font_align},
};

constexpr FunctionEntry TEXT_DRAWING_FUNCTIONS[] = {
    {"draw_text", 3, draw_text},
    {"draw_text_ext", 5, draw_text_ext},
    {"string_width", 1, string_width},
    {"string_height", 1, string_height},
    {"string_width_ext", 3, string_width_ext},
    {"string_height_ext", 3, string_height_ext},
    {"draw_text_sprite", 8, draw_text_sprite},
};

}  // namespace

std::span<const FunctionEntry> text_drawing_functions() { return TEXT_DRAWING_FUNCTIONS; }

void serve_font_variables()
{
    for (const FontVariable& variable : FONT_VARIABLES)
        builtin_variables().serve(variable.name, variable.getter, variable.setter);
}

}  // namespace quillon
