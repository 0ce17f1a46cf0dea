// Loading window: the borderless window with a picture and a progress bar shown while a game loads.
#include "runner/loading_window.h"

#include "graphics/text_engine.h"
#include "runner/loading_picture.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

constexpr int BAR_LEFT = 24;            // both bars and the caption start this far from the left
constexpr int EMPTY_BAR_RISE = 32;      // the empty bar's top above the bottom of the window
constexpr int FULL_BAR_RISE = 30;       // the full bar's top above the bottom of the window
constexpr int CAPTION_INDENT = 4;       // the caption's text from the left of its box
constexpr Color CAPTION_COLOR = 0x000000;

std::uint32_t pixel_value(const std::uint8_t* bgr)
{
    return std::uint32_t(bgr[2]) << 16 | std::uint32_t(bgr[1]) << 8 | bgr[0];
}

// Draws the picture scaled to the box (nearest pixel), clipped to the frame.
void stretch_into(std::vector<std::uint32_t>& frame, const LoadingBox& window, const Bitmap24& picture,
    const LoadingBox& box)
{
    if (box.width <= 0 || box.height <= 0 || picture.width <= 0 || picture.height <= 0)
        return;
    int left = std::max(box.left, 0);
    int top = std::max(box.top, 0);
    int right = std::min(box.left + box.width, window.width);
    int bottom = std::min(box.top + box.height, window.height);
    for (int y = top; y < bottom; ++y) {
        int source_y = static_cast<int>(std::int64_t(y - box.top) * picture.height / box.height);
        const std::uint8_t* row = picture.row(source_y);
        std::uint32_t* out = frame.data() + static_cast<std::size_t>(y) * window.width;
        for (int x = left; x < right; ++x)
            out[x] = pixel_value(row + std::int64_t(x - box.left) * picture.width / box.width * 3);
    }
}

// The caption in the default font, vertically centred in its box; the box grows to hold a taller text.
void draw_caption(std::vector<std::uint32_t>& frame, const LoadingBox& window, const LoadingBox& box,
    std::string_view caption)
{
    TextEngine& engine = text_engine();
    int font = engine.font(TextFont {});
    int height = engine.line_height(font);
    int top = box.top + (box.height - height) / 2;
    SurfaceCanvas canvas {frame.data(), window.width, window.height, window.width * 4,
        {box.left, std::min(box.top, top), box.left + box.width, std::max(box.top + box.height, top + height)}};
    engine.draw(canvas, font, CAPTION_COLOR, 0, box.left + CAPTION_INDENT, top, caption);
}

}  // namespace

LoadingLayout loading_layout(
    platform::ScreenSize screen, int picture_width, int picture_height, int empty_bar_height, int full_bar_height,
    int bar_mode, bool debug)
{
    LoadingLayout layout;
    layout.window = {(screen.width - picture_width) / 2, (screen.height - picture_height) / 2, picture_width,
        picture_height};
    int bar_width = std::max(picture_width - 2 * BAR_LEFT, 0);
    layout.empty_bar = {BAR_LEFT, picture_height - EMPTY_BAR_RISE, bar_width, empty_bar_height};
    layout.full_bar = {BAR_LEFT, picture_height - FULL_BAR_RISE, bar_width, full_bar_height};
    layout.caption = layout.empty_bar;
    layout.bars_visible = bar_mode > 0;
    layout.caption_visible = debug && bar_mode > 0;
    return layout;
}

int loading_bar_width(int percent, int empty_width)
{
    std::int64_t product = std::int64_t(percent) * empty_width;
    std::int64_t quotient = product / 100;
    std::int64_t remainder = product % 100;
    if (remainder < 0) {
        quotient -= 1;
        remainder += 100;
    }
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0))
        quotient += 1;
    return static_cast<int>(std::max<std::int64_t>(quotient, 0));
}

LoadingWindow::LoadingWindow(platform::Display& display)
    : m_display(display)
{
}

bool LoadingWindow::open(LoadingLook look, bool debug)
{
    close();
    // 1. The game's own picture replaces the built-in one.
    Bitmap24 picture = look.picture ? std::move(*look.picture) : builtin_loading_picture();
    // 2. In bar mode 2 the game's bar pictures replace the built-in ones, each where it is given.
    bool own_bars = look.bar_mode == 2;
    Bitmap24 empty_bar = own_bars && look.empty_bar ? std::move(*look.empty_bar) : builtin_empty_bar();
    m_full_bar = own_bars && look.full_bar ? std::move(*look.full_bar) : builtin_full_bar();
    // 3-5. Which parts show, the window centred on the screen, and the bars along its bottom.
    m_layout = loading_layout(m_display.screen_size(), picture.width, picture.height, empty_bar.height,
        m_full_bar.height, look.bar_mode, debug);
    if (!m_display.open({m_layout.window.left, m_layout.window.top, m_layout.window.width, m_layout.window.height,
                            false},
            "Loading"))
        return false;
    m_open = true;
    m_background.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
    stretch_into(m_background, m_layout.window, picture, {0, 0, picture.width, picture.height});
    if (m_layout.bars_visible)
        stretch_into(m_background, m_layout.window, empty_bar, m_layout.empty_bar);
    // 6. The first report, then the window shows.
    ShowProgress(0, "Loading");
    m_display.set_visible(true);
    return true;
}

void LoadingWindow::ShowProgress(int percent, std::string_view caption)
{
    if (!m_open)
        return;
    m_frame = m_background;
    if (m_layout.bars_visible) {
        LoadingBox full = m_layout.full_bar;
        full.width = loading_bar_width(percent, m_layout.empty_bar.width);
        stretch_into(m_frame, m_layout.window, m_full_bar, full);
    }
    if (m_layout.caption_visible)
        draw_caption(m_frame, m_layout.window, m_layout.caption, caption);
    m_display.present({m_frame.data(), m_layout.window.width, m_layout.window.height, m_layout.window.width * 4});
}

void LoadingWindow::close()
{
    if (m_open) {
        m_display.set_visible(false);
        m_display.close();
    }
    m_open = false;
    m_full_bar = {};
    m_background = {};
    m_frame = {};
}

}  // namespace quillon
