// PopupMenu: splitting the items string, the layout and look of the menu, and choosing by mouse and keys.
#include "dialogs/popup_menu.h"

#include "dialogs/form_widgets.h"

#include "graphics/text_engine.h"
#include "support/ascii_case.h"
#include "support/win1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>

namespace quillon {

namespace {

// The look of the system's menus.
constexpr int BORDER = 3;                   // frame line and padding around the lines
constexpr int TEXT_LEFT = 20;               // room for a check mark before the labels
constexpr int TEXT_RIGHT = 20;              // room after the longest label
constexpr int SEPARATOR_HEIGHT = 9;
constexpr int ITEM_PADDING = 6;             // above and below the text together
constexpr int MIN_ITEM_HEIGHT = 19;
constexpr std::uint32_t MENU_FACE = 0xF0F0F0;
constexpr std::uint32_t MENU_FRAME = 0x979797;
constexpr std::uint32_t SEPARATOR_DARK = 0xA0A0A0;
constexpr std::uint32_t SEPARATOR_LIGHT = 0xFFFFFF;
constexpr std::uint32_t HIGHLIGHT = 0x3399FF;
constexpr Color TEXT_COLOR = 0x000000;
constexpr Color HIGHLIGHT_TEXT_COLOR = 0xFFFFFF;

const TextFont& menu_font()
{
    static const TextFont FONT;
    return FONT;
}

bool is_key_character(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

void fill_rect(SurfaceCanvas& canvas, int left, int top, int right, int bottom, std::uint32_t pixel)
{
    left = std::max(left, canvas.clip.left);
    top = std::max(top, canvas.clip.top);
    right = std::min(right, canvas.clip.right);
    bottom = std::min(bottom, canvas.clip.bottom);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            canvas.at(x, y) = pixel;
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view SPACE = " \t\r";
    std::size_t first = text.find_first_not_of(SPACE);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(SPACE) - first + 1);
}

}  // namespace

std::vector<MenuEntry> menu_entries(std::string_view items)
{
    std::vector<MenuEntry> entries;
    std::array<bool, 256> taken {};
    int number = 0;
    std::size_t start = 0;
    while (int(entries.size()) < MAX_MENU_ENTRIES) {
        std::size_t bar = items.find('|', start);
        std::string_view piece = items.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        MenuEntry entry;
        if (piece != "-") {
            entry.label = piece.substr(0, MAX_LABEL_BYTES);
            entry.number = number++;
            for (std::size_t i = 0; i < entry.label.size(); ++i) {
                char key = upper(entry.label[i]);
                if (is_key_character(entry.label[i]) && !taken[static_cast<unsigned char>(key)]) {
                    taken[static_cast<unsigned char>(key)] = true;
                    entry.accelerator_at = int(i);
                    entry.accelerator = key;
                    break;
                }
            }
        }
        entries.push_back(std::move(entry));
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    return entries;
}

PopupMenu::PopupMenu(std::string_view items, int x, int y, std::int32_t default_result)
    : m_entries(menu_entries(items))
    , m_x(x)
    , m_y(y)
    , m_default(default_result)
    , m_result(default_result)
    , m_layout(layout(INT_MAX))
{
}

PopupMenu::Layout PopupMenu::layout(int screen_height) const
{
    TextEngine& text = text_engine();
    int font = text.font(menu_font());
    Layout result;
    result.item_height = std::max(text.line_height(font) + ITEM_PADDING, MIN_ITEM_HEIGHT);
    int widest = 0;
    int height = 2 * BORDER;
    for (const MenuEntry& entry : m_entries) {
        int line = entry.separator() ? SEPARATOR_HEIGHT : result.item_height;
        if (result.shown > 0 && height + line > screen_height)
            break;
        height += line;
        ++result.shown;
        if (!entry.separator())
            widest = std::max(widest, text.measure(font, entry.label).width);
    }
    result.width = 2 * BORDER + TEXT_LEFT + widest + TEXT_RIGHT;
    result.height = height;
    return result;
}

platform::WindowPlacement PopupMenu::placement(platform::ScreenSize screen) const
{
    m_layout = layout(screen.height > 0 ? screen.height : INT_MAX);
    platform::WindowPlacement placement;
    placement.width = m_layout.width;
    placement.height = m_layout.height;
    // A menu that does not fit to the right of (or below) the point opens to its left (or above it), and it
    // is then pushed onto the screen.
    int left = m_x + placement.width > screen.width ? m_x - placement.width : m_x;
    int top = m_y + placement.height > screen.height ? m_y - placement.height : m_y;
    placement.left = std::max(0, std::min(left, screen.width - placement.width));
    placement.top = std::max(0, std::min(top, screen.height - placement.height));
    placement.border = false;
    placement.caption_buttons = false;
    placement.stay_on_top = true;
    return placement;
}

int PopupMenu::entry_top(int entry) const
{
    int top = BORDER;
    for (int i = 0; i < entry; ++i)
        top += m_entries[std::size_t(i)].separator() ? SEPARATOR_HEIGHT : m_layout.item_height;
    return top;
}

int PopupMenu::entry_at(int x, int y) const
{
    if (x < BORDER || x >= m_layout.width - BORDER || y < BORDER)
        return -1;
    int top = BORDER;
    for (int i = 0; i < m_layout.shown; ++i) {
        int bottom = top + (m_entries[std::size_t(i)].separator() ? SEPARATOR_HEIGHT : m_layout.item_height);
        if (y < bottom)
            return m_entries[std::size_t(i)].separator() ? -1 : i;
        top = bottom;
    }
    return -1;
}

void PopupMenu::paint(SurfaceCanvas& canvas)
{
    fill_rect(canvas, 0, 0, canvas.width, canvas.height, MENU_FACE);
    fill_rect(canvas, 0, 0, canvas.width, 1, MENU_FRAME);
    fill_rect(canvas, 0, canvas.height - 1, canvas.width, canvas.height, MENU_FRAME);
    fill_rect(canvas, 0, 0, 1, canvas.height, MENU_FRAME);
    fill_rect(canvas, canvas.width - 1, 0, canvas.width, canvas.height, MENU_FRAME);
    TextEngine& text = text_engine();
    int font = text.font(menu_font());
    int top = BORDER;
    for (int i = 0; i < m_layout.shown; ++i) {
        const MenuEntry& entry = m_entries[std::size_t(i)];
        if (entry.separator()) {
            int middle = top + SEPARATOR_HEIGHT / 2;
            fill_rect(canvas, BORDER + 1, middle - 1, canvas.width - BORDER - 1, middle, SEPARATOR_DARK);
            fill_rect(canvas, BORDER + 1, middle, canvas.width - BORDER - 1, middle + 1, SEPARATOR_LIGHT);
            top += SEPARATOR_HEIGHT;
            continue;
        }
        bool lit = i == m_highlight;
        if (lit)
            fill_rect(canvas, BORDER, top, canvas.width - BORDER, top + m_layout.item_height, HIGHLIGHT);
        Color color = lit ? HIGHLIGHT_TEXT_COLOR : TEXT_COLOR;
        TextExtent extent = text.measure(font, entry.label);
        int text_top = top + (m_layout.item_height - extent.height) / 2;
        text.draw(canvas, font, color, 0, BORDER + TEXT_LEFT, text_top, entry.label);
        if (entry.accelerator_at >= 0) {
            std::string_view label = entry.label;
            int from = text.measure(font, label.substr(0, std::size_t(entry.accelerator_at))).width;
            int to = text.measure(font, label.substr(0, std::size_t(entry.accelerator_at) + 1)).width;
            int underline = text_top + extent.height - 1;
            fill_rect(canvas, BORDER + TEXT_LEFT + from, underline, BORDER + TEXT_LEFT + to, underline + 1,
                color_to_pixel(color));
        }
        top += m_layout.item_height;
    }
    m_dirty = false;
}

// Moves from an entry by step (1 down, -1 up) to the next item, round the ends; stays when there is none.
void PopupMenu::move_highlight(int from, int step)
{
    int count = m_layout.shown;
    for (int i = 1; i <= count; ++i) {
        int entry = ((from + step * i) % count + count) % count;
        if (!m_entries[std::size_t(entry)].separator()) {
            if (entry != m_highlight)
                m_dirty = true;
            m_highlight = entry;
            return;
        }
    }
}

void PopupMenu::choose(int entry)
{
    m_result = m_entries[std::size_t(entry)].number;
    m_finished = true;
}

void PopupMenu::dismiss()
{
    m_result = m_default;
    m_finished = true;
}

// Escape dismisses, Enter chooses the highlighted item, the arrows, Home and End move the highlight over the
// items, and an item's key chooses it.
void PopupMenu::handle_key(int key)
{
    int count = m_layout.shown;
    if (key == KEY_ESCAPE) {
        dismiss();
    } else if (key == KEY_ENTER) {
        if (m_highlight >= 0)
            choose(m_highlight);
        else
            dismiss();
    } else if (count == 0) {
        return;
    } else if (key == KEY_DOWN) {
        move_highlight(m_highlight < 0 ? -1 : m_highlight, 1);
    } else if (key == KEY_UP) {
        move_highlight(m_highlight < 0 ? count : m_highlight, -1);
    } else if (key == KEY_HOME) {
        move_highlight(-1, 1);
    } else if (key == KEY_END) {
        move_highlight(count, -1);
    } else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        for (int i = 0; i < count; ++i) {
            if (m_entries[std::size_t(i)].accelerator == char(key)) {
                choose(i);
                return;
            }
        }
    }
}

void PopupMenu::handle(const platform::Event& event)
{
    using platform::EventKind;
    switch (event.kind) {
    case EventKind::key_down:
        handle_key(event.virtual_key);
        break;
    case EventKind::mouse_move: {
        int entry = entry_at(event.x, event.y);
        if (entry != m_highlight) {
            m_highlight = entry;
            m_dirty = true;
        }
        break;
    }
    case EventKind::mouse_down:
        m_pressed_inside = event.x >= 0 && event.y >= 0 && event.x < m_layout.width && event.y < m_layout.height;
        if (!m_pressed_inside)
            dismiss();
        break;
    case EventKind::mouse_up:
        // Only a press that began on the menu chooses: the release of the click that opened it does not.
        if (m_pressed_inside) {
            int entry = entry_at(event.x, event.y);
            if (entry >= 0)
                choose(entry);
        }
        m_pressed_inside = false;
        break;
    case EventKind::focus_gained:
        m_had_focus = true;
        break;
    case EventKind::focus_lost:
        if (m_had_focus)
            dismiss();
        break;
    case EventKind::window_close:
    case EventKind::quit:
        dismiss();
        break;
    default:
        break;
    }
}

std::string PopupMenu::transcript() const
{
    std::string text = "Menu:";
    for (const MenuEntry& entry : m_entries) {
        text += '\n';
        if (entry.separator())
            text += '-';
        else
            text += std::to_string(entry.number) + ": " + entry.label;
    }
    return text;
}

void PopupMenu::answer(const std::optional<std::string>& line)
{
    dismiss();
    if (!line)
        return;
    std::string wanted = utf8_to_win1252(trimmed(*line));
    if (wanted.empty() || wanted == "<cancel>")
        return;
    int number = -1;
    auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
    bool is_number = error == std::errc() && end == wanted.data() + wanted.size();
    for (const MenuEntry& entry : m_entries) {
        if (entry.separator())
            continue;
        if (is_number ? entry.number == number : equal_ignoring_ascii_case(entry.label, wanted)) {
            m_result = entry.number;
            return;
        }
    }
}

}  // namespace quillon
