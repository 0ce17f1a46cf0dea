// The pop-up menu as drawn, compared with a kept frame: labels, a separator, the underlined keys and the
// highlighted item.
#include "dialogs/popup_menu.h"
#include "played_game.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

TEST(PopupMenuFrame, LabelsSeparatorKeysAndHighlight)
{
    PopupMenu menu("New game|Next level|-|Options|Quit", 0, 0, -1);
    platform::WindowPlacement placement = menu.placement({800, 600});
    platform::Event down;
    down.kind = platform::EventKind::key_down;
    down.virtual_key = 40;
    menu.handle(down);
    menu.handle(down);   // the second item
    platform::Frame frame {placement.width, placement.height,
        std::vector<std::uint32_t>(std::size_t(placement.width * placement.height))};
    SurfaceCanvas canvas {frame.pixels.data(), frame.width, frame.height, frame.width * 4,
        {0, 0, frame.width, frame.height}};
    menu.paint(canvas);
    EXPECT_TRUE(frame_matches(frame, "popup_menu"));
}
