// InformationForm: the game information window, a rich-text page on the game's background colour with a
// vertical scroll bar, closed by Escape.
#include "dialogs/information_form.h"

#include "dialogs/form_widgets.h"
#include "support/win1252.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int MARGIN = 4;          // pixels between the page's text and the window's edges
constexpr int LINE_STEP = 20;      // pixels an arrow scrolls
constexpr int MIN_THUMB = 8;       // pixels of the scroll bar's thumb at least
constexpr Color BAR_TRACK = make_color(236, 234, 230);
constexpr Color BAR_EDGE = make_color(128, 128, 128);
constexpr Color BAR_ARROW = make_color(0, 0, 0);
constexpr Color PAGE_TEXT = make_color(0, 0, 0);

// A button face with a one-pixel edge.
void button_box(SurfaceCanvas& canvas, const SurfaceRect& rect)
{
    fill_box(canvas, rect, DIALOG_FACE);
    frame_box(canvas, rect, BAR_EDGE);
}

// A small filled triangle pointing up or down, centred in the box.
void arrow(SurfaceCanvas& canvas, const SurfaceRect& rect, bool up)
{
    int centre_x = (rect.left + rect.right) / 2;
    int top = (rect.top + rect.bottom) / 2 - 2;
    for (int row = 0; row < 4; ++row) {
        int half = up ? row : 3 - row;
        fill_box(canvas, {centre_x - half, top + row, centre_x + half + 1, top + row + 1}, BAR_ARROW);
    }
}

bool inside(const SurfaceRect& rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

}  // namespace

InformationForm::InformationForm(const RichDocument& page, Color background,
    std::optional<platform::WindowPlacement> game_window)
    : m_text(utf8_to_win1252(page.plain_text()))
    , m_layout(page, INFORMATION_FONT)
    , m_background(background & 0xFFFFFF)
    , m_game_window(game_window)
{
    if (m_game_window)
        lay_out(m_game_window->width, m_game_window->height);
    else
        lay_out(INFORMATION_WIDTH, INFORMATION_HEIGHT);
}

platform::WindowPlacement InformationForm::placement(platform::ScreenSize screen) const
{
    if (m_game_window) {
        platform::WindowPlacement placement = *m_game_window;
        placement.border = false;
        placement.caption_buttons = false;
        return placement;
    }
    // Centred on the screen, and no larger than it.
    int width = std::min(INFORMATION_WIDTH, std::max(screen.width, 1));
    int height = std::min(INFORMATION_HEIGHT, std::max(screen.height, 1));
    platform::WindowPlacement placement;
    placement.left = (screen.width - width) / 2;
    placement.top = (screen.height - height) / 2;
    placement.width = width;
    placement.height = height;
    return placement;
}

void InformationForm::lay_out(int width, int height)
{
    m_width = std::max(width, 1);
    m_height = std::max(height, 1);
    m_layout.lay_out(m_width - SCROLL_BAR_WIDTH - 2 * MARGIN);
    m_scroll = std::clamp(m_scroll, 0, largest_scroll());
}

int InformationForm::page_height() const { return m_layout.height() + 2 * MARGIN; }

void InformationForm::scroll_to(int scroll)
{
    scroll = std::clamp(scroll, 0, largest_scroll());
    if (scroll != m_scroll)
        m_dirty = true;
    m_scroll = scroll;
}

void InformationForm::paint(SurfaceCanvas& canvas)
{
    lay_out(canvas.width, canvas.height);
    SurfaceRect page {0, 0, std::max(m_width - SCROLL_BAR_WIDTH, 0), m_height};
    fill_box(canvas, page, m_background);
    SurfaceRect text {MARGIN, 0, page.right - MARGIN, m_height};
    m_layout.paint(canvas, text, m_scroll - MARGIN, PAGE_TEXT);
    paint_scroll_bar(canvas);
    m_dirty = false;
}

// The part of the scroll bar between its arrows.
SurfaceRect InformationForm::track() const
{
    return {m_width - SCROLL_BAR_WIDTH, SCROLL_BAR_WIDTH, m_width, std::max(m_height - SCROLL_BAR_WIDTH, SCROLL_BAR_WIDTH)};
}

// Empty when the whole page shows.
SurfaceRect InformationForm::thumb() const
{
    SurfaceRect bar = track();
    int largest = largest_scroll();
    int length = bar.height();
    if (largest <= 0 || length < MIN_THUMB)
        return {};
    int size = std::clamp(static_cast<int>(std::int64_t(length) * m_height / page_height()), MIN_THUMB, length);
    int top = bar.top + static_cast<int>(std::int64_t(length - size) * m_scroll / largest);
    return {bar.left, top, bar.right, top + size};
}

void InformationForm::paint_scroll_bar(SurfaceCanvas& canvas) const
{
    SurfaceRect bar = track();
    fill_box(canvas, bar, BAR_TRACK);
    SurfaceRect up {bar.left, 0, bar.right, SCROLL_BAR_WIDTH};
    SurfaceRect down {bar.left, bar.bottom, bar.right, bar.bottom + SCROLL_BAR_WIDTH};
    button_box(canvas, up);
    button_box(canvas, down);
    arrow(canvas, up, true);
    arrow(canvas, down, false);
    if (SurfaceRect knob = thumb(); knob.height() > 0)
        button_box(canvas, knob);
}

void InformationForm::handle(const platform::Event& event)
{
    switch (event.kind) {
    case platform::EventKind::key_down:
        key(event.virtual_key);
        break;
    case platform::EventKind::mouse_down:
        if (event.button == platform::MOUSE_LEFT)
            mouse_down(event.x, event.y);
        break;
    case platform::EventKind::mouse_move:
        if (m_drag_offset)
            drag(event.y);
        break;
    case platform::EventKind::mouse_up:
        m_drag_offset.reset();
        break;
    case platform::EventKind::window_close:
    case platform::EventKind::quit:
        m_finished = true;
        break;
    case platform::EventKind::mouse_wheel:
        scroll_to(m_scroll - event.wheel * 3 * LINE_STEP);
        break;
    case platform::EventKind::window_exposed:
        m_dirty = true;
        break;
    default:
        break;
    }
}

void InformationForm::key(int virtual_key)
{
    int page = std::max(m_height - LINE_STEP, LINE_STEP);
    switch (virtual_key) {
    case KEY_ESCAPE: m_finished = true; break;
    case KEY_UP: scroll_to(m_scroll - LINE_STEP); break;
    case KEY_DOWN: scroll_to(m_scroll + LINE_STEP); break;
    case KEY_PAGE_UP: scroll_to(m_scroll - page); break;
    case KEY_PAGE_DOWN: scroll_to(m_scroll + page); break;
    case KEY_HOME: scroll_to(0); break;
    case KEY_END: scroll_to(largest_scroll()); break;
    default: break;
    }
}

// On the scroll bar: the arrows scroll by a step, the track beside the thumb by a page, the thumb is dragged.
void InformationForm::mouse_down(int x, int y)
{
    SurfaceRect bar = track();
    if (x < bar.left || x >= bar.right)
        return;
    int page = std::max(m_height - LINE_STEP, LINE_STEP);
    SurfaceRect knob = thumb();
    if (y < bar.top)
        scroll_to(m_scroll - LINE_STEP);
    else if (y >= bar.bottom)
        scroll_to(m_scroll + LINE_STEP);
    else if (inside(knob, x, y))
        m_drag_offset = y - knob.top;
    else if (knob.height() > 0)
        scroll_to(y < knob.top ? m_scroll - page : m_scroll + page);
}

void InformationForm::drag(int y)
{
    SurfaceRect bar = track();
    SurfaceRect knob = thumb();
    int travel = bar.height() - knob.height();
    if (travel <= 0)
        return;
    int top = std::clamp(y - *m_drag_offset - bar.top, 0, travel);
    scroll_to(static_cast<int>(std::int64_t(top) * largest_scroll() / travel));
}

std::string InformationForm::transcript() const { return m_text; }

void InformationForm::answer(const std::optional<std::string>& line)
{
    (void)line;
    m_finished = true;
}

}  // namespace quillon
