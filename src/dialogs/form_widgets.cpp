// The standard pieces of the runner's own dialogs: boxes, captions, push buttons and one-line text fields.
#include "dialogs/form_widgets.h"

#include "platform/dialog_host.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr Color LIGHT_EDGE = make_color(255, 255, 255);
constexpr Color SHADOW_EDGE = make_color(128, 128, 128);
constexpr Color DARK_EDGE = make_color(64, 64, 64);
constexpr Color HOVER_FACE = make_color(229, 226, 220);
constexpr Color SELECTION = make_color(0, 0, 128);
constexpr Color SELECTED_TEXT = make_color(255, 255, 255);
constexpr int FIELD_MARGIN = 4; // between the field's edge and its text, on every side

void put_pixel(SurfaceCanvas& canvas, int x, int y, Color color)
{
    const SurfaceRect& clip = canvas.clip;
    if (x >= std::max(clip.left, 0) && x < std::min(clip.right, canvas.width) && y >= std::max(clip.top, 0)
        && y < std::min(clip.bottom, canvas.height))
        canvas.at(x, y) = color_to_pixel(color);
}

// Two edges lit from the top left: `top_left` along the top and left, `bottom_right` along the others.
void bevel(SurfaceCanvas& canvas, SurfaceRect box, Color top_left, Color bottom_right)
{
    fill_box(canvas, { box.left, box.top, box.right, box.top + 1 }, top_left);
    fill_box(canvas, { box.left, box.top, box.left + 1, box.bottom }, top_left);
    fill_box(canvas, { box.left, box.bottom - 1, box.right, box.bottom }, bottom_right);
    fill_box(canvas, { box.right - 1, box.top, box.right, box.bottom }, bottom_right);
}

SurfaceRect inset(SurfaceRect box, int by)
{
    return { box.left + by, box.top + by, box.right - by, box.bottom - by };
}

} // namespace

void draw_focus_rectangle(SurfaceCanvas& canvas, SurfaceRect box, Color color)
{
    for (int x = box.left; x < box.right; x += 2) {
        put_pixel(canvas, x, box.top, color);
        put_pixel(canvas, x, box.bottom - 1, color);
    }
    for (int y = box.top; y < box.bottom; y += 2) {
        put_pixel(canvas, box.left, y, color);
        put_pixel(canvas, box.right - 1, y, color);
    }
}

namespace {

// Where the shortcut character stands in the shown label: its index, or npos.
std::size_t shortcut_index(std::string_view caption)
{
    std::size_t shown = 0, found = std::string_view::npos;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            found = shown;
        }
        ++shown;
    }
    return found;
}

} // namespace

void fill_box(SurfaceCanvas& canvas, SurfaceRect box, Color color)
{
    int left = std::max({ box.left, canvas.clip.left, 0 });
    int top = std::max({ box.top, canvas.clip.top, 0 });
    int right = std::min({ box.right, canvas.clip.right, canvas.width });
    int bottom = std::min({ box.bottom, canvas.clip.bottom, canvas.height });
    std::uint32_t pixel = color_to_pixel(color);
    for (int y = top; y < bottom; ++y)
        std::fill_n(&canvas.at(left, y), std::max(right - left, 0), pixel);
}

void frame_box(SurfaceCanvas& canvas, SurfaceRect box, Color color)
{
    bevel(canvas, box, color, color);
}

void draw_bitmap(SurfaceCanvas& canvas, const Bitmap24& picture, SurfaceRect box, bool transparent)
{
    if (picture.width <= 0 || picture.height <= 0 || box.width() <= 0 || box.height() <= 0)
        return;
    int left = std::max({ box.left, canvas.clip.left, 0 });
    int top = std::max({ box.top, canvas.clip.top, 0 });
    int right = std::min({ box.right, canvas.clip.right, canvas.width });
    int bottom = std::min({ box.bottom, canvas.clip.bottom, canvas.height });
    Color key = picture.transparent_color();
    for (int y = top; y < bottom; ++y) {
        int from_y
            = static_cast<int>((2 * std::int64_t(y - box.top) + 1) * picture.height / (2 * std::int64_t(box.height())));
        for (int x = left; x < right; ++x) {
            int from_x = static_cast<int>(
                (2 * std::int64_t(x - box.left) + 1) * picture.width / (2 * std::int64_t(box.width())));
            Color color = picture.pixel(from_x, from_y);
            if (!transparent || color != key)
                canvas.at(x, y) = color_to_pixel(color);
        }
    }
}

char caption_shortcut(std::string_view caption)
{
    std::size_t mark = caption.rfind('&');
    return mark == std::string_view::npos || mark + 1 >= caption.size() ? 0 : caption[mark + 1];
}

TextExtent measure_caption(TextEngine& engine, const TextFont& font, std::string_view caption)
{
    return engine.measure(engine.font(font), platform::button_label(caption));
}

void draw_caption(SurfaceCanvas& canvas, TextEngine& engine, const TextFont& font, Color color, SurfaceRect box,
    std::string_view caption)
{
    std::string label = platform::button_label(caption);
    int handle = engine.font(font);
    TextExtent extent = engine.measure(handle, label);
    int x = box.left + (box.width() - extent.width) / 2;
    int y = box.top + (box.height() - extent.height) / 2;
    engine.draw(canvas, handle, color, 0, x, y, label);
    // The shortcut is drawn once more over itself in the underlined font, which places the line as the font does.
    std::size_t index = shortcut_index(caption);
    if (index == std::string_view::npos || index >= label.size() || label[index] == ' ')
        return;
    int before = engine.measure(handle, std::string_view(label).substr(0, index)).width;
    TextFont underlined = font;
    underlined.style |= FONT_UNDERLINE;
    engine.draw(canvas, engine.font(underlined), color, 0, x + before, y, std::string_view(label).substr(index, 1));
}

bool PushButton::contains(int x, int y) const
{
    return x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom;
}

bool PushButton::handle_mouse(const platform::Event& event)
{
    if (!visible) {
        m_over = m_held = false;
        return false;
    }
    switch (event.kind) {
    case platform::EventKind::mouse_move:
        m_over = contains(event.x, event.y);
        return false;
    case platform::EventKind::mouse_down:
        m_over = contains(event.x, event.y);
        if (event.button == platform::MOUSE_LEFT)
            m_held = m_over;
        return false;
    case platform::EventKind::mouse_up: {
        m_over = contains(event.x, event.y);
        if (event.button != platform::MOUSE_LEFT)
            return false;
        bool clicked = m_held && m_over;
        m_held = false;
        return clicked;
    }
    case platform::EventKind::focus_lost:
        m_held = m_over = false;
        return false;
    default:
        return false;
    }
}

ButtonFace PushButton::face() const
{
    if (m_over && m_held)
        return ButtonFace::pressed;
    return m_over ? ButtonFace::hover : ButtonFace::normal;
}

void paint_push_button(SurfaceCanvas& canvas, TextEngine& engine, const TextFont& font, const PushButton& button)
{
    if (!button.visible)
        return;
    SurfaceRect box = button.bounds;
    ButtonFace face = button.face();
    fill_box(canvas, box, face == ButtonFace::hover ? HOVER_FACE : DIALOG_FACE);
    SurfaceRect edge = box;
    if (button.focused) {
        frame_box(canvas, box, DARK_EDGE);
        edge = inset(box, 1);
    }
    if (face == ButtonFace::pressed) {
        frame_box(canvas, edge, SHADOW_EDGE);
    } else {
        bevel(canvas, edge, LIGHT_EDGE, DARK_EDGE);
        bevel(canvas, inset(edge, 1), DIALOG_FACE, SHADOW_EDGE);
    }
    // Pressed, the caption moves a pixel down and right, as if pushed in.
    int shift = face == ButtonFace::pressed ? 1 : 0;
    SurfaceRect caption_box { box.left + shift, box.top + shift, box.right + shift, box.bottom + shift };
    draw_caption(canvas, engine, font, DIALOG_TEXT, caption_box, button.caption);
    if (button.focused)
        draw_focus_rectangle(canvas, inset(box, 4), DIALOG_TEXT);
}

void TextField::set_text(std::string text, bool select_all)
{
    m_text = std::move(text);
    m_caret = m_text.size();
    m_all_selected = select_all;
}

void TextField::remove_selection()
{
    if (all_selected()) {
        m_text.clear();
        m_caret = 0;
    }
    m_all_selected = false;
}

void TextField::type(char character)
{
    if (character == CHAR_BACKSPACE) {
        if (all_selected())
            return remove_selection();
        m_all_selected = false;
        if (m_caret > 0)
            m_text.erase(--m_caret, 1);
        return;
    }
    remove_selection();
    m_text.insert(m_caret++, 1, character);
}

bool TextField::handle(const platform::Event& event)
{
    if (event.kind == platform::EventKind::text) {
        bool used = false;
        for (char character : event.text) {
            unsigned char code = static_cast<unsigned char>(character);
            if (character == CHAR_BACKSPACE || (code >= 32 && code != 127)) {
                type(character);
                used = true;
            }
        }
        return used;
    }
    if (event.kind != platform::EventKind::key_down)
        return false;
    bool selected = all_selected();
    switch (event.virtual_key) {
    case KEY_DELETE:
        if (selected)
            remove_selection();
        else if (m_caret < m_text.size())
            m_text.erase(m_caret, 1);
        break;
    case KEY_LEFT:
        m_caret = selected ? 0 : m_caret - (m_caret > 0 ? 1 : 0);
        break;
    case KEY_RIGHT:
        m_caret = selected ? m_text.size() : std::min(m_caret + 1, m_text.size());
        break;
    case KEY_HOME:
        m_caret = 0;
        break;
    case KEY_END:
        m_caret = m_text.size();
        break;
    default:
        return false;
    }
    m_all_selected = false;
    return true;
}

int text_field_height(TextEngine& engine, const TextFont& font)
{
    return engine.line_height(engine.font(font)) + 2 * FIELD_MARGIN;
}

void paint_text_field(
    SurfaceCanvas& canvas, TextEngine& engine, SurfaceRect box, const TextField& field, const TextFieldLook& look)
{
    fill_box(canvas, box, look.background);
    bevel(canvas, box, SHADOW_EDGE, LIGHT_EDGE);
    SurfaceRect inner = inset(box, FIELD_MARGIN);
    std::string_view text = field.text();
    int font = engine.font(look.font);
    int caret_x = engine.measure(font, text.substr(0, field.caret())).width;
    // 1. The text scrolls left so that the caret stays inside the field.
    int scroll = std::max(caret_x - (inner.width() - 1), 0);
    SurfaceCanvas inside = canvas;
    inside.clip = { std::max(canvas.clip.left, inner.left), std::max(canvas.clip.top, box.top + 1),
        std::min(canvas.clip.right, inner.right), std::min(canvas.clip.bottom, box.bottom - 1) };
    int height = engine.line_height(font);
    int top = box.top + (box.height() - height) / 2;
    int left = inner.left - scroll;
    // 2. The selection: the whole text on the highlight.
    bool selected = look.focused && field.all_selected();
    if (selected) {
        int width = engine.measure(font, text).width;
        fill_box(inside, { left, top, left + width, top + height }, SELECTION);
    }
    engine.draw(inside, font, selected ? SELECTED_TEXT : look.text, 0, left, top, text);
    // 3. The caret: a line the text's height before the character it stands at.
    if (look.focused && !selected)
        fill_box(inside, { left + caret_x, top, left + caret_x + 1, top + height }, look.text);
}

} // namespace quillon
