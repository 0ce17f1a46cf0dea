// The pieces every dialog the runner draws itself is made of: filled boxes, captions with a "&" shortcut, the
// standard push button and a one-line text field, each a small model that follows the form's events and a
// painter that draws it with the text engine.
#pragma once

#include "graphics/surface.h"
#include "graphics/text_engine.h"
#include "platform/input.h"
#include "support/bitmap.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// The font of the runner's own dialogs. The widgets take fonts by description rather than by the engine's
// handle, which asking the engine for other fonts can void.
inline const TextFont DIALOG_FONT {};

// The standard colours of dialogs (red in the low byte).
inline constexpr Color DIALOG_FACE = make_color(212, 208, 200);
inline constexpr Color DIALOG_TEXT = make_color(0, 0, 0);

// Virtual keys the widgets and forms react to.
inline constexpr int KEY_ENTER = 13;
inline constexpr int KEY_SHIFT = 16;
inline constexpr int KEY_ALT = 18;
inline constexpr int KEY_ESCAPE = 27;
inline constexpr int KEY_PAGE_UP = 33;
inline constexpr int KEY_PAGE_DOWN = 34;
inline constexpr int KEY_END = 35;
inline constexpr int KEY_HOME = 36;
inline constexpr int KEY_LEFT = 37;
inline constexpr int KEY_UP = 38;
inline constexpr int KEY_RIGHT = 39;
inline constexpr int KEY_DOWN = 40;
inline constexpr int KEY_DELETE = 46;

// Characters that text events carry for keys.
inline constexpr char CHAR_BACKSPACE = 8;
inline constexpr char CHAR_TAB = 9;
inline constexpr char CHAR_ENTER = 13;
inline constexpr char CHAR_ESCAPE = 27;

// Fills the part of the box inside the canvas's clip rectangle.
void fill_box(SurfaceCanvas& canvas, SurfaceRect box, Color color);
// A 1-pixel frame just inside the box.
void frame_box(SurfaceCanvas& canvas, SurfaceRect box, Color color);
// Every other pixel of the frame just inside the box: the mark of the keyboard's focus.
void draw_focus_rectangle(SurfaceCanvas& canvas, SurfaceRect box, Color color);

// Draws the picture stretched over the box (each pixel takes the picture's pixel under its centre), inside the
// clip rectangle; a transparent picture leaves the pixels of its bottom-left colour alone.
void draw_bitmap(SurfaceCanvas& canvas, const Bitmap24& picture, SurfaceRect box, bool transparent);

// The shortcut of a caption: the character after its last "&", or 0 when there is none.
char caption_shortcut(std::string_view caption);
// The size of the caption as shown (without its "&" marks).
TextExtent measure_caption(TextEngine& engine, const TextFont& font, std::string_view caption);
// Draws the caption, without its "&" marks, centred in the box; the shortcut character is underlined.
void draw_caption(SurfaceCanvas& canvas, TextEngine& engine, const TextFont& font, Color color, SurfaceRect box,
    std::string_view caption);

// How a button looks at one moment.
enum class ButtonFace { normal, hover, pressed };

// A push button's state under the mouse. A click is a press and a release both over the button.
class PushButton {
public:
    SurfaceRect bounds; // in the form's client area
    std::string caption; // "&" marks the shortcut
    bool visible = true; // hidden buttons take no mouse
    bool focused = false; // the keyboard's focus is on it (the form moves it)

    // Follows a mouse event; true when it completes a click on the button.
    bool handle_mouse(const platform::Event& event);
    ButtonFace face() const;
    bool hovered() const { return visible && m_over; }

private:
    bool contains(int x, int y) const;

    bool m_over = false; // the pointer is over the button
    bool m_held = false; // the left button went down on it and is still down
};

// Paints a standard push button: a raised grey face with the caption, lighter under the mouse, sunken while
// pressed, and a dark outline with a dotted rectangle around the caption while focused.
void paint_push_button(SurfaceCanvas& canvas, TextEngine& engine, const TextFont& font, const PushButton& button);

// The text of a one-line field: Windows-1252 bytes, a caret, and an initial text that is all selected until
// the first key, so that typing replaces it.
class TextField {
public:
    // The text with the caret at its end; all selected when `select_all`.
    void set_text(std::string text, bool select_all);
    const std::string& text() const { return m_text; }
    std::size_t caret() const { return m_caret; }
    bool all_selected() const { return m_all_selected && !m_text.empty(); }

    // Typed characters (code 32 and above), Backspace, Delete, Left, Right, Home and End; true when the event
    // was one of them. Other keys (Enter, Escape, Tab) are left to the form.
    bool handle(const platform::Event& event);

private:
    void type(char character);
    void remove_selection();

    std::string m_text; // what the field holds
    std::size_t m_caret = 0; // the caret stands before this byte
    bool m_all_selected = false; // the whole text is selected
};

// How a text field is painted.
struct TextFieldLook {
    TextFont font = DIALOG_FONT; // the text's font
    Color text = DIALOG_TEXT; // the text's colour
    Color background = make_color(255, 255, 255);
    bool focused = true; // shows the caret or the selection
};

// The height of a field in the font: the text's height and a margin above and below.
int text_field_height(TextEngine& engine, const TextFont& font);
// Paints the field: its background with a sunken edge, the text from the left (scrolled so that the caret
// stays in sight), and the selection or the caret when focused.
void paint_text_field(
    SurfaceCanvas& canvas, TextEngine& engine, SurfaceRect box, const TextField& field, const TextFieldLook& look);

} // namespace quillon
