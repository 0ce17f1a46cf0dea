// HeadlessDialogHost: message boxes without a window, answered from a scripted queue of answers.
#pragma once

#include "platform/dialog_host.h"

#include <deque>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace quillon::platform {

// Each message box writes its text and a line feed to the log (standard error) and takes the next answer
// from the queue. An answer is a button's index counted from 0, or its label (letter case ignored); an empty
// answer, or none left, presses the default button. The format of answers files is in docs/answers-format.md.
class HeadlessDialogHost final : public DialogHost {
public:
    HeadlessDialogHost();
    explicit HeadlessDialogHost(std::ostream& log);

    void push_answer(std::string answer);
    // Queues every line of the file as one answer; false when the file cannot be read.
    bool load_answers(const std::filesystem::path& file);
    std::size_t pending_answers() const { return m_answers.size(); }

    int message_box(std::string_view caption, std::string_view text, std::span<const std::string> buttons,
        int default_button) override;
    std::optional<std::string> scripted_answer(std::string_view text) override { return next_answer(text); }
    void note(std::string_view text) override;

private:
    // The next answer, or none when the script is used up; the dialog's text goes to the log first.
    std::optional<std::string> next_answer(std::string_view text);
    int button_for(std::string_view answer, std::span<const std::string> buttons, int default_button);

    std::ostream& m_log;                  // where texts and notes go
    std::deque<std::string> m_answers;    // answers not yet used, in order
};

}  // namespace quillon::platform
