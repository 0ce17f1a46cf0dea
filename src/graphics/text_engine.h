// TextEngine: lines of game text measured and drawn with Pango and Cairo onto surface pixels.
#pragma once

#include "graphics/surface.h"
#include "support/color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

// The style bits of a font, as `font_style` sums them.
inline constexpr std::int32_t FONT_BOLD = 1;
inline constexpr std::int32_t FONT_ITALIC = 2;
inline constexpr std::int32_t FONT_UNDERLINE = 4;
inline constexpr std::int32_t FONT_STRIKEOUT = 8;

// A font as games describe it.
struct TextFont {
    std::string name = "MS Sans Serif";  // a Windows font name (Windows-1252 bytes)
    std::int32_t size = 8;               // points at 96 pixels per inch; 0 means 8, a negative size its magnitude
    std::int32_t style = 0;              // FONT_* bits; other bits are ignored

    bool operator==(const TextFont&) const = default;
};

// The largest character height drawn, in pixels: larger sizes draw at this height, so that a huge size cannot
// ask for glyph images of gigabytes.
inline constexpr int MAX_FONT_PIXELS = 1000;

// The pixel size of a line of text: its advance width and the height of the font's cell.
struct TextExtent {
    int width = 0;    // pixels
    int height = 0;   // pixels, the same for every line of a font
};

// Measures and draws single lines (no line breaks) in fonts it keeps. Text is drawn without anti-aliasing,
// every pixel either untouched or in the text colour, as Windows drew text on the game's surfaces; the
// measurements come from exactly the layouts that are drawn. Fonts and laid-out lines are cached, so drawing
// the same strings again builds nothing.
class TextEngine {
public:
    TextEngine();
    ~TextEngine();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    // A handle of the font; the same font gives the same handle. The engine keeps up to 256 fonts: asking for
    // one more starts its list over, which makes the handles given before invalid, so callers ask for the handle
    // when they draw rather than keep it.
    int font(const TextFont& font);

    // The size of a line (Windows-1252 bytes) in the font; an empty line has width 0 and the font's height.
    TextExtent measure(int font, std::string_view line);
    // The height of the text "M" in the font.
    int line_height(int font) { return measure(font, "M").height; }

    // Draws the line with its top-left corner at (x, y) of the canvas, turned counter-clockwise by the angle
    // (degrees) about that corner, inside the canvas's clip rectangle. The colour's top byte is ignored.
    void draw(SurfaceCanvas& canvas, int font, Color color, double angle, int x, int y, std::string_view line);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The engine of the process: game text, the caption in the image and the loading window all measure alike.
TextEngine& text_engine();

}  // namespace quillon
