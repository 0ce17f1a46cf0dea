// Text blocks: text cut into lines, wrapped to a width, aligned and stepped along the text's angle, as scripts
// draw and measure it.
#include "graphics/text_block.h"

#include "code/value.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {

namespace {

// The length of the word at `start`: up to and including the first space or hyphen, or the rest.
std::size_t word_length(std::string_view text, std::size_t start)
{
    std::size_t end = text.find_first_of(" -", start);
    return end == std::string_view::npos ? text.size() - start : end + 1 - start;
}

// Calls visit(line) for every line drawn, in order, until it returns false.
template <typename Visit>
void for_each_drawn_line(TextEngine& engine, int font, std::string_view text, double width, Visit&& visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (width < 0) {
            if (!visit(line))
                return;
        }
        // 1. Wrapped: the first word always, then words while the collected text is narrower than the width
        // and the next word still fits.
        while (width >= 0 && !line.empty()) {
            std::size_t taken = word_length(line, 0);
            while (taken < line.size()) {
                int collected = engine.measure(font, line.substr(0, taken)).width;
                if (collected >= width)
                    break;
                std::size_t word = word_length(line, taken);
                if (collected + engine.measure(font, line.substr(taken, word)).width > width)
                    break;
                taken += word;
            }
            if (!visit(line.substr(0, taken)))
                return;
            line.remove_prefix(taken);
        }
        if (end == std::string_view::npos)
            return;
        start = end + 1;
    }
}

}  // namespace

void draw_text_block(TextEngine& engine, TextTarget& target, const TextLook& look, double x, double y,
    std::string_view text, double separation, double width)
{
    // 1. The step from one line to the next.
    int height = engine.line_height(look.font);
    double distance = separation < 0 ? height : separation;
    double radians = look.angle * std::numbers::pi / 180;
    double cosine = std::cos(radians);
    double sine = std::sin(radians);
    double step_x = sine * distance;
    double step_y = cosine * distance;
    // 2. Upright text that moves down stops below the clip rectangle and skips lines above it unmeasured.
    const SurfaceRect& clip = target.canvas.clip;
    bool upright = look.angle == 0 && distance >= 0;
    for_each_drawn_line(engine, look.font, text, width, [&](std::string_view line) {
        double top = y - target.offset_y;
        if (upright && top >= clip.bottom + 1)
            return false;
        if (!line.empty() && !(upright && top + height < clip.top - 1)) {
            // 3. The line aligned along its own direction, its top-left corner rounded to a pixel.
            int line_width = engine.measure(look.font, line).width;
            int shift = look.align == ALIGN_CENTER ? -(line_width / 2) : look.align == ALIGN_RIGHT ? -line_width : 0;
            std::int64_t left = round_to_int64(x + cosine * shift) - target.offset_x;
            std::int64_t line_top = round_to_int64(y - sine * shift) - target.offset_y;
            if (std::abs(left) < INT32_MAX / 2 && std::abs(line_top) < INT32_MAX / 2)
                engine.draw(target.canvas, look.font, look.color, look.angle, static_cast<int>(left),
                    static_cast<int>(line_top), line);
        }
        x += step_x;
        y += step_y;
        return true;
    });
}

TextBlockSize measure_text_block(TextEngine& engine, int font, std::string_view text, double separation, double width)
{
    std::int64_t lines = 0;
    int widest = 1;
    for_each_drawn_line(engine, font, text, width, [&](std::string_view line) {
        ++lines;
        widest = std::max(widest, engine.measure(font, line).width);
        return true;
    });
    if (lines == 0)
        return {double(widest), 1};
    int height = engine.line_height(font);
    double distance = separation < 0 ? height : separation;
    return {double(widest), height + double(lines - 1) * distance};
}

}  // namespace quillon
