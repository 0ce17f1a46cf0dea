// Test fixtures for graphics: picture files on disk, GIFs built frame by frame, and reading surface pixels.
#pragma once

#include "graphics/surface.h"
#include "support/bitmap.h"
#include "support/game_error.h"

#include <gif_lib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillon::test {

constexpr Color RED = make_color(255, 0, 0);
constexpr Color GREEN = make_color(0, 255, 0);
constexpr Color BLUE = make_color(0, 0, 255);
constexpr Color WHITE = make_color(255, 255, 255);
constexpr Color BLACK = 0;

// A directory of its own below the system's temporary directory, removed with the fixture.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("quillon_graphics_" + name + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDirectory() { std::filesystem::remove_all(m_path); }

    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::filesystem::path file = m_path / name;
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file;
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Collects the game errors reported while it lives.
class ErrorLog {
public:
    ErrorLog()
        : m_previous(set_game_error_handler([this](std::string_view message, bool) { messages.emplace_back(message); }))
    {
    }
    ~ErrorLog() { set_game_error_handler(m_previous); }

    std::vector<std::string> messages;  // in the order reported

private:
    GameErrorHandler m_previous;
};

inline int write_gif_bytes(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

// One full-screen frame of a test GIF: palette indices (0 red, 1 green, 2 blue, 3 see-through) and disposal.
struct GifFrame {
    std::vector<GifByteType> indices;  // width * height
    int disposal;                      // DISPOSE_DO_NOT accumulates
};

inline std::vector<std::uint8_t> make_gif(int width, int height, const std::vector<GifFrame>& frames)
{
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write_gif_bytes, &error);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
    gif->SWidth = width;
    gif->SHeight = height;
    gif->SColorResolution = 8;
    gif->SColorMap = GifMakeMapObject(4, colors);
    for (const GifFrame& frame : frames) {
        SavedImage* saved = GifMakeSavedImage(gif, nullptr);
        saved->ImageDesc = {0, 0, width, height, false, nullptr};
        saved->RasterBits = static_cast<GifByteType*>(malloc(frame.indices.size()));
        std::memcpy(saved->RasterBits, frame.indices.data(), frame.indices.size());
        GraphicsControlBlock control {frame.disposal, false, 0, 3};
        EGifGCBToSavedExtension(&control, gif, gif->ImageCount - 1);
    }
    // EGifSpew writes and closes the file but leaves what the images were built from to the caller.
    SavedImage* images = gif->SavedImages;
    int count = gif->ImageCount;
    ColorMapObject* palette = gif->SColorMap;
    EGifSpew(gif);
    for (int i = 0; i < count; ++i) {
        free(images[i].RasterBits);
        GifFreeExtensions(&images[i].ExtensionBlockCount, &images[i].ExtensionBlocks);
    }
    free(images);
    GifFreeMapObject(palette);
    return out;
}

// The colour at a pixel of a surface.
inline Color color_at(DDSurface& surface, int x, int y)
{
    return pixel_to_color(surface.GetCanvas().at(x, y));
}

}  // namespace quillon::test
