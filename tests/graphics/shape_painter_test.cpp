// Shapes in the pen and brush: which pixels each shape covers, the brush's hatches, flood fills, reading pixels
// back, clipping to the port of the view being drawn, wide pens, and sizes far beyond the screen.
#include "graphics/shape_painter.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr std::int32_t PEN = 0x0000FF;     // red
constexpr std::int32_t BRUSH = 0xFF0000;   // blue

class ShapesTest : public ::testing::Test {
protected:
    ShapesTest()
        : painter(regions, state)
    {
        regions.reset(screen);
        screen.Clear(BLACK);
        state.pen.color = PEN;
        state.brush.color = BRUSH;
    }

    // The surface as text, a row a line: '.' black, '#' pen, 'o' brush, '?' anything else.
    std::string picture(int width = -1, int height = -1)
    {
        width = width < 0 ? screen.width() : width;
        height = height < 0 ? screen.height() : height;
        SurfaceCanvas canvas = screen.GetCanvas();
        std::string text;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Color color = pixel_to_color(canvas.at(x, y));
                text += color == BLACK ? '.' : color == Color(PEN) ? '#' : color == Color(BRUSH) ? 'o' : '?';
            }
            text += '\n';
        }
        return text;
    }
    int count(char what)
    {
        std::string text = picture();
        return static_cast<int>(std::count(text.begin(), text.end(), what));
    }

    DDSurface screen {24, 16, false, 0, true};
    RegionTable regions;
    DrawingState state;
    ShapePainter painter;
};

// A drawing and the top-left corner of the surface afterwards.
struct CoverageCase {
    const char* name;
    std::function<void(ShapePainter&)> draw;
    const char* expected;
};

}  // namespace

TEST_F(ShapesTest, EachShapeCoversItsPixels)
{
    const CoverageCase cases[] = {
        {"rectangle: right and bottom edges excluded, pen on the border, brush inside",
            [](ShapePainter& p) { p.rectangle(1, 1, 7, 5); },
            "..........\n.######...\n.#oooo#...\n.#oooo#...\n.######...\n..........\n"},
        {"rectangle from its other corners", [](ShapePainter& p) { p.rectangle(7, 5, 1, 1); },
            "..........\n.######...\n.#oooo#...\n.#oooo#...\n.######...\n..........\n"},
        {"rectangle without width", [](ShapePainter& p) { p.rectangle(3, 1, 3, 5); },
            "..........\n..........\n..........\n..........\n..........\n..........\n"},
        {"line: its end excluded", [](ShapePainter& p) { p.line(1, 1, 6, 1); },
            "..........\n.#####....\n..........\n..........\n..........\n..........\n"},
        {"line backwards and steep", [](ShapePainter& p) { p.line(5, 5, 3, 0); },
            "..........\n...#......\n....#.....\n....#.....\n.....#....\n.....#....\n"},
        {"ellipse within its box", [](ShapePainter& p) { p.ellipse(0, 0, 9, 6); },
            "..#####...\n.#ooooo#..\n#ooooooo#.\n#ooooooo#.\n.#ooooo#..\n..#####...\n"},
        {"circle of radius 2 around (3, 3)", [](ShapePainter& p) { p.ellipse(1, 1, 5, 5); },
            "..........\n..##......\n.#oo#.....\n.#oo#.....\n..##......\n..........\n"},
        {"rounded rectangle", [](ShapePainter& p) { p.round_rectangle(0, 0, 10, 6, 4, 4); },
            ".########.\n#oooooooo#\n#oooooooo#\n#oooooooo#\n#oooooooo#\n.########.\n"},
        {"triangle: brush on the pixels whose corner lies inside, pen through the vertices",
            [](ShapePainter& p) {
                const PolygonVertex corners[] = {{0, 0}, {8, 0}, {0, 4}};
                p.polygon(corners);
            },
            "#########.\n#ooooo##..\n#ooo##....\n#o##......\n##........\n..........\n"},
        {"pie: a quarter from the right counter-clockwise to the top",
            [](ShapePainter& p) { p.arc(ArcShape::pie, 0, 0, 9, 9, 9, 4, 4, 0); },
            "....###...\n....#oo#..\n....#ooo#.\n....#ooo#.\n....#####.\n..........\n"},
        {"arc: the same quarter, the curve alone", [](ShapePainter& p) { p.arc(ArcShape::arc, 0, 0, 9, 9, 9, 4, 4, 0); },
            "....###...\n.......#..\n........#.\n........#.\n........#.\n..........\n"},
    };
    for (const CoverageCase& c : cases) {
        screen.Clear(BLACK);
        c.draw(painter);
        EXPECT_EQ(picture(10, 6), c.expected) << c.name;
    }
}

TEST_F(ShapesTest, HatchesRepeatEveryEightPixelsFromTheSurfaceCornerAndLeaveTheGapsAlone)
{
    const char* expected[] = {
        // backward diagonal, forward diagonal, cross, diagonal cross, horizontal, vertical: rows 1 to 8 of a
        // rectangle from (0, 0) to (10, 10), its border in the pen.
        "#.....o..#\n#....o...#\n#...o....#\n#..o.....#\n#.o......#\n#o.......#\n#.......o#\n#......o.#\n",
        "#o.......#\n#.o......#\n#..o.....#\n#...o....#\n#....o...#\n#.....o..#\n#......o.#\n#.......o#\n",
        "#...o....#\n#...o....#\n#...o....#\n#oooooooo#\n#...o....#\n#...o....#\n#...o....#\n#...o....#\n",
        "#o....o..#\n#.o..o...#\n#..oo....#\n#..oo....#\n#.o..o...#\n#o....o..#\n#......oo#\n#......oo#\n",
        "#........#\n#........#\n#........#\n#oooooooo#\n#........#\n#........#\n#........#\n#........#\n",
        "#...o....#\n#...o....#\n#...o....#\n#...o....#\n#...o....#\n#...o....#\n#...o....#\n#...o....#\n",
    };
    for (int style = 2; style < BRUSH_STYLE_COUNT; ++style) {
        screen.Clear(BLACK);
        state.brush.style = static_cast<BrushStyle>(style);
        painter.rectangle(0, 0, 10, 10);
        std::string rows = picture(10, 9).substr(11);
        EXPECT_EQ(rows, expected[style - 2]) << "style " << style;
    }
    screen.Clear(BLACK);
    state.brush.style = BrushStyle::hollow;
    painter.rectangle(0, 0, 10, 10);
    EXPECT_EQ(count('o'), 0);
    EXPECT_EQ(count('#'), 36);
}

TEST_F(ShapesTest, FloodFillTakesTheConnectedAreaOfOneColourInsideTheClip)
{
    state.brush.style = BrushStyle::hollow;
    painter.rectangle(2, 2, 9, 8);   // a 7 x 6 frame: 5 x 4 inside
    state.brush.style = BrushStyle::solid;
    painter.flood_fill(4, 4);
    EXPECT_EQ(count('o'), 20);
    // Outside the frame the rest of the surface, around it.
    state.brush.color = 0x00FF00;
    painter.flood_fill(0, 0);
    EXPECT_EQ(count('?'), 24 * 16 - 42);
    // A brush of the area's own colour, and a hatch that leaves most of it as it was, both come to an end.
    painter.flood_fill(0, 0);
    state.brush.style = BrushStyle::diagonal_cross;
    state.brush.color = PEN;
    screen.Clear(BLACK);
    painter.flood_fill(5, 5);
    EXPECT_EQ(count('#'), 24 * 16 / 4);
    // Outside the clip rectangle nothing happens; a hollow brush fills nothing.
    screen.Clear(BLACK);
    painter.flood_fill(-1, 3);
    painter.flood_fill(24, 3);
    state.brush.style = BrushStyle::hollow;
    painter.flood_fill(3, 3);
    EXPECT_EQ(count('.'), 24 * 16);
}

TEST_F(ShapesTest, PixelsReadBackAsTheyWereWrittenAndNotOutsideTheClip)
{
    state.brush.color = make_color(12, 34, 56);
    painter.pixel(3, 4);
    EXPECT_EQ(painter.get_pixel(3, 4), make_color(12, 34, 56));
    EXPECT_EQ(painter.get_pixel(4, 4), 0);
    EXPECT_EQ(painter.get_pixel(-1, 0), std::nullopt);
    EXPECT_EQ(painter.get_pixel(24, 0), std::nullopt);
    // The colour's top byte is not part of it.
    state.brush.color = static_cast<std::int32_t>(0x7F000000 | make_color(1, 2, 3));
    painter.pixel(5, 5);
    EXPECT_EQ(painter.get_pixel(5, 5), make_color(1, 2, 3));
}

TEST_F(ShapesTest, DrawingLandsInTheSelectedViewAndStaysInsideItsPort)
{
    regions.set(0, {4, 4, 12, 10}, 100, 200);
    regions.select(0);
    painter.rectangle(102, 202, 150, 250);
    painter.line(90, 203, 200, 203);
    EXPECT_EQ(picture(14, 11),
        "..............\n..............\n..............\n..............\n..............\n"
        "..............\n......######..\n....########..\n......#ooooo..\n......#ooooo..\n..............\n");
    EXPECT_EQ(painter.get_pixel(106, 202), std::int32_t(PEN));
    EXPECT_EQ(painter.get_pixel(99, 202), std::nullopt);
}

TEST_F(ShapesTest, WidePensAreStrokedAlongTheOutlineWithRoundEnds)
{
    state.pen.width = 3;
    painter.line(4, 5, 12, 5);
    EXPECT_EQ(picture(16, 9),
        "................\n................\n................\n................\n...###########..\n"
        "...###########..\n...###########..\n................\n................\n");
    // A wide rectangle outline lies half outside and half inside the 1-pixel one.
    screen.Clear(BLACK);
    painter.rectangle(2, 2, 10, 10);
    EXPECT_EQ(picture()[1 * 25 + 1], '#');
    EXPECT_EQ(picture()[3 * 25 + 3], '#');
    EXPECT_EQ(picture()[4 * 25 + 4], 'o');
    // Pens of width 0 or below draw as 1 pixel.
    screen.Clear(BLACK);
    state.pen.width = -4;
    painter.line(0, 0, 5, 0);
    EXPECT_EQ(count('#'), 5);
}

TEST_F(ShapesTest, HugeShapesCostNoMoreThanTheirVisiblePart)
{
    auto started = std::chrono::steady_clock::now();
    const int far = 2000000000;
    painter.line(-far, -far, far, far);
    painter.rectangle(-far, -far, far, far);
    painter.ellipse(-far, -far, far, far);
    painter.arc(ArcShape::pie, -far, -far, far, far, far, 0, 0, -far);
    const PolygonVertex vertices[] = {{-far, -far}, {far, 0}, {0, far}};
    painter.polygon(vertices);
    state.pen.width = 1000000000;
    painter.line(-far, 0, far, 0);
    painter.ellipse(-far, -far, far, far);
    painter.flood_fill(3, 3);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}
