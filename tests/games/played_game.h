// PlayedGame: a test game loaded, prepared headless and started, with the parts of a step that frames show;
// and the comparison of frames with the pictures kept in data/.
#pragma once

#include "game_builder.h"
#include "graphics/graphics.h"
#include "platform/display.h"
#include "platform/headless/headless_display.h"
#include "world/room_draw.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quillon::testing {

// The drawing built-ins draw on the game's screen while it lives.
class PlayedGame {
public:
    // Loads the built game, prepares its graphics on the display (a headless one when none is given), compiles
    // its code and starts it: the first room is drawn and presented.
    explicit PlayedGame(const GameBuilder& builder, platform::Display* display = nullptr);
    ~PlayedGame();

    // Motion, drawing, background scrolling, animation, then the frame is presented.
    void step();

    World& world() { return *m_world; }
    Graphics& graphics() { return *m_graphics; }
    // The headless display's last presented frame.
    const platform::Frame& frame() const { return m_headless->last_frame(); }
    const std::string& caption() const { return m_graphics->screen().caption(); }

private:
    GameFile m_game;                                    // what the builder made
    std::unique_ptr<platform::HeadlessDisplay> m_headless;  // the display when none was given
    std::unique_ptr<Graphics> m_graphics;               // screen and image sheets
    std::unique_ptr<World> m_world;                     // the running game
    std::unique_ptr<RoomDrawer> m_drawer;               // draws the world's room
};

// Compares the frame pixel for pixel with data/<name>.png. When they differ, the frame and a picture of the
// differences (differing pixels red, the rest dimmed) are written to the test's output folder. With
// QUILLON_UPDATE_FRAMES set, the frame becomes the new data/<name>.png instead.
::testing::AssertionResult frame_matches(const platform::Frame& frame, const std::string& name);

// The frame's pixel as a colour (red in the low byte).
Color frame_color(const platform::Frame& frame, int x, int y);

}  // namespace quillon::testing
