// Fonts: font files that a game carries, made available to this process's text drawing.
#pragma once

#include <filesystem>
#include <optional>

namespace quillon::platform {

// Adds the fonts in a file for this process; true when at least one font was added.
bool register_font_file(const std::filesystem::path& file);

// Takes back the fonts this process added from files; true when that succeeded.
bool unregister_font_files();

// The file of the fixed-pitch font that stands for "Courier New", if the system has one.
std::optional<std::filesystem::path> fixed_pitch_font_file();

}  // namespace quillon::platform
