// Opening a media file with FFmpeg as a plain file, whatever its name says.
#include "platform/ffmpeg/file_input.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <string>
#include <system_error>

namespace quillon::platform {

bool open_file_input(AVFormatContext** format, const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    std::string url = "file:" + file.string();
    int opened = avformat_open_input(format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    return opened >= 0;
}

}  // namespace quillon::platform
