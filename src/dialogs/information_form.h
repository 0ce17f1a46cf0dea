// InformationForm: the game information window, a rich-text page on the game's background colour with a
// vertical scroll bar, closed by Escape.
#pragma once

#include "dialogs/form.h"
#include "graphics/rich_text.h"
#include "graphics/rich_text_layout.h"
#include "support/color.h"

#include <optional>

namespace quillon {

inline constexpr std::string_view INFORMATION_CAPTION = "Game Information";
inline constexpr std::string_view INFORMATION_FONT = "Arial";   // of text without a font of its own
inline constexpr int INFORMATION_WIDTH = 600;                    // client size of the window of its own
inline constexpr int INFORMATION_HEIGHT = 450;
inline constexpr int SCROLL_BAR_WIDTH = 16;

class InformationForm : public Form {
public:
    // The page in a window of its own centred on the screen, or, given the game window's placement, in a
    // window without a border that covers the game window's client area exactly.
    InformationForm(const RichDocument& page, Color background,
        std::optional<platform::WindowPlacement> game_window = std::nullopt);

    std::string caption() const override { return std::string(INFORMATION_CAPTION); }
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    void paint(SurfaceCanvas& canvas) override;
    // Arrows, Page Up and Page Down, Home and End and the scroll bar scroll; Escape closes.
    void handle(const platform::Event& event) override;
    bool needs_paint() const override { return m_dirty; }
    bool finished() const override { return m_finished; }
    // Headless: the page's text; any line, or none, closes it.
    std::string transcript() const override;
    void answer(const std::optional<std::string>& line) override;

    // Pixels of the page above the window's top.
    int scroll() const { return m_scroll; }

private:
    void lay_out(int width, int height);
    int page_height() const;
    int largest_scroll() const { return std::max(page_height() - m_height, 0); }
    void scroll_to(int scroll);
    void key(int virtual_key);
    void mouse_down(int x, int y);
    void drag(int y);
    SurfaceRect track() const;
    SurfaceRect thumb() const;
    void paint_scroll_bar(SurfaceCanvas& canvas) const;

    std::string m_text;                           // the page's plain text (Windows-1252), for the transcript
    RichTextLayout m_layout;                      // the page
    Color m_background;                           // behind the page
    std::optional<platform::WindowPlacement> m_game_window;   // covered exactly when set
    int m_width = INFORMATION_WIDTH;              // of the client area, as last painted
    int m_height = INFORMATION_HEIGHT;
    int m_scroll = 0;                             // pixels of the page above the window
    std::optional<int> m_drag_offset;             // the thumb is dragged: the pointer's distance below its top
    bool m_dirty = true;                          // not painted since it changed
    bool m_finished = false;
};

}  // namespace quillon
