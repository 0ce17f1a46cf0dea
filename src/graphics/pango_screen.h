// Pango set up as the screen's text is drawn: 96 pixels per inch, no anti-aliasing, whole-pixel metrics.
#pragma once

#include <pango/pangocairo.h>

namespace quillon {

inline constexpr double SCREEN_DPI = 96;   // pixels per inch of the screens games were made for

// A new context over the font map that lays text out without anti-aliasing, with hinted whole-pixel metrics
// and glyph positions, at SCREEN_DPI.
PangoContext* new_screen_context(PangoFontMap* font_map);

}  // namespace quillon
