// MediaDecoder: the first audio stream of a media file (MP3 and the like) decoded by FFmpeg and converted to
// stereo 16-bit at the mixing rate.
#pragma once

#include "platform/music_decoder.h"

#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVPacket;
struct AVFrame;

namespace quillon::platform {

class MediaDecoder final : public MusicDecoder {
public:
    // Null when the file cannot be opened or has no audio stream that can be decoded.
    static std::unique_ptr<MediaDecoder> open(const std::filesystem::path& file);
    ~MediaDecoder() override;
    MediaDecoder(const MediaDecoder&) = delete;
    MediaDecoder& operator=(const MediaDecoder&) = delete;

    std::size_t read(std::int16_t* frames_out, std::size_t frames) override;
    bool rewind() override;
    std::int64_t length_ms() const override { return m_length_ms; }

private:
    MediaDecoder() = default;
    bool start();
    void finish();
    bool decode_more();
    void convert(const AVFrame* frame);

    std::filesystem::path m_file;           // opened again to go back to the start
    std::int64_t m_length_ms = 0;           // from the container
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_resampler = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;                      // the audio stream's index
    bool m_input_ended = false;             // every packet has gone to the decoder
    bool m_ended = false;                   // the decoder and the resampler are drained
    std::vector<std::int16_t> m_pending;    // converted samples not yet read
    std::size_t m_pending_at = 0;           // the first unread sample in m_pending
};

}  // namespace quillon::platform
