// The game information window drawn as a game shows it, compared with a kept frame: fonts, sizes, styles,
// colours, alignment, indents, a tab and wrapping on the page's colour, with the scroll bar.
#include "dialogs/information_form.h"
#include "played_game.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

TEST(InformationFrame, ASmallPageAsKept)
{
    const char* page =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
        "{\\f2\\fmodern Courier New;}}{\\colortbl ;\\red192\\green0\\blue0;\\red0\\green96\\blue0;}"
        "\\pard\\qc\\fs32\\b Catch the Clown\\b0\\par"
        "\\pard\\sb120\\fs20 Click the clown to \\i score\\i0 ; \\ul every\\ulnone  click counts, \\strike misses\\strike0  do not."
        " The text wraps at the window's width.\\par"
        "\\li360\\fi-240\\f1\\cf1 Times in red, with a hanging indent that wraps onto a second line here.\\par"
        "\\pard\\f2\\cf2 Keys:\\tab F1 help\\par"
        "\\pard\\qr\\f0\\cf0\\fs16 caf\\'e9 \\u8364?5\\par}";
    InformationForm form(read_rich_text(page), make_color(255, 255, 224));
    platform::Frame frame;
    frame.width = 320;
    frame.height = 200;
    frame.pixels.assign(std::size_t(frame.width) * frame.height, 0);
    SurfaceCanvas canvas {frame.pixels.data(), frame.width, frame.height, frame.width * 4,
        {0, 0, frame.width, frame.height}};
    form.paint(canvas);
    EXPECT_TRUE(frame_matches(frame, "game_information"));
}
