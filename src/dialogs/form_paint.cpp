// Form painting: flat rectangles, frames and labels in the dialogs' font.
#include "dialogs/form_paint.h"

#include "graphics/text_engine.h"

#include <algorithm>

namespace quillon {

namespace {

// Labels longer than this are drawn cut: no dialog shows more of a line, and a huge one costs nothing.
constexpr std::size_t LONGEST_LABEL = 512;

int dialog_font() { return text_engine().font(TextFont {}); }

SurfaceRect intersection(const SurfaceRect& a, const SurfaceRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

bool contains(const SurfaceRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void fill_rect(SurfaceCanvas& canvas, const SurfaceRect& rect, Color color)
{
    SurfaceRect area = intersection(intersection(rect, canvas.clip), {0, 0, canvas.width, canvas.height});
    std::uint32_t pixel = color_to_pixel(color);
    for (int y = area.top; y < area.bottom; ++y)
        std::fill_n(&canvas.at(area.left, y), std::max(area.width(), 0), pixel);
}

void frame_rect(SurfaceCanvas& canvas, const SurfaceRect& rect, Color color)
{
    fill_rect(canvas, {rect.left, rect.top, rect.right, rect.top + 1}, color);
    fill_rect(canvas, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    fill_rect(canvas, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    fill_rect(canvas, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void draw_label(SurfaceCanvas& canvas, const SurfaceRect& within, int x, int y, std::string_view text, Color color)
{
    SurfaceCanvas cut = canvas;
    cut.clip = intersection(canvas.clip, within);
    if (cut.clip.width() > 0 && cut.clip.height() > 0)
        text_engine().draw(cut, dialog_font(), color, 0, x, y, text.substr(0, LONGEST_LABEL));
}

int label_width(std::string_view text) { return text_engine().measure(dialog_font(), text.substr(0, LONGEST_LABEL)).width; }

int label_height() { return text_engine().line_height(dialog_font()); }

}  // namespace quillon
