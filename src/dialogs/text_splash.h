// TextSplash: a rich-text page shown on the splash window, on a background colour within a 20-pixel border.
#pragma once

#include "dialogs/splash_form.h"
#include "graphics/rich_text.h"
#include "graphics/rich_text_layout.h"

namespace quillon {

inline constexpr int TEXT_SPLASH_WIDTH = 640;    // the window's size when not full screen
inline constexpr int TEXT_SPLASH_HEIGHT = 480;
inline constexpr int TEXT_SPLASH_BORDER = 20;    // pixels between the window's edges and the page

class TextSplash final : public SplashForm {
public:
    TextSplash(const RichDocument& page, bool full_screen, Color background, std::int64_t delay_ms);

    // The page's text.
    std::string transcript() const override { return m_text; }

protected:
    // The page from its start, wrapped to the window's width within the border; what does not fit is cut.
    void paint_content(SurfaceCanvas& canvas) override;

private:
    std::string m_text;          // the page's plain text (Windows-1252), for the transcript
    RichTextLayout m_layout;     // the page
};

}  // namespace quillon
