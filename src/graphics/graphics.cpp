// Graphics: the screen, the image sheets, the shape painter, the collision masks and the sprite and background
// lists of a game.
#include "graphics/graphics.h"

#include "graphics/drawing_font.h"

namespace quillon {

namespace {

SheetFileNamer sheet_file_namer(TempDirectory* temp)
{
    if (!temp)
        return {};
    return [temp] { return temp->unique_file_name(".sheet"); };
}

}  // namespace

Graphics::Graphics(platform::Display& display, const GameSettings& settings, ResourceList<CSprite>& sprites,
    ResourceList<CBackground>& backgrounds, TempDirectory* temp)
    : m_display(display)
    , m_settings(settings)
    , m_sprite_list(sprites)
    , m_background_list(backgrounds)
    , m_screen(display, settings)
    , m_sheets(m_screen.regions(), sheet_file_namer(temp))
    , m_shapes(m_screen.regions(), drawing_state())
    , m_sprites(sprites, m_masks, m_sheets)
    , m_backgrounds(backgrounds, m_sheets)
{
}

Graphics::~Graphics()
{
    shut_down();
}

// The display parameters the settings give: depth, mode size and refresh rate, and the two scales.
ScreenStart Graphics::screen_start() const
{
    platform::ScreenSize desktop = m_display.screen_size();
    GameSettings::Size mode = m_settings.screen_size({desktop.width, desktop.height});
    ScreenStart start;
    start.exclusive = m_settings.set_screen_mode && m_settings.exclusive_graphics;
    start.resolution_width = mode.width;
    start.window_scale = m_settings.window_scaling / 100.0;
    start.full_scale = m_settings.fullscreen_scaling / 100.0;
    start.full_screen = m_settings.start_fullscreen;
    start.refresh_rate = m_settings.refresh_rate();
    start.color_depth = m_settings.bits_per_pixel();
    return start;
}

bool Graphics::prepare()
{
    // 1. The collision masks, while the frames are still at hand.
    m_masks.build_all(m_sprite_list);
    // 2. The display. A desktop mode change without exclusive mode is not made here: the game then runs in the
    // desktop's mode, as when the system refuses the change.
    if (!m_screen.start(screen_start()))
        return false;
    drawing_font() = DrawingFont();
    // 3. Every sprite and background in drawable form.
    m_sheets.build_all(m_sprite_list, m_background_list);
    return true;
}

void Graphics::release_images()
{
    m_sprites.release_images();
    m_backgrounds.release_images();
}

void Graphics::shut_down()
{
    m_sheets.free_all();
    m_screen.shut_down();
}

}  // namespace quillon
