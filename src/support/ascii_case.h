// Letter case of ASCII text, as file names, library names and game strings compare it: only A to Z change, so
// the bytes of other characters (Windows-1252 or UTF-8) stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

inline char ascii_lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char ascii_upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ascii_lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = ascii_lower(c);
    return lower;
}

inline bool equal_ignoring_ascii_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}

inline bool ends_with_ignoring_ascii_case(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equal_ignoring_ascii_case(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace quillon
