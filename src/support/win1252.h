// Game strings are bytes in the Windows-1252 code page; the rest of the system speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Bytes that have no character in the code page (0x81, 0x8D, 0x8F, 0x90, 0x9D) pass through as U+0080..U+009F.
std::string win1252_to_utf8(std::string_view bytes);
// The same, appended to `out`, so that a caller can keep one buffer and convert without allocating.
void append_win1252_as_utf8(std::string_view bytes, std::string& out);

// One code point (at most U+10FFFF) in UTF-8, appended to `out`.
void append_utf8(std::string& out, char32_t code);
// The character of one byte of the code page.
char32_t win1252_code_point(unsigned char byte);

// Characters outside the code page become '?'; malformed UTF-8 bytes too.
std::string utf8_to_win1252(std::string_view text);

}  // namespace quillon
