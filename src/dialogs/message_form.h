// MessageForm: the game's message form, with a text, up to three buttons drawn from images and, for input boxes,
// a one-line input field; the look comes from the message settings.
#pragma once

#include "dialogs/form.h"
#include "dialogs/form_widgets.h"
#include "dialogs/message_settings.h"
#include "support/bitmap.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// The pictures of the form, taken from the game's resources; what is missing is drawn by the form itself.
struct MessageImages {
    std::optional<Bitmap24> background; // stretched over the whole form
    std::vector<Bitmap24> buttons; // normal, mouse over, pressed; empty for the form's own images
    bool transparent_buttons = false; // each button picture's bottom-left colour is see-through
};

// The size of the form's own pictures.
inline constexpr int DEFAULT_BACKGROUND_WIDTH = 360;
inline constexpr int DEFAULT_BUTTON_WIDTH = 80;
inline constexpr int DEFAULT_BUTTON_HEIGHT = 25;

// How the answers script answers the form when headless: as the game's message form (a button's number, its
// label, "Escape", or Enter) or as a message box (a visible button's index from 0, or its label).
enum class MessageAnswers { form, box };

// Where everything stands in the client area.
struct MessageLayout {
    int width = 0; // the client area
    int height = 0;
    SurfaceRect label; // the text, word-wrapped to the label's width
    std::vector<std::string> lines; // the text's lines as wrapped
    std::array<SurfaceRect, 3> buttons; // buttons 1 to 3
    SurfaceRect field; // the input field, when shown
};

class MessageForm final : public Form {
public:
    // A message with the text ("#" already turned into line breaks) and the captions of buttons 1 to 3, where
    // an empty caption hides its button and "&" marks a shortcut.
    MessageForm(const MessageSettings& settings, MessageImages images, std::string text,
        const std::array<std::string, 3>& captions, MessageAnswers answers = MessageAnswers::form);
    // An input box: the prompt, button 2 "OK" alone, and the field holding the initial text, all selected.
    static MessageForm input_box(
        const MessageSettings& settings, MessageImages images, std::string prompt, std::string initial);

    // The number of the button that closed the form: 1 to 3, 1 for Enter, 0 for Escape or closing the window.
    int result() const { return m_result; }
    // The input field's text, however the form was closed.
    const std::string& input_text() const { return m_field.text(); }
    const MessageLayout& layout() const { return m_layout; }

    std::string caption() const override;
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    void paint(SurfaceCanvas& canvas) override;
    void handle(const platform::Event& event) override;
    bool needs_paint() const override { return m_dirty; }
    bool finished() const override { return m_finished; }
    std::string transcript() const override { return m_text; }
    void answer(const std::optional<std::string>& line) override;
    std::string answer_note() const override { return m_note; }

private:
    void lay_out();
    void close_with(int result);
    void type(char character);
    void move_focus();
    int focused_button() const;
    void answer_as_form(std::string_view answer);
    void answer_as_box(std::string_view answer);
    void paint_button(SurfaceCanvas& canvas, int index);

    MessageSettings m_settings; // the look, as it was when the form was made
    MessageImages m_images; // the pictures
    std::string m_text; // the label's text
    std::array<PushButton, 3> m_buttons; // buttons 1 to 3; hidden when their caption is empty
    bool m_input = false; // the input field shows
    TextField m_field; // its text
    MessageAnswers m_answers; // how a headless run answers
    MessageLayout m_layout; // where everything stands
    int m_focus = -1; // 0 to 2 a button, 3 the field, -1 nothing (as the form opens)
    bool m_alt = false; // an Alt key is down
    bool m_shift = false; // a Shift key is down
    int m_result = 0; // the number stored when the form closed
    bool m_finished = false; // the form has its answer
    bool m_dirty = true; // something changed since the last paint
    std::string m_note; // a note on an answer line that named nothing here
};

} // namespace quillon
