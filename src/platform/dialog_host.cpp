// The helpers of button captions and answer lines that dialog hosts share.
#include "platform/dialog_host.h"

namespace quillon::platform {

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

std::string_view trimmed_answer(std::string_view line)
{
    constexpr std::string_view SPACE = " \t\r";
    std::size_t first = line.find_first_not_of(SPACE);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(SPACE) - first + 1);
}

}  // namespace quillon::platform
