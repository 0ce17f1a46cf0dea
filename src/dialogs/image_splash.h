// ImageSplash: a picture shown on the splash window, at its own size or fitted to the whole screen.
#pragma once

#include "dialogs/splash_form.h"
#include "support/bitmap.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quillon {

class ImageSplash final : public SplashForm {
public:
    // The name is the file's as the game gave it (Windows-1252 bytes), for the transcript. Nothing when the file is not a picture the image loader reads. A picture of several frames (an animated
    // GIF) shows its first; see-through pixels show the black background.
    static std::unique_ptr<ImageSplash> open(const std::filesystem::path& file, std::string name, bool full_screen,
        std::int64_t delay_ms);

    ImageSplash(Bitmap24 picture, std::string name, bool full_screen, std::int64_t delay_ms);

    // "show_image: " and the file's name.
    std::string transcript() const override;

protected:
    // The picture fills the window when it has the picture's size, and is fitted and centred on a full screen.
    void paint_content(SurfaceCanvas& canvas) override;

private:
    Bitmap24 m_picture;   // the colours shown
    std::string m_name;   // the file's name as the game gave it (Windows-1252 bytes)
};

}  // namespace quillon
