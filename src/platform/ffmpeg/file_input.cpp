// Opening a media file with FFmpeg as a plain file, whatever its name says.
#include "platform/ffmpeg/file_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
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

bool open_stream_decoder(AVFormatContext** format, const std::filesystem::path& file, AVMediaType kind, int& stream,
    AVCodecContext** codec)
{
    if (!open_file_input(format, file) || avformat_find_stream_info(*format, nullptr) < 0)
        return false;
    const AVCodec* decoder = nullptr;
    stream = av_find_best_stream(*format, kind, -1, -1, &decoder, 0);
    if (stream < 0 || !decoder)
        return false;
    *codec = avcodec_alloc_context3(decoder);
    return *codec && avcodec_parameters_to_context(*codec, (*format)->streams[stream]->codecpar) >= 0
        && avcodec_open2(*codec, decoder, nullptr) >= 0;
}

}  // namespace quillon::platform
