// PopupMenu: the game's pop-up menu, a borderless list of items under the pointer or at a screen position,
// chosen with the mouse, the arrow keys or the underlined letter of an item.
#pragma once

#include "dialogs/form.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One line of the menu.
struct MenuEntry {
    std::string label;            // Windows-1252 bytes, shown as they stand (at most MAX_LABEL_BYTES)
    int number = -1;              // the item's number from 0; -1 for a separator
    int accelerator_at = -1;      // the byte of the label underlined as its key; -1 for none
    char accelerator = 0;         // that byte in upper case

    bool separator() const { return number < 0; }
};

// At most this many pieces of the items string become lines of the menu; the rest are left out, so that a
// huge string neither takes long to split nor makes a menu of millions of lines.
inline constexpr int MAX_MENU_ENTRIES = 500;
// Labels are cut to this many bytes, so that one huge label does not make a menu of a million pixels.
inline constexpr std::size_t MAX_LABEL_BYTES = 256;

// The menu of an items string: split at each "|", a piece that is exactly "-" a separator, the others items
// numbered from 0. Each item gets as its key the first letter or digit of its label that no item above took.
std::vector<MenuEntry> menu_entries(std::string_view items);

class PopupMenu final : public Form {
public:
    // at: where the menu's top-left corner goes on the screen; it is moved to stay on the screen. The result
    // is default_result when the menu is dismissed.
    PopupMenu(std::string_view items, int x, int y, std::int32_t default_result);

    std::string caption() const override { return {}; }
    // The menu's size from its labels; lines below the bottom of the screen are not shown.
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    void paint(SurfaceCanvas& canvas) override;
    void handle(const platform::Event& event) override;
    bool needs_paint() const override { return m_dirty; }
    bool finished() const override { return m_finished; }
    // "Menu:" and a line per entry: "N: label" for items, "-" for separators.
    std::string transcript() const override;
    // An item's number or its label (letter case aside) chooses it; empty, none, "<cancel>" or anything else
    // dismisses the menu.
    void answer(const std::optional<std::string>& line) override;

    // The chosen item's number, or the default.
    std::int32_t result() const { return m_result; }
    const std::vector<MenuEntry>& entries() const { return m_entries; }
    // The entry under the highlight, -1 for none.
    int highlighted() const { return m_highlight; }

private:
    struct Layout {
        int item_height = 0;   // pixels of an item's line
        int width = 0;         // of the whole menu
        int height = 0;        // of the lines shown and the border
        int shown = 0;         // entries that fit on the screen
    };
    // The layout of the entries that fit on a screen of this height.
    Layout layout(int screen_height) const;
    int entry_top(int entry) const;
    int entry_at(int x, int y) const;
    void handle_key(int virtual_key);
    void move_highlight(int from, int step);
    void choose(int entry);
    void dismiss();

    std::vector<MenuEntry> m_entries;     // the lines, separators included
    int m_x = 0;                          // asked screen x of the top-left corner
    int m_y = 0;                          // asked screen y of the top-left corner
    std::int32_t m_default = 0;           // the result when dismissed
    std::int32_t m_result = 0;            // the answer once finished
    mutable Layout m_layout;              // fixed by placement, when the screen is known
    int m_highlight = -1;                 // the entry under the highlight
    bool m_pressed_inside = false;        // a button went down over the menu: its release chooses
    bool m_had_focus = false;             // losing the focus after having it dismisses the menu
    bool m_dirty = true;                  // the highlight changed since the last paint
    bool m_finished = false;              // chosen or dismissed
};

}  // namespace quillon
