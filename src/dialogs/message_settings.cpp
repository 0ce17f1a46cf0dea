// The one set of message-form settings of the run.
#include "dialogs/message_settings.h"

namespace quillon {

void MessageFont::set(std::string_view new_name, std::int32_t new_size, std::int32_t new_color, std::int32_t style)
{
    if (!new_name.empty())
        name = new_name;
    if (new_size >= 0)
        size = new_size;
    if (new_color >= 0)
        color = new_color;
    if (style >= 0 && style <= 3) {
        bold = (style & 1) != 0;
        italic = (style & 2) != 0;
    }
}

MessageSettings& message_settings()
{
    static MessageSettings s_settings;
    return s_settings;
}

}  // namespace quillon
