// RichTextLayout: a rich-text page laid out to a width with Pango, and painted onto surface pixels.
#pragma once

#include "graphics/rich_text.h"
#include "graphics/surface.h"
#include "support/color.h"

#include <memory>
#include <string>

namespace quillon {

// Lays the paragraphs of a page out one below the other: words wrap at the width, lines are aligned, indented
// and tabbed as each paragraph says, with its space before and after. Text is drawn as the text engine draws
// it: the same fonts for the same names and sizes, every pixel either untouched or in the text's colour.
class RichTextLayout {
public:
    // Runs without a font of their own use the default font (a Windows font name, UTF-8).
    RichTextLayout(const RichDocument& document, std::string_view default_font);
    ~RichTextLayout();
    RichTextLayout(const RichTextLayout&) = delete;
    RichTextLayout& operator=(const RichTextLayout&) = delete;

    // Lays the page out to the width in pixels (at least 1) unless it already is; returns the height.
    int lay_out(int width);
    int width() const;
    // The height of the page in pixels at the width it was last laid out to.
    int height() const;

    // Paints the page onto the area of the canvas (within its clip rectangle), the page's top row `scroll`
    // pixels above the area's top; runs without a colour of their own are in text_color. The area's pixels
    // that no text touches are left as they are.
    void paint(SurfaceCanvas& canvas, const SurfaceRect& area, int scroll, Color text_color);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quillon
