// Video file: the picture stream of a video file, decoded frame by frame and scaled to the size it is shown at.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace quillon::platform {

class VideoFile {
public:
    virtual ~VideoFile() = default;

    // The size the video is meant to be shown at (its pixels stretched by their aspect ratio).
    virtual int width() const = 0;
    virtual int height() const = 0;

    // Decodes the next frame into width * height pixels 0x00RRGGBB (rows top-down, no padding), scaled to
    // that size, and gives the time at which it shows, in milliseconds from the start. False at the end of the
    // video, or where the rest cannot be decoded.
    virtual bool next_frame(std::uint32_t* pixels, int width, int height, std::int64_t& time_ms) = 0;
    // The time that one frame shows, in milliseconds.
    virtual std::int64_t frame_duration_ms() const = 0;
    // Back to the start; false when that failed (nothing more is decoded then).
    virtual bool rewind() = 0;
};

// Opens the first video stream of a regular file; null when the file cannot be opened or holds no picture that
// decodes.
std::unique_ptr<VideoFile> open_video_file(const std::filesystem::path& file);

}  // namespace quillon::platform
