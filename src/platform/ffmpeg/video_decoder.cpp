// VideoDecoder: packets of the video stream through its decoder, frames through swscale into 0x00RRGGBB pixels.
#include "platform/ffmpeg/video_decoder.h"

#include "platform/ffmpeg/file_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <string>

namespace quillon::platform {

namespace {

// No video is shown larger than this on either side, whatever its stream claims.
constexpr int MAX_SIDE = 16384;

}  // namespace

std::unique_ptr<VideoFile> open_video_file(const std::filesystem::path& file)
{
    return VideoDecoder::open(file);
}

std::unique_ptr<VideoDecoder> VideoDecoder::open(const std::filesystem::path& file)
{
    av_log_set_level(AV_LOG_QUIET);
    std::unique_ptr<VideoDecoder> decoder(new VideoDecoder);
    decoder->m_file = file;
    if (!decoder->start() || !decoder->decode() || !decoder->rewind())
        return nullptr;
    return decoder;
}

VideoDecoder::~VideoDecoder()
{
    finish();
}

bool VideoDecoder::start()
{
    finish();
    if (!open_stream_decoder(&m_format, m_file, AVMEDIA_TYPE_VIDEO, m_stream, &m_codec))
        return false;
    AVStream* stream = m_format->streams[m_stream];
    int width = m_codec->width;
    int height = m_codec->height;
    if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE)
        return false;
    AVRational aspect = av_guess_sample_aspect_ratio(m_format, stream, nullptr);
    if (aspect.num > 0 && aspect.den > 0)
        width = int(std::clamp<long long>(std::llround(double(width) * aspect.num / aspect.den), 1, MAX_SIDE));
    m_width = width;
    m_height = height;
    AVRational rate = av_guess_frame_rate(m_format, stream, nullptr);
    if (rate.num > 0 && rate.den > 0)
        m_frame_duration_ms = std::clamp<std::int64_t>(std::llround(1000.0 * rate.den / rate.num), 1, 10000);
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    return m_packet && m_frame;
}

void VideoDecoder::finish()
{
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
    m_stream = -1;
    m_input_ended = false;
    m_ended = false;
    m_last_time_ms = -1;
}

// Going back to the start opens the file afresh, which every container allows.
bool VideoDecoder::rewind()
{
    return start();
}

// Decodes the next frame into m_frame; false at the end.
bool VideoDecoder::decode()
{
    while (!m_ended && m_codec) {
        av_frame_unref(m_frame);
        int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0)
            return true;
        if (received == AVERROR_EOF || m_input_ended) {
            m_ended = true;
            break;
        }
        // The decoder wants input: the next packet of the stream, or the end.
        int status = av_read_frame(m_format, m_packet);
        if (status < 0) {
            m_input_ended = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream)
            avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
    }
    return false;
}

bool VideoDecoder::next_frame(std::uint32_t* pixels, int width, int height, std::int64_t& time_ms)
{
    if (width <= 0 || height <= 0 || !decode())
        return false;
    // The frame's time from its timestamp, counted from the stream's start; one frame after the last without one.
    AVStream* stream = m_format->streams[m_stream];
    std::int64_t stamp = m_frame->best_effort_timestamp;
    std::int64_t time = m_last_time_ms + m_frame_duration_ms;
    if (stamp != AV_NOPTS_VALUE) {
        if (stream->start_time != AV_NOPTS_VALUE)
            stamp -= stream->start_time;
        time = av_rescale_q(stamp, stream->time_base, AVRational {1, 1000});
    }
    time_ms = m_last_time_ms = std::max<std::int64_t>(time, 0);
    m_scaler = sws_getCachedContext(m_scaler, m_frame->width, m_frame->height, AVPixelFormat(m_frame->format), width,
        height, AV_PIX_FMT_BGR0, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_scaler)
        return false;
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(pixels), nullptr, nullptr, nullptr};
    int pitches[4] = {width * 4, 0, 0, 0};
    if (sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, planes, pitches) != height)
        return false;
    // The padding byte that swscale fills is not always 0.
    std::for_each(pixels, pixels + std::size_t(width) * std::size_t(height), [](std::uint32_t& pixel) { pixel &= 0xFFFFFF; });
    return true;
}

}  // namespace quillon::platform
