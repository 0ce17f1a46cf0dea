// ListView: rows, selection, scrolling and painting of a dialog's list.
#include "dialogs/list_view.h"

#include "dialogs/form_widgets.h"
#include "support/ascii_case.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int ROW_HEIGHT = 16;
constexpr int SCROLL_BAR_WIDTH = 16;
constexpr int SMALLEST_THUMB = 12;
constexpr int TEXT_LEFT = 22;             // past the folder mark
constexpr int DOUBLE_CLICK_MS = 500;
constexpr int ROWS_PER_NOTCH = 3;
constexpr std::size_t LONGEST_TEXT = 260;  // drawn of a row's text: more never fits
constexpr Color FOLDER_COLOR = make_color(240, 200, 80);
constexpr Color BACKGROUND = make_color(255, 255, 255);
constexpr Color FRAME = make_color(128, 128, 128);
constexpr Color SELECTION = make_color(0, 0, 128);
constexpr Color SELECTED_TEXT = make_color(255, 255, 255);
constexpr Color UNFOCUSED_SELECTION = make_color(192, 192, 192);

// A small closed folder: a tab over a body, with a dark outline.
void paint_folder_mark(SurfaceCanvas& canvas, int x, int y)
{
    fill_box(canvas, {x, y + 1, x + 6, y + 3}, FOLDER_COLOR);
    frame_box(canvas, {x, y, x + 7, y + 3}, FRAME);
    fill_box(canvas, {x, y + 2, x + 14, y + 12}, FOLDER_COLOR);
    frame_box(canvas, {x, y + 2, x + 14, y + 12}, FRAME);
}

}  // namespace

void ListView::set_bounds(const SurfaceRect& bounds)
{
    m_bounds = bounds;
    scroll_to(m_top);
}

void ListView::set_rows(std::vector<ListRow> rows)
{
    m_rows = std::move(rows);
    m_selected = m_rows.empty() ? -1 : 0;
    m_top = 0;
    m_last_click_row = -1;
    m_drag_offset = -1;
}

void ListView::select(int row)
{
    if (m_rows.empty())
        return;
    m_selected = std::clamp(row, 0, static_cast<int>(m_rows.size()) - 1);
    if (m_selected < m_top)
        scroll_to(m_selected);
    else if (m_selected >= m_top + visible_rows())
        scroll_to(m_selected - visible_rows() + 1);
}

const ListRow* ListView::selected_row() const
{
    return m_selected >= 0 && m_selected < static_cast<int>(m_rows.size()) ? &m_rows[m_selected] : nullptr;
}

int ListView::visible_rows() const { return std::max(rows_area().height() / ROW_HEIGHT, 1); }

bool ListView::key(int virtual_key)
{
    int page = std::max(visible_rows() - 1, 1);
    int last = static_cast<int>(m_rows.size()) - 1;
    switch (virtual_key) {
    case KEY_UP: select(m_selected - 1); return true;
    case KEY_DOWN: select(m_selected + 1); return true;
    case KEY_PAGE_UP: select(m_selected - page); return true;
    case KEY_PAGE_DOWN: select(m_selected + page); return true;
    case KEY_HOME: select(0); return true;
    case KEY_END: select(last); return true;
    default: return false;
    }
}

bool ListView::find_first_letter(char character)
{
    int count = static_cast<int>(m_rows.size());
    char wanted = ascii_lower(character);
    for (int step = 1; step <= count; ++step) {
        int row = (std::max(m_selected, -1) + step) % count;
        if (!m_rows[row].text.empty() && ascii_lower(m_rows[row].text[0]) == wanted) {
            select(row);
            return true;
        }
    }
    return false;
}

ListView::Click ListView::mouse_down(int x, int y, std::int64_t now_ms)
{
    if (has_scroll_bar() && scroll_track().contains(x, y)) {
        SurfaceRect thumb = scroll_thumb();
        if (thumb.contains(x, y))
            m_drag_offset = y - thumb.top;
        else
            scroll_to(m_top + (y < thumb.top ? -1 : 1) * std::max(visible_rows() - 1, 1));
        return Click::selected;
    }
    SurfaceRect area = rows_area();
    if (!area.contains(x, y))
        return Click::none;
    int row = m_top + (y - area.top) / ROW_HEIGHT;
    if (row >= static_cast<int>(m_rows.size()))
        return Click::none;
    select(row);
    bool twice = row == m_last_click_row && now_ms - m_last_click_ms <= DOUBLE_CLICK_MS;
    m_last_click_row = twice ? -1 : row;
    m_last_click_ms = now_ms;
    return twice ? Click::activated : Click::selected;
}

void ListView::mouse_move(int, int y)
{
    if (m_drag_offset < 0)
        return;
    SurfaceRect track = scroll_track();
    int travel = track.height() - scroll_thumb().height();
    int hidden = static_cast<int>(m_rows.size()) - visible_rows();
    if (travel > 0)
        scroll_to(static_cast<int>((std::int64_t(y - m_drag_offset - track.top) * hidden + travel / 2) / travel));
}

void ListView::mouse_up() { m_drag_offset = -1; }

void ListView::wheel(int notches) { scroll_to(m_top - notches * ROWS_PER_NOTCH); }

void ListView::paint(SurfaceCanvas& canvas, bool focused) const
{
    fill_box(canvas, m_bounds, BACKGROUND);
    frame_box(canvas, m_bounds, focused ? DIALOG_TEXT : FRAME);
    SurfaceRect area = rows_area();
    int last = std::min(m_top + visible_rows() + 1, static_cast<int>(m_rows.size()));
    SurfaceCanvas inside = canvas;
    inside.clip = {std::max(canvas.clip.left, area.left), std::max(canvas.clip.top, area.top),
        std::min(canvas.clip.right, area.right), std::min(canvas.clip.bottom, area.bottom)};
    for (int row = m_top; row < last; ++row)
        paint_row(inside, row, area.top + (row - m_top) * ROW_HEIGHT, focused);
    if (!has_scroll_bar())
        return;
    SurfaceRect track = scroll_track();
    fill_box(canvas, track, DIALOG_FACE);
    SurfaceRect thumb = scroll_thumb();
    fill_box(canvas, thumb, UNFOCUSED_SELECTION);
    frame_box(canvas, thumb, FRAME);
}

void ListView::paint_row(SurfaceCanvas& canvas, int row, int y, bool focused) const
{
    SurfaceRect area = rows_area();
    SurfaceRect line {area.left, y, area.right, y + ROW_HEIGHT};
    Color text = DIALOG_TEXT;
    if (row == m_selected) {
        fill_box(canvas, line, focused ? SELECTION : UNFOCUSED_SELECTION);
        if (focused)
            text = SELECTED_TEXT;
    }
    if (m_rows[row].folder)
        paint_folder_mark(canvas, area.left + 3, y + 2);
    TextEngine& engine = text_engine();
    int font = engine.font(DIALOG_FONT);
    int top = y + (ROW_HEIGHT - engine.line_height(font)) / 2;
    engine.draw(canvas, font, text, 0, area.left + TEXT_LEFT, top, std::string_view(m_rows[row].text).substr(0, LONGEST_TEXT));
}

SurfaceRect ListView::rows_area() const
{
    int right = m_bounds.right - 1 - (has_scroll_bar() ? SCROLL_BAR_WIDTH : 0);
    return {m_bounds.left + 1, m_bounds.top + 1, std::max(right, m_bounds.left + 1), m_bounds.bottom - 1};
}

bool ListView::has_scroll_bar() const
{
    int rows_shown = std::max((m_bounds.height() - 2) / ROW_HEIGHT, 1);
    return static_cast<int>(m_rows.size()) > rows_shown;
}

SurfaceRect ListView::scroll_track() const
{
    return {m_bounds.right - 1 - SCROLL_BAR_WIDTH, m_bounds.top + 1, m_bounds.right - 1, m_bounds.bottom - 1};
}

SurfaceRect ListView::scroll_thumb() const
{
    SurfaceRect track = scroll_track();
    int count = std::max(static_cast<int>(m_rows.size()), 1);
    int shown = visible_rows();
    int height = std::clamp(static_cast<int>(std::int64_t(track.height()) * shown / count), SMALLEST_THUMB,
        track.height());
    int hidden = count - shown;
    int offset = hidden > 0 ? static_cast<int>(std::int64_t(track.height() - height) * m_top / hidden) : 0;
    return {track.left, track.top + offset, track.right, track.top + offset + height};
}

void ListView::scroll_to(int top)
{
    int hidden = static_cast<int>(m_rows.size()) - visible_rows();
    m_top = std::clamp(top, 0, std::max(hidden, 0));
}

}  // namespace quillon
