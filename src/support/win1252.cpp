// Game strings are bytes in the Windows-1252 code page; the rest of the system speaks UTF-8.
#include "support/win1252.h"

#include <cstdint>

namespace quillon {

namespace {

// Code points of the bytes 0x80 to 0x9F; the others equal their byte value.
constexpr char32_t HIGH_CONTROL_BLOCK[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char to_byte(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (int i = 0; i < 32; ++i) {
        if (HIGH_CONTROL_BLOCK[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

void append_utf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t win1252_code_point(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HIGH_CONTROL_BLOCK[byte - 0x80] : byte;
}

std::string win1252_to_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    append_win1252_as_utf8(bytes, out);
    return out;
}

void append_win1252_as_utf8(std::string_view bytes, std::string& out)
{
    for (char c : bytes) {
        auto byte = static_cast<std::uint8_t>(c);
        append_utf8(out, win1252_code_point(byte));
    }
}

std::string utf8_to_win1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<std::uint8_t>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            auto next = static_cast<std::uint8_t>(text[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        out += valid ? to_byte(code) : '?';
        i += valid ? length : 1;
    }
    return out;
}

}  // namespace quillon
