// ListView: a scrollable list of one-line rows in a dialog, with a selection moved by keys, typed first
// letters, clicks and the wheel, a folder mark for rows that stand for folders, and a scroll bar.
#pragma once

#include "graphics/surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

struct ListRow {
    std::string text;     // Windows-1252 bytes
    bool folder = false;  // drawn with the folder mark
};

class ListView {
public:
    // What a click did.
    enum class Click {
        none,       // it missed the rows
        selected,   // it selected a row (or scrolled)
        activated,  // the second click of a double click on the same row
    };

    // Where the list sits in the dialog, frame and scroll bar included.
    void set_bounds(const SurfaceRect& bounds);
    const SurfaceRect& bounds() const { return m_bounds; }

    // New rows: the first one is selected (none when there are none) and the list scrolls to the top.
    void set_rows(std::vector<ListRow> rows);
    const std::vector<ListRow>& rows() const { return m_rows; }

    // The selected row, -1 for none. Selecting scrolls the row into view; out-of-range rows are clamped.
    int selected() const { return m_selected; }
    void select(int row);
    const ListRow* selected_row() const;
    int first_visible() const { return m_top; }
    int visible_rows() const;

    // Up, Down, Page Up, Page Down, Home and End; false for other keys.
    bool key(int virtual_key);
    // The next row after the selected one whose text starts with the character, letter case ignored, going
    // round to the top; false when no row does.
    bool find_first_letter(char character);
    // Mouse events in dialog coordinates; now_ms tells a double click from two clicks.
    Click mouse_down(int x, int y, std::int64_t now_ms);
    void mouse_move(int x, int y);
    void mouse_up();
    // Scrolls by three rows a notch, away from the user scrolling up.
    void wheel(int notches);

    void paint(SurfaceCanvas& canvas, bool focused) const;

private:
    SurfaceRect rows_area() const;
    SurfaceRect scroll_track() const;
    SurfaceRect scroll_thumb() const;
    bool has_scroll_bar() const;
    void scroll_to(int top);
    void paint_row(SurfaceCanvas& canvas, int row, int y, bool focused) const;

    SurfaceRect m_bounds;                          // the whole list in the dialog
    std::vector<ListRow> m_rows;                   // top to bottom
    int m_selected = -1;                           // the selected row, -1 for none
    int m_top = 0;                                 // the first row shown
    int m_last_click_row = -1;                     // the row of the last click, for double clicks
    std::int64_t m_last_click_ms = -1'000'000;     // when it came
    int m_drag_offset = -1;                        // while the thumb is dragged: the pointer below its top
};

}  // namespace quillon
