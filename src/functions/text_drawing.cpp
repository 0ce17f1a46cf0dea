// The text built-ins of the graphics family: text drawn and measured with the drawing font in the view being
// drawn, and the font variables.
#include "functions/text_drawing.h"

#include "code/builtin_variables.h"
#include "code/number_text.h"
#include "functions/world_families.h"
#include "graphics/drawing_font.h"
#include "graphics/screen.h"

#include <optional>
#include <string>

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
};

}  // namespace

std::span<const FunctionEntry> text_drawing_functions() { return TEXT_DRAWING_FUNCTIONS; }

void serve_font_variables()
{
    for (const FontVariable& variable : FONT_VARIABLES)
        builtin_variables().serve(variable.name, variable.getter, variable.setter);
}

}  // namespace quillon
