// Game text with "#" line breaks: every "#" is a line break (a carriage return), "\#" is a "#" itself.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Appends the text with its "#" turned into line breaks; `out` keeps its capacity between uses.
inline void append_hash_text(std::string_view source, std::string& out)
{
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\\' && i + 1 < source.size() && source[i + 1] == '#') {
            out += '#';
            ++i;
        } else {
            out += source[i] == '#' ? '\r' : source[i];
        }
    }
}

}  // namespace quillon
