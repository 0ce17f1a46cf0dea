// Dialog host: modal message boxes of the window system, or answers from a script when headless.
#pragma once

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


    // Headless runs: writes the text that stands for a dialog to the log and takes the next line of the answers
    // script; none when the script is used up, and always none where dialogs are shown to a person.
    virtual std::optional<std::string> scripted_answer(std::string_view text) { (void)text; return std::nullopt; }
    // Headless runs: a note to the log about an answer the dialog could not use.
    virtual void note(std::string_view text) { (void)text; }
};

// The caption of a message-form button as shown, without the "&" that marks its shortcut ("&&" shows one "&").
std::string button_label(std::string_view caption);

// A line of the answers script without the spaces, tabs and carriage returns around it.
std::string_view trimmed_answer(std::string_view line);

}  // namespace quillon::platform
