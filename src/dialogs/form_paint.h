// Form painting: the flat rectangles, frames and one-line labels that the runner's own dialogs are drawn with.
#pragma once

#include "graphics/surface.h"
#include "support/color.h"

#include <string_view>

namespace quillon {

// The colours of the dialogs.
inline constexpr Color FORM_FACE = make_color(212, 208, 200);       // the dialog's background
inline constexpr Color FORM_TEXT = make_color(0, 0, 0);
inline constexpr Color FORM_SHADOW = make_color(128, 128, 128);     // frames and disabled text
inline constexpr Color FORM_FIELD = make_color(255, 255, 255);      // lists and text fields
inline constexpr Color FORM_SELECTION = make_color(10, 36, 106);    // the selected row of a focused list
inline constexpr Color FORM_SELECTION_TEXT = make_color(255, 255, 255);
inline constexpr Color FORM_INACTIVE_SELECTION = make_color(192, 192, 192);

// Whether a point lies in the rectangle.
bool contains(const SurfaceRect& rect, int x, int y);

// Fills the rectangle, cut to the canvas's clip rectangle.
void fill_rect(SurfaceCanvas& canvas, const SurfaceRect& rect, Color color);
// A one-pixel outline just inside the rectangle.
void frame_rect(SurfaceCanvas& canvas, const SurfaceRect& rect, Color color);

// One line of text (Windows-1252 bytes) in the dialogs' font with its top-left at (x, y), cut to the rectangle.
void draw_label(SurfaceCanvas& canvas, const SurfaceRect& within, int x, int y, std::string_view text, Color color);
// The label's width and the height of a line, in pixels.
int label_width(std::string_view text);
int label_height();

}  // namespace quillon
