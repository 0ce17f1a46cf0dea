// MediaDecoder: the first audio stream of a media file (MP3 and the like) decoded by FFmpeg and converted to
// stereo 16-bit at the mixing rate.
#include "platform/ffmpeg/media_decoder.h"

#include "platform/ffmpeg/file_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>

namespace quillon::platform {

std::unique_ptr<MediaDecoder> MediaDecoder::open(const std::filesystem::path& file)
{
    av_log_set_level(AV_LOG_QUIET);
    std::unique_ptr<MediaDecoder> decoder(new MediaDecoder);
    decoder->m_file = file;
    if (!decoder->start())
        return nullptr;
    return decoder;
}

MediaDecoder::~MediaDecoder()
{
    finish();
}

bool MediaDecoder::start()
{
    finish();
    if (!open_stream_decoder(&m_format, m_file, AVMEDIA_TYPE_AUDIO, m_stream, &m_codec) || m_codec->sample_rate <= 0)
        return false;
    if (m_codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&m_codec->ch_layout, m_codec->ch_layout.nb_channels);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&m_resampler, &stereo, AV_SAMPLE_FMT_S16, MIX_RATE, &m_codec->ch_layout,
            m_codec->sample_fmt, m_codec->sample_rate, 0, nullptr) < 0 || swr_init(m_resampler) < 0)
        return false;
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (m_format->duration > 0)
        m_length_ms = m_format->duration / (AV_TIME_BASE / 1000);
    return m_packet && m_frame;
}

void MediaDecoder::finish()
{
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    swr_free(&m_resampler);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
    m_stream = -1;
    m_input_ended = false;
    m_ended = false;
    m_pending.clear();
    m_pending_at = 0;
}

// Going back to the start opens the file afresh, which every container allows.
bool MediaDecoder::rewind()
{
    return start();
}

void MediaDecoder::convert(const AVFrame* frame)
{
    int room = swr_get_out_samples(m_resampler, frame ? frame->nb_samples : 0);
    if (room <= 0)
        return;
    std::size_t kept = m_pending.size() - m_pending_at;
    if (kept > 0 && m_pending_at > 0)
        std::memmove(m_pending.data(), m_pending.data() + m_pending_at, kept * sizeof(std::int16_t));
    m_pending.resize(kept + static_cast<std::size_t>(room) * 2);
    m_pending_at = 0;
    auto* out = reinterpret_cast<std::uint8_t*>(m_pending.data() + kept);
    int made = swr_convert(m_resampler, &out, room, frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
        frame ? frame->nb_samples : 0);
    m_pending.resize(kept + static_cast<std::size_t>(std::max(made, 0)) * 2);
}

// Decodes until some samples are pending or the music has ended; false at the end.
bool MediaDecoder::decode_more()
{
    while (!m_ended && m_codec) {
        int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            convert(m_frame);
            av_frame_unref(m_frame);
            if (m_pending.size() > m_pending_at)
                return true;
            continue;
        }
        if (received == AVERROR_EOF) {
            convert(nullptr);
            m_ended = true;
            return m_pending.size() > m_pending_at;
        }
        if (m_input_ended) {
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
    return m_pending.size() > m_pending_at;
}

std::size_t MediaDecoder::read(std::int16_t* frames_out, std::size_t frames)
{
    std::size_t done = 0;
    while (done < frames) {
        if (m_pending.size() == m_pending_at && !decode_more())
            break;
        std::size_t available = (m_pending.size() - m_pending_at) / 2;
        std::size_t take = std::min(available, frames - done);
        std::memcpy(frames_out + done * 2, m_pending.data() + m_pending_at, take * 2 * sizeof(std::int16_t));
        m_pending_at += take * 2;
        done += take;
    }
    return done;
}

}  // namespace quillon::platform
