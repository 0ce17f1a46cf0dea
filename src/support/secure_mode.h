// Secure mode: the player's preference, read once at start, that keeps a game from changing the machine outside
// the current directory. Every service that refuses work in secure mode asks this one flag.
#pragma once

#include <string_view>

namespace quillon {

bool secure_mode();
void set_secure_mode(bool on);

// A name reaches outside the current directory when it holds either separator anywhere.
inline bool names_a_folder(std::string_view name) { return name.find_first_of("\\/") != std::string_view::npos; }

}  // namespace quillon
