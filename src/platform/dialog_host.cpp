// The dialogs a window system without its own message form or input box falls back to.
#include "platform/dialog_host.h"

#include <vector>

namespace quillon::platform {

int DialogHost::message_form(std::string_view caption, std::string_view text, const std::array<std::string, 3>& buttons)
{
    std::vector<std::string> labels;
    std::vector<int> numbers;
    for (int i = 0; i < 3; ++i) {
        if (buttons[i].empty())
            continue;
        labels.push_back(button_label(buttons[i]));
        numbers.push_back(i + 1);
    }
    if (labels.empty()) {
        static const std::string CLOSE[] = {"OK"};
        message_box(caption, text, CLOSE, 0);
        return 1;
    }
    int pressed = message_box(caption, text, labels, 0);
    return pressed >= 0 && pressed < static_cast<int>(numbers.size()) ? numbers[pressed] : 0;
}

// The prompt is shown, so that the player sees what the game asks, and the field keeps its initial text.
std::string DialogHost::input_box(std::string_view caption, std::string_view prompt, std::string_view initial)
{
    static const std::string CLOSE[] = {"OK"};
    message_box(caption, prompt, CLOSE, 0);
    return std::string(initial);
}

std::string button_label(std::string_view caption)
{
    std::string label;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        label += caption[i];
    }
    return label;
}

}  // namespace quillon::platform
