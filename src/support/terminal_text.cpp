// Game text written to a terminal.
#include "support/terminal_text.h"

#include "support/win1252.h"

namespace quillon {

std::string terminal_text(std::string_view bytes)
{
    std::string text = win1252_to_utf8(bytes);
    for (std::size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))
            text[at] = '\n';
    return text;
}

void write_terminal_line(std::FILE* stream, std::string_view bytes)
{
    std::string text = terminal_text(bytes);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace quillon
