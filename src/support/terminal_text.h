// Game text written to a terminal: readable there, whatever bytes the game put in it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quillon {

// The game's Windows-1252 bytes as UTF-8, with every carriage return that no line feed follows written as a
// line feed (the game's own line breaks, such as an error's code line, would otherwise overwrite each other).
std::string terminal_text(std::string_view bytes);

// Writes the text as terminal_text and a line feed, then flushes the stream.
void write_terminal_line(std::FILE* stream, std::string_view bytes);

}  // namespace quillon
