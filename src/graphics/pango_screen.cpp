// Pango set up as the screen's text is drawn: 96 pixels per inch, no anti-aliasing, whole-pixel metrics.
#include "graphics/pango_screen.h"

namespace quillon {

PangoContext* new_screen_context(PangoFontMap* font_map)
{
    PangoContext* context = pango_font_map_create_context(font_map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, SCREEN_DPI);
    pango_context_set_round_glyph_positions(context, TRUE);
    return context;
}

}  // namespace quillon
