// VideoDecoder: the first video stream of a file decoded by FFmpeg and scaled by swscale to 32-bit pixels.
#pragma once

#include "platform/video_file.h"

struct AVFormatContext;
struct AVCodecContext;
struct SwsContext;
struct AVPacket;
struct AVFrame;

namespace quillon::platform {

class VideoDecoder final : public VideoFile {
public:
    // Null when the file cannot be opened or has no video stream whose first frame decodes.
    static std::unique_ptr<VideoDecoder> open(const std::filesystem::path& file);
    ~VideoDecoder() override;
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    bool next_frame(std::uint32_t* pixels, int width, int height, std::int64_t& time_ms) override;
    std::int64_t frame_duration_ms() const override { return m_frame_duration_ms; }
    bool rewind() override;

private:
    VideoDecoder() = default;
    bool start();
    void finish();
    bool decode();

    std::filesystem::path m_file;          // opened again to go back to the start
    int m_width = 0;                       // shown width, the pixels stretched by their aspect ratio
    int m_height = 0;                      // shown height
    std::int64_t m_frame_duration_ms = 40; // from the stream's frame rate
    std::int64_t m_last_time_ms = -1;      // of the frame decoded last
    AVFormatContext* m_format = nullptr;   // the open file
    AVCodecContext* m_codec = nullptr;     // the video stream's decoder
    SwsContext* m_scaler = nullptr;        // to 32-bit pixels at the size asked for
    AVPacket* m_packet = nullptr;          // read from the file
    AVFrame* m_frame = nullptr;            // the frame decoded last
    int m_stream = -1;                     // the video stream's index
    bool m_input_ended = false;            // every packet has gone to the decoder
    bool m_ended = false;                  // the decoder is drained
};

}  // namespace quillon::platform
