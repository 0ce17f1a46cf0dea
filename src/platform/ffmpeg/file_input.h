// Opening a media file with FFmpeg as a plain file, whatever its name says.
#pragma once

#include <filesystem>

extern "C" {
#include <libavutil/avutil.h>
}

struct AVCodecContext;
struct AVFormatContext;

namespace quillon::platform {

// Opens the regular file for demuxing through FFmpeg's file protocol only, so that a name such as "pipe:0" or
// "http://..." reads no pipe or network. False when it is not a regular file or cannot be opened.
bool open_file_input(AVFormatContext** format, const std::filesystem::path& file);

// Opens the file as above and a decoder for its best stream of the kind; stream is that stream's index. False
// when any step fails; what was made so far is left in format and codec for the caller to free.
bool open_stream_decoder(AVFormatContext** format, const std::filesystem::path& file, AVMediaType kind, int& stream,
    AVCodecContext** codec);

}  // namespace quillon::platform
