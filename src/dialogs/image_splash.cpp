// ImageSplash: the picture of a file over the splash window's black.
#include "dialogs/image_splash.h"

#include "graphics/added_picture.h"

namespace quillon {

namespace {

constexpr Color SPLASH_BLACK = 0;

}  // namespace

std::unique_ptr<ImageSplash> ImageSplash::open(const std::filesystem::path& file, std::string name, bool full_screen,
        std::int64_t delay_ms)
{
    auto frames = load_added_picture(file);
    if (!frames)
        return nullptr;
    return std::make_unique<ImageSplash>(blend_over(frames->front(), SPLASH_BLACK), std::move(name),
        full_screen, delay_ms);
}

ImageSplash::ImageSplash(Bitmap24 picture, std::string name, bool full_screen, std::int64_t delay_ms)
    : SplashForm({full_screen, picture.width, picture.height}, SPLASH_BLACK, delay_ms)
    , m_picture(std::move(picture))
    , m_name(std::move(name))
{
}

std::string ImageSplash::transcript() const
{
    return "show_image: " + m_name;
}

void ImageSplash::paint_content(SurfaceCanvas& canvas)
{
    draw_scaled(canvas, m_picture, fit_centred(canvas.width, canvas.height, m_picture.width, m_picture.height));
}

}  // namespace quillon
