// SplashForm: background, placement, closing by delay, key or click.
#include "dialogs/splash_form.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillon {

platform::WindowPlacement centred_on(platform::ScreenSize screen, int width, int height)
{
    platform::WindowPlacement placement;
    placement.left = (screen.width - width) / 2;
    placement.top = (screen.height - height) / 2;
    placement.width = width;
    placement.height = height;
    return placement;
}

SurfaceRect fit_centred(int outer_width, int outer_height, int width, int height)
{
    if (outer_width <= 0 || outer_height <= 0 || width <= 0 || height <= 0)
        return {};
    double scale = std::min(double(outer_height) / height, double(outer_width) / width);
    int fitted_width = int(std::nearbyint(width * scale));
    int fitted_height = int(std::nearbyint(height * scale));
    int left = (outer_width - fitted_width) / 2;
    int top = (outer_height - fitted_height) / 2;
    return {left, top, left + fitted_width, top + fitted_height};
}

void draw_scaled(SurfaceCanvas& canvas, const Bitmap24& picture, const SurfaceRect& to)
{
    if (picture.width <= 0 || picture.height <= 0 || to.width() <= 0 || to.height() <= 0)
        return;
    int left = std::max(to.left, canvas.clip.left);
    int right = std::min(to.right, canvas.clip.right);
    int top = std::max(to.top, canvas.clip.top);
    int bottom = std::min(to.bottom, canvas.clip.bottom);
    if (left >= right || top >= bottom)
        return;
    std::vector<int> columns(std::size_t(right - left));
    for (int x = left; x < right; ++x)
        columns[std::size_t(x - left)] = int(std::int64_t(x - to.left) * picture.width / to.width()) * 3;
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = picture.row(int(std::int64_t(y - to.top) * picture.height / to.height()));
        std::uint32_t* out = &canvas.at(left, y);
        for (int column : columns) {
            const std::uint8_t* pixel = row + column;
            *out++ = std::uint32_t(pixel[2]) << 16 | std::uint32_t(pixel[1]) << 8 | pixel[0];
        }
    }
}

SplashForm::SplashForm(Size size, Color background, std::int64_t delay_ms)
    : m_size(size)
    , m_background(background)
    , m_delay_ms(delay_ms)
{
}

platform::WindowPlacement SplashForm::placement(platform::ScreenSize screen) const
{
    platform::WindowPlacement placement = m_size.full_screen ? centred_on(screen, screen.width, screen.height)
                                                             : centred_on(screen, m_size.width, m_size.height);
    placement.border = false;
    placement.caption_buttons = false;
    placement.stay_on_top = true;
    return placement;
}

void SplashForm::paint(SurfaceCanvas& canvas)
{
    std::uint32_t fill = color_to_pixel(m_background);
    for (int y = 0; y < canvas.height; ++y)
        std::fill_n(&canvas.at(0, y), canvas.width, fill);
    paint_content(canvas);
    m_dirty = false;
}

void SplashForm::handle(const platform::Event& event)
{
    switch (event.kind) {
    case platform::EventKind::key_down:
    case platform::EventKind::mouse_down:
    case platform::EventKind::window_close:
    case platform::EventKind::quit:
        close();
        break;
    default:
        break;
    }
}

int SplashForm::tick(std::int64_t elapsed_ms)
{
    if (m_delay_ms <= 0)
        return -1;
    if (elapsed_ms >= m_delay_ms) {
        close();
        return -1;
    }
    return int(std::min<std::int64_t>(m_delay_ms - elapsed_ms, 1 << 30));
}

void SplashForm::answer(const std::optional<std::string>&)
{
    close();
}

}  // namespace quillon
