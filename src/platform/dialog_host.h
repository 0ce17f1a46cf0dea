// Dialog host: modal message boxes of the window system, or answers from a script when headless.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon::platform {

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Shows a modal box with a caption, a text (both Windows-1252 bytes) and buttons labelled left to right,
    // and returns the index of the button pressed. Closing the box without a button presses default_button.
    virtual int message_box(std::string_view caption, std::string_view text, std::span<const std::string> buttons,
        int default_button) = 0;

    // The game's message form: buttons 1 to 3 with these captions ("&" marks a shortcut, an empty caption hides
    // the button). Returns the number of the button chosen, 1 for Enter and 0 for Escape. By default the form
    // is a message box of the visible buttons.
    virtual int message_form(std::string_view caption, std::string_view text, const std::array<std::string, 3>& buttons);
    // An input box: returns the text in its field when it closes, however it closes. By default the prompt
    // shows in a message box, no text can be typed and the initial text is returned.
    virtual std::string input_box(std::string_view caption, std::string_view prompt, std::string_view initial);

    // Headless runs: writes the text that stands for a dialog to the log and takes the next line of the answers
    // script; none when the script is used up, and always none where dialogs are shown to a person.
    virtual std::optional<std::string> scripted_answer(std::string_view text) { (void)text; return std::nullopt; }
    // Headless runs: writes a remark on an answer of the script, and a line feed, to the log.
    virtual void note(std::string_view text) { (void)text; }
};

// The caption of a message-form button as shown, without the "&" that marks its shortcut ("&&" shows one "&").
std::string button_label(std::string_view caption);

}  // namespace quillon::platform
