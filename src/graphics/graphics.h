// Graphics: the screen, the image sheets, the shape painter, the collision masks and the sprite and background
// lists of a game.
#pragma once

#include "graphics/background_list.h"
#include "graphics/collision_mask.h"
#include "graphics/image_sheets.h"
#include "graphics/screen.h"
#include "graphics/shape_painter.h"
#include "graphics/sprite_list.h"
#include "support/settings.h"
#include "support/temp_dir.h"

namespace quillon {

class Graphics {
public:
    // The lists and settings are the game's and outlive this object; without a temporary directory,
    // load-on-use sheets stay in memory.
    Graphics(platform::Display& display, const GameSettings& settings, ResourceList<CSprite>& sprites,
        ResourceList<CBackground>& backgrounds, TempDirectory* temp);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Preparing graphics: the collision masks, the window and screen buffer as the settings ask, and the
    // image sheets. False when the display cannot be set up ("Failed to initialize DirectX.").
    bool prepare();
    // Ready: from now on the sheets and masks hold the only copies of the pixels.
    void release_images();
    // Shows the finished frame.
    void present() { m_screen.present(); }
    // Frees the sheets and closes the window.
    void shut_down();

    Screen& screen() { return m_screen; }
    ImageSheets& sheets() { return m_sheets; }
    ShapePainter& shapes() { return m_shapes; }
    const CollisionMasks& masks() const { return m_masks; }
    SpriteList& sprites() { return m_sprites; }
    BackgroundList& backgrounds() { return m_backgrounds; }

private:
    ScreenStart screen_start() const;

    platform::Display& m_display;                   // the window
    const GameSettings& m_settings;                 // the display settings
    ResourceList<CSprite>& m_sprite_list;           // the game's sprites
    ResourceList<CBackground>& m_background_list;   // the game's backgrounds
    Screen m_screen;                                // window, screen buffer, regions
    ImageSheets m_sheets;                           // drawable sprites and backgrounds
    ShapePainter m_shapes;                          // shapes in the pen and brush
    CollisionMasks m_masks;                         // one per sprite
    SpriteList m_sprites;                           // run-time changes to the sprites
    BackgroundList m_backgrounds;                   // run-time changes to the backgrounds
};

}  // namespace quillon
