// SplashForm: background, placement, closing by delay, key or click.
#include "dialogs/splash_form.h"

#include <algorithm>

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
