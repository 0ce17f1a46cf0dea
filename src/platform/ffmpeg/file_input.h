// Opening a media file with FFmpeg as a plain file, whatever its name says.
#pragma once

#include <filesystem>

struct AVFormatContext;

namespace quillon::platform {

// Opens the regular file for demuxing through FFmpeg's file protocol only, so that a name such as "pipe:0" or
// "http://..." reads no pipe or network. False when it is not a regular file or cannot be opened.
bool open_file_input(AVFormatContext** format, const std::filesystem::path& file);

}  // namespace quillon::platform
