// A tiny video file written with libavformat for the video tests: raw RGB frames in a NUT file, 25 per second,
// frame i with its top half red i * 60 and its bottom half blue 200; optionally a sound of raw stereo samples.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace quillon::testing {

inline constexpr int VIDEO_FIXTURE_WIDTH = 8;
inline constexpr int VIDEO_FIXTURE_HEIGHT = 4;

// The pixel 0x00RRGGBB of frame i at row y.
inline std::uint32_t video_fixture_pixel(int frame, int y)
{
    return y < VIDEO_FIXTURE_HEIGHT / 2 ? std::uint32_t(frame * 60) << 16 : 200u;
}

// Writes `frames` frames and, when sound_ms is above 0, that long a quiet tone at 44100 Hz; false when the file
// cannot be written.
inline bool write_video_fixture(const std::filesystem::path& file, int frames, int sound_ms = 0)
{
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, "nut", file.c_str()) < 0)
        return false;
    AVStream* stream = avformat_new_stream(out, nullptr);
    bool written = stream != nullptr;
    if (written) {
        stream->time_base = {1, 25};
        stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        stream->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
        stream->codecpar->format = AV_PIX_FMT_RGB24;
        stream->codecpar->codec_tag = avcodec_pix_fmt_to_codec_tag(AV_PIX_FMT_RGB24);
        stream->codecpar->width = VIDEO_FIXTURE_WIDTH;
        stream->codecpar->height = VIDEO_FIXTURE_HEIGHT;
    }
    AVStream* sound = nullptr;
    if (written && sound_ms > 0) {
        sound = avformat_new_stream(out, nullptr);
        written = sound != nullptr;
    }
    if (sound) {
        sound->time_base = {1, 44100};
        sound->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
        sound->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
        sound->codecpar->sample_rate = 44100;
        sound->codecpar->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
        sound->codecpar->bits_per_coded_sample = 16;
        sound->codecpar->block_align = 4;
    }
    if (written)
        written = avio_open(&out->pb, file.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    for (int at = 0; written && sound && at < sound_ms * 44100 / 1000; at += 4410) {
        int count = std::min(4410, sound_ms * 44100 / 1000 - at);
        AVPacket* packet = av_packet_alloc();
        written = packet && av_new_packet(packet, count * 4) >= 0;
        if (written) {
            auto* samples = reinterpret_cast<std::int16_t*>(packet->data);
            for (int i = 0; i < count * 2; ++i)
                samples[i] = std::int16_t((at * 2 + i) % 200 < 100 ? 1000 : -1000);
            packet->stream_index = sound->index;
            packet->pts = packet->dts = at;
            packet->duration = count;
            packet->flags |= AV_PKT_FLAG_KEY;
            av_packet_rescale_ts(packet, AVRational {1, 44100}, sound->time_base);
            written = av_interleaved_write_frame(out, packet) >= 0;
        }
        av_packet_free(&packet);
    }
    for (int i = 0; written && i < frames; ++i) {
        AVPacket* packet = av_packet_alloc();
        written = packet && av_new_packet(packet, VIDEO_FIXTURE_WIDTH * VIDEO_FIXTURE_HEIGHT * 3) >= 0;
        if (written) {
            for (int y = 0; y < VIDEO_FIXTURE_HEIGHT; ++y) {
                for (int x = 0; x < VIDEO_FIXTURE_WIDTH; ++x) {
                    std::uint32_t pixel = video_fixture_pixel(i, y);
                    std::uint8_t* rgb = packet->data + (y * VIDEO_FIXTURE_WIDTH + x) * 3;
                    rgb[0] = std::uint8_t(pixel >> 16);
                    rgb[1] = std::uint8_t(pixel >> 8);
                    rgb[2] = std::uint8_t(pixel);
                }
            }
            packet->stream_index = stream->index;
            packet->pts = packet->dts = i;
            packet->duration = 1;
            packet->flags |= AV_PKT_FLAG_KEY;
            av_packet_rescale_ts(packet, AVRational {1, 25}, stream->time_base);
            written = av_interleaved_write_frame(out, packet) >= 0;
        }
        av_packet_free(&packet);
    }
    if (written)
        written = av_write_trailer(out) >= 0;
    if (out->pb)
        avio_closep(&out->pb);
    avformat_free_context(out);
    return written;
}

}  // namespace quillon::testing
