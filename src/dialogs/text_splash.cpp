// TextSplash: a rich-text page shown on the splash window, on a background colour within a 20-pixel border.
#include "dialogs/text_splash.h"

#include "support/win1252.h"

namespace quillon {

namespace {

constexpr std::string_view TEXT_SPLASH_FONT = "Arial";    // of text without a font of its own
constexpr Color TEXT_SPLASH_TEXT = make_color(0, 0, 0);   // of text without a colour of its own

}  // namespace

TextSplash::TextSplash(const RichDocument& page, bool full_screen, Color background, std::int64_t delay_ms)
    : SplashForm({full_screen, TEXT_SPLASH_WIDTH, TEXT_SPLASH_HEIGHT}, background & 0xFFFFFF, delay_ms)
    , m_text(utf8_to_win1252(page.plain_text()))
    , m_layout(page, TEXT_SPLASH_FONT)
{
}

void TextSplash::paint_content(SurfaceCanvas& canvas)
{
    SurfaceRect area {TEXT_SPLASH_BORDER, TEXT_SPLASH_BORDER, canvas.width - TEXT_SPLASH_BORDER,
        canvas.height - TEXT_SPLASH_BORDER};
    if (area.width() <= 0 || area.height() <= 0)
        return;
    m_layout.lay_out(area.width());
    m_layout.paint(canvas, area, 0, TEXT_SPLASH_TEXT);
}

}  // namespace quillon
