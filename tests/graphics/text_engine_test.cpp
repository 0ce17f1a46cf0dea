// Text: the widths of known strings in the installed fonts, how Windows font names and sizes map, crisp pixels
// in the text colour inside the clip rectangle, turned and aligned lines, line cutting and wrapping, and input
// far too large to draw whole.
#include "graphics/text_block.h"
#include "graphics/text_engine.h"
#include "platform/fonts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace quillon;

namespace {

constexpr std::uint32_t PAPER = 0x204060;
constexpr Color INK = 0x3399FF;   // red 0xFF, green 0x99, blue 0x33
constexpr std::uint32_t INK_PIXEL = 0xFF9933;

// Pixels to draw on, all PAPER, with a clip rectangle.
struct Paper {
    Paper(int width, int height)
        : pixels(static_cast<std::size_t>(width) * height, PAPER)
        , canvas {pixels.data(), width, height, width * 4, {0, 0, width, height}}
    {
    }
    // The smallest rectangle holding every pixel that is not PAPER; empty when there is none.
    SurfaceRect ink() const
    {
        SurfaceRect box {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x)
                if (pixels[static_cast<std::size_t>(y) * canvas.width + x] != PAPER)
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                        std::max(box.bottom, y + 1)};
        return box.left == INT_MAX ? SurfaceRect {} : box;
    }

    std::vector<std::uint32_t> pixels;
    SurfaceCanvas canvas;
};

int font(const std::string& name, int size = 8, int style = 0)
{
    return text_engine().font({name, size, style});
}

int width_of(int font, std::string_view text) { return text_engine().measure(font, text).width; }

}  // namespace

// Widths of the installed fonts' text, at 96 pixels per inch with whole-pixel advances: size 8 is 11 pixels
// high, 10 is 13 and 12 is 16, and the widths are those of the Windows fonts the families stand in for.
TEST(TextEngine, KnownStringsMeasureAsTheWindowsFontsDo)
{
    struct Case {
        const char* name;
        int size;
        int style;
        const char* text;
        int width;
        int height;
    };
    const Case cases[] = {
        {"Arial", 8, 0, "Hello, World", 58, 13},
        {"Arial", 12, 0, "Score: 1234", 86, 19},
        {"Arial", 12, FONT_BOLD, "Score: 1234", 90, 19},
        {"Times New Roman", 10, 0, "The quick brown fox", 113, 15},
        {"Courier New", 10, 0, "0123456789", 80, 15},
        {"MS Sans Serif", 8, 0, "Lives: 3", 38, 13},
        {"Arial", 8, 0, "", 0, 13},
        {"Arial", 8, 0, "M", 9, 13},
    };
    // Game text is Windows-1252: e acute and the euro sign are characters of their own; a zero byte draws nothing.
    int arial = font("Arial");
    EXPECT_EQ(width_of(arial, "\xE9t\xE9"), width_of(arial, "ete"));
    EXPECT_GT(width_of(arial, "\x80"), 0);
    EXPECT_NE(width_of(arial, "\x80"), width_of(arial, "\x81"));
    EXPECT_EQ(width_of(arial, std::string_view("a\0b", 3)), width_of(arial, "ab"));
    for (const Case& c : cases) {
        TextExtent extent = text_engine().measure(font(c.name, c.size, c.style), c.text);
        EXPECT_EQ(extent.width, c.width) << c.name << " " << c.size << " " << c.text;
        EXPECT_EQ(extent.height, c.height) << c.name << " " << c.size << " " << c.text;
    }
}

TEST(TextEngine, WindowsNamesMapToFamiliesWithTheirMetrics)
{
    const std::string sample = "Sphinx of black quartz, judge my vow";
    EXPECT_EQ(width_of(font("Arial"), sample), width_of(font("Liberation Sans"), sample));
    EXPECT_EQ(width_of(font("arial"), sample), width_of(font("Liberation Sans"), sample));
    EXPECT_EQ(width_of(font("Times New Roman"), sample), width_of(font("Liberation Serif"), sample));
    EXPECT_NE(width_of(font("Times New Roman"), sample), width_of(font("Arial"), sample));
    // Courier New is monospaced.
    EXPECT_EQ(width_of(font("Courier New", 10), "iiii"), width_of(font("Courier New", 10), "WWWW"));
    // "MS Sans Serif", unknown names and names that would be lists draw in the sans-serif family.
    for (const char* name : {"MS Sans Serif", "No Such Font At All", "", "Arial,Courier"})
        EXPECT_EQ(width_of(font(name), sample), width_of(font("Liberation Sans"), sample)) << name;
    // A family that is installed keeps its own name.
    EXPECT_NE(width_of(font("Liberation Mono"), sample), width_of(font("Liberation Sans"), sample));
}

// A font file the game registers is found by its family name from then on, and no longer once taken back. The
// file is a copy of Liberation Mono whose names say "Quillon Monoset" (same length, so the tables still fit).
TEST(TextEngine, FontFilesTheGameRegistersAreFoundByFamilyName)
{
    namespace fs = std::filesystem;
    fs::path original = "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
    if (!fs::exists(original))
        GTEST_SKIP() << "fonts-liberation2 is not installed";
    std::ifstream in(original, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto rename = [&bytes](const std::string& from, const std::string& to) {
        for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at))
            bytes.replace(at, from.size(), to);
    };
    auto utf16 = [](const std::string& ascii) {
        std::string wide;
        for (char c : ascii)
            wide += std::string {'\0', c};
        return wide;
    };
    rename("Liberation Mono", "Quillon Monoset");
    rename(utf16("Liberation Mono"), utf16("Quillon Monoset"));
    fs::path copy = fs::temp_directory_path() / ("quillon_monoset_" + std::to_string(::getpid()) + ".ttf");
    std::ofstream(copy, std::ios::binary) << bytes;

    auto monospaced = [] {
        int font = text_engine().font({"Quillon Monoset", 10, 0});
        return width_of(font, "iiii") == width_of(font, "WWWW");
    };
    EXPECT_FALSE(monospaced());
    ASSERT_TRUE(platform::register_font_file(copy));
    EXPECT_TRUE(monospaced());
    EXPECT_TRUE(platform::unregister_font_files());
    EXPECT_FALSE(monospaced());
    fs::remove(copy);
}

TEST(TextEngine, SizesOfZeroNegativeOrHugeStayDrawable)
{
    TextEngine& engine = text_engine();
    EXPECT_EQ(engine.line_height(font("Arial", 0)), engine.line_height(font("Arial", 8)));
    EXPECT_EQ(engine.line_height(font("Arial", -12)), engine.line_height(font("Arial", 12)));
    int huge = engine.line_height(font("Arial", INT_MAX));
    EXPECT_EQ(huge, engine.line_height(font("Arial", 100000)));
    EXPECT_GE(huge, MAX_FONT_PIXELS);
    EXPECT_LE(huge, MAX_FONT_PIXELS * 3 / 2);
    // Drawing it on a small canvas draws part of a glyph and nothing outside.
    Paper paper(64, 64);
    engine.draw(paper.canvas, font("Arial", INT_MAX), INK, 0, -100, -300, "I");
    EXPECT_NE(paper.ink().width(), 0);
    // A game that asks for ever new fonts does not grow the engine without end: it starts its fonts over.
    int twelve = engine.line_height(font("Arial", 12));
    for (int size = 1; size <= 300; ++size)
        font("Arial", size);
    EXPECT_LE(font("Arial", 12), 256);
    EXPECT_EQ(engine.line_height(font("Arial", 12)), twelve);
    // Bold text is wider, style bits beyond strike-out are ignored.
    EXPECT_GT(width_of(font("Arial", 12, FONT_BOLD), "Bold text"), width_of(font("Arial", 12), "Bold text"));
    EXPECT_EQ(font("Arial", 12, 16 | FONT_ITALIC), font("Arial", 12, FONT_ITALIC));
}

// No anti-aliasing: every pixel is either untouched or exactly the text colour, and nothing lands outside
// the clip rectangle, also with underline and strike-out.
TEST(TextEngine, DrawsCrispPixelsInTheColourInsideTheClip)
{
    for (int style : {0, FONT_BOLD | FONT_ITALIC, FONT_UNDERLINE | FONT_STRIKEOUT}) {
        Paper paper(120, 40);
        paper.canvas.clip = {10, 5, 60, 30};
        text_engine().draw(paper.canvas, font("Times New Roman", 20, style), INK, 0, 4, 2, "Quick Wig");
        SurfaceRect ink = paper.ink();
        EXPECT_GT(ink.width(), 0) << style;
        EXPECT_GE(ink.left, 10);
        EXPECT_GE(ink.top, 5);
        EXPECT_LE(ink.right, 60);
        EXPECT_LE(ink.bottom, 30);
        for (std::uint32_t pixel : paper.pixels)
            ASSERT_TRUE(pixel == PAPER || pixel == INK_PIXEL) << std::hex << pixel << " style " << style;
    }
    // An empty clip rectangle draws nothing.
    Paper paper(40, 40);
    paper.canvas.clip = {20, 20, 20, 40};
    text_engine().draw(paper.canvas, font("Arial", 12), INK, 0, 0, 0, "Nothing");
    EXPECT_EQ(paper.ink(), SurfaceRect {});
}

// The corner is the text's top left: at 0 degrees the text lies right of and below it, at 90 it reads upward
// and lies above and right of it, at 180 it is upside down, left of and above it.
TEST(TextEngine, TurnsAboutTheTopLeftCornerCounterClockwise)
{
    struct Case {
        double angle;
        bool right;   // the ink lies right of x (else left)
        bool below;   // the ink lies below y (else above)
        bool wide;    // the ink is wider than high
    };
    for (Case c : {Case {0, true, true, true}, Case {90, true, false, false}, Case {180, false, false, true},
             Case {270, false, true, false}}) {
        Paper paper(200, 200);
        text_engine().draw(paper.canvas, font("Arial", 12), INK, c.angle, 100, 100, "Sideways");
        SurfaceRect ink = paper.ink();
        EXPECT_EQ(c.right ? ink.left >= 99 : ink.right <= 101, true) << c.angle;
        EXPECT_EQ(c.below ? ink.top >= 99 : ink.bottom <= 101, true) << c.angle;
        EXPECT_EQ(ink.width() > ink.height(), c.wide) << c.angle;
    }
}

TEST(TextBlock, LinesBreakAtEveryReturnAndLineFeedAndWrapAtWords)
{
    TextEngine& engine = text_engine();
    int arial = font("Arial", 10);
    int m = engine.line_height(arial);
    struct Case {
        const char* text;
        double separation;
        double width;
        int lines;        // the height is that of "M" plus a separation per further line
        const char* widest;
    };
    const std::string pair = "aa bb ";
    double pair_width = width_of(arial, pair);
    const Case cases[] = {
        {"a\rb", -1, -1, 2, "a"},
        {"a\r\nb", -1, -1, 3, "a"},
        {"a\r", -1, -1, 1, "a"},
        {"\r", -1, -1, 1, ""},
        {"one\rthree", 20, -1, 2, "three"},
        // Width 0: one word per line; the space or hyphen stays with its word.
        {"one two three", -1, 0, 3, "three"},
        {"well-known", -1, 0, 2, "known"},
        // Words join while they fit.
        {"aa bb cc", -1, pair_width, 2, "aa bb "},
        {"aa bb cc", -1, pair_width - 1, 2, "bb cc"},
        // Empty lines are left out when wrapping, kept when not.
        {"a\r\rb", -1, 1000, 2, "a"},
        {"a\r\rb", -1, -1, 3, "a"},
        // A word wider than the width still makes a line.
        {"extraordinarily", -1, 5, 1, "extraordinarily"},
    };
    for (const Case& c : cases) {
        TextBlockSize size = measure_text_block(engine, arial, c.text, c.separation, c.width);
        double distance = c.separation < 0 ? m : c.separation;
        EXPECT_EQ(size.height, m + (c.lines - 1) * distance) << c.text << " width " << c.width;
        EXPECT_EQ(size.width, std::max(1, width_of(arial, c.widest))) << c.text << " width " << c.width;
    }
    // No lines at all: 1 by 1.
    TextBlockSize empty = measure_text_block(engine, arial, "", -1, -1);
    EXPECT_EQ(empty.width, 1);
    EXPECT_EQ(empty.height, 1);
}

// Centre alignment moves a line left by half its width (rounded toward zero), right alignment by all of it,
// along the line's own direction.
TEST(TextBlock, AlignsEachLineAlongItsDirection)
{
    TextEngine& engine = text_engine();
    int arial = font("Arial", 12);
    const std::string text = "Centred";
    int width = width_of(arial, text);
    struct Case {
        std::int32_t align;
        double angle;
        int shift;   // where the text starts, along its direction, from the given point
    };
    for (Case c : {Case {ALIGN_LEFT, 0, 0}, Case {ALIGN_CENTER, 0, -(width / 2)}, Case {ALIGN_RIGHT, 0, -width},
             Case {7, 0, 0}, Case {ALIGN_CENTER, 90, -(width / 2)}}) {
        Paper drawn(200, 200);
        TextTarget target {drawn.canvas, 0, 0};
        draw_text_block(engine, target, {arial, INK, c.angle, c.align}, 100, 100, text, -1, -1);
        Paper expected(200, 200);
        int x = c.angle == 0 ? 100 + c.shift : 100;
        int y = c.angle == 0 ? 100 : 100 - c.shift;
        engine.draw(expected.canvas, arial, INK, c.angle, x, y, text);
        EXPECT_EQ(drawn.pixels, expected.pixels) << "align " << c.align << " angle " << c.angle;
    }
}

// Lines step down by the separation, or along the perpendicular of a turned text; the target's offset moves
// room positions onto the canvas.
TEST(TextBlock, StepsLinesAndKeepsToTheTargetOffset)
{
    TextEngine& engine = text_engine();
    int arial = font("Arial", 10);
    Paper drawn(120, 120);
    TextTarget target {drawn.canvas, 1000, 2000};
    draw_text_block(engine, target, {arial, INK, 0, ALIGN_LEFT}, 1010, 2010, "one\rtwo\r\rfour", 25, -1);
    Paper expected(120, 120);
    engine.draw(expected.canvas, arial, INK, 0, 10, 10, "one");
    engine.draw(expected.canvas, arial, INK, 0, 10, 35, "two");
    engine.draw(expected.canvas, arial, INK, 0, 10, 85, "four");
    EXPECT_EQ(drawn.pixels, expected.pixels);

    Paper turned(120, 120);
    TextTarget turned_target {turned.canvas, 0, 0};
    draw_text_block(engine, turned_target, {arial, INK, 90, ALIGN_LEFT}, 10, 110, "one\rtwo", 30, -1);
    Paper turned_expected(120, 120);
    engine.draw(turned_expected.canvas, arial, INK, 90, 10, 110, "one");
    engine.draw(turned_expected.canvas, arial, INK, 90, 40, 110, "two");
    EXPECT_EQ(turned.pixels, turned_expected.pixels);
}

// A megabyte of text is measured and drawn in pieces: no width overflows and the call returns soon.
TEST(TextBlock, AMegabyteOfTextIsMeasuredAndDrawnWithoutOverflowOrHang)
{
    TextEngine& engine = text_engine();
    int arial = font("Arial", 10);
    auto started = std::chrono::steady_clock::now();
    const std::string line(1 << 20, 'a');
    std::int64_t expected = std::int64_t(width_of(arial, std::string(1024, 'a'))) * 1024;
    EXPECT_NEAR(width_of(arial, line), expected, expected / 100);
    Paper paper(100, 60);
    TextTarget target {paper.canvas, 0, 0};
    draw_text_block(engine, target, {arial, INK, 0, ALIGN_RIGHT}, 100, 0, line, -1, -1);
    EXPECT_GT(paper.ink().width(), 0);
    draw_text_block(engine, target, {arial, INK, 30, ALIGN_CENTER}, 50, 30, line, -1, -1);

    // A megabyte of words wrapped to a narrow width, and a megabyte of line breaks.
    std::string words;
    while (words.size() < (1 << 20))
        words += "word ";
    draw_text_block(engine, target, {arial, INK, 0, ALIGN_LEFT}, 0, 0, words, -1, 60);
    std::string breaks(1 << 20, '\r');
    TextBlockSize size = measure_text_block(engine, arial, breaks, 2, -1);
    EXPECT_EQ(size.height, engine.line_height(arial) + double((1 << 20) - 1) * 2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}
