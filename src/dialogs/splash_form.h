// SplashForm: the borderless window that shows an image, a video or a page between rooms, above everything,
// on a background colour, until a delay passes or a key or mouse button is pressed.
#pragma once

#include "dialogs/form.h"
#include "support/bitmap.h"
#include "support/color.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class SplashForm : public Form {
public:
    // Where the window goes: covering the whole screen, or of this size centred on it.
    struct Size {
        bool full_screen = true;   // the whole screen; width and height are ignored
        int width = 0;             // client width in pixels
        int height = 0;            // client height in pixels
    };

    // delay_ms: the window closes by itself this long after it opens; 0 or less waits for a key or click only.
    SplashForm(Size size, Color background, std::int64_t delay_ms);

    std::string caption() const override { return {}; }
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    // The background, then the content.
    void paint(SurfaceCanvas& canvas) override;
    // Any key or mouse button, or closing the window, closes it.
    void handle(const platform::Event& event) override;
    int tick(std::int64_t elapsed_ms) override;
    bool needs_paint() const override { return m_dirty; }
    bool follows_game_pointer() const override { return true; }
    bool finished() const override { return m_finished; }
    // Headless: any line, or none, closes it.
    void answer(const std::optional<std::string>& line) override;

    Color background() const { return m_background; }

protected:
    // Draws what the window shows over its background; the canvas has the placement's size.
    virtual void paint_content(SurfaceCanvas& canvas) { (void)canvas; }
    void close() { m_finished = true; }
    // The content changed: the window paints again.
    void invalidate() { m_dirty = true; }

private:
    Size m_size;                  // full screen or centred
    Color m_background;           // filled behind the content
    std::int64_t m_delay_ms;      // when it closes by itself; 0 or less never
    bool m_finished = false;      // closed by a key, a click, the delay or an answer
    bool m_dirty = true;          // not painted since the content changed
};

// Where a picture of width by height goes in an area of outer_width by outer_height: scaled by the smaller of
// the two ratios of the sides, its size rounded, centred. An empty picture or area gives an empty rectangle.
SurfaceRect fit_centred(int outer_width, int outer_height, int width, int height);

// Draws the 24-bit picture scaled (nearest pixel) into the rectangle, cut to the canvas's clip rectangle.
void draw_scaled(SurfaceCanvas& canvas, const Bitmap24& picture, const SurfaceRect& to);

// The placement of a window of the size centred on the screen: its left and top may be negative when it is
// larger than the screen.
platform::WindowPlacement centred_on(platform::ScreenSize screen, int width, int height);

}  // namespace quillon
