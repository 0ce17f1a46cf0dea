// Rich-text layout: line heights as the text engine's, word wrap, spacing, alignment, crisp pixels, scrolling
// and the area's edges.
#include "graphics/rich_text_layout.h"
#include "graphics/text_engine.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace quillon;

namespace {

constexpr std::uint32_t PAPER = 0x204060;
constexpr Color INK = make_color(0xFF, 0x99, 0x33);
constexpr std::uint32_t INK_PIXEL = 0xFF9933;

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

int page_height(const std::string& page, int width)
{
    RichTextLayout layout(read_rich_text(page), "Arial");
    return layout.lay_out(width);
}

int arial_line(int points) { return text_engine().line_height(text_engine().font({"Arial", points, 0})); }

}  // namespace

TEST(RichTextLayout, LinesAreAsHighAsTheTextEnginesLines)
{
    EXPECT_EQ(page_height("{\\rtf1 One line}", 400), arial_line(12));
    EXPECT_EQ(page_height("{\\rtf1\\fs20 One\\par Two}", 400), 2 * arial_line(10));
    EXPECT_EQ(page_height("{\\rtf1 One\\line Two}", 400), 2 * arial_line(12));
    // An empty paragraph is as high as its end's size; an empty page has no height.
    EXPECT_EQ(page_height("{\\rtf1\\fs48 \\par x}", 400), arial_line(24) + arial_line(24));
    EXPECT_EQ(page_height("{\\rtf1}", 400), 0);
    // Space before and after, in twips (15 to a pixel).
    EXPECT_EQ(page_height("{\\rtf1\\sb150\\sa300 x}", 400), 10 + arial_line(12) + 20);
}

TEST(RichTextLayout, WordsWrapAtTheWidth)
{
    std::string words = "{\\rtf1 ";
    for (int i = 0; i < 40; ++i)
        words += "word ";
    words += "}";
    int line = arial_line(12);
    EXPECT_EQ(page_height(words, 10000), line);
    int narrow = page_height(words, 200);
    EXPECT_GT(narrow, 3 * line);
    EXPECT_EQ(narrow % line, 0);
    // Indents take from the width, so the indented page is at least as tall.
    std::string indented = words;
    indented.insert(6, "\\li1500\\ri1500");
    EXPECT_GT(page_height(indented, 400), page_height(words, 400));
    // A width too small for any word still lays out, a character or so a line.
    EXPECT_GT(page_height("{\\rtf1 abc}", 1), line);
}

TEST(RichTextLayout, PaintsCrispTextAlignedInTheArea)
{
    struct Case {
        const char* page;
        int left_min;    // where the ink may start, within the 300-pixel wide area at x 50
        int right_max;   // where it must end
    };
    const Case cases[] = {
        {"{\\rtf1 Text}", 50, 120},
        {"{\\rtf1\\qr Text}", 280, 350},
        {"{\\rtf1\\qc Text}", 170, 230},
        {"{\\rtf1\\li1500 Text}", 150, 220},
    };
    for (const Case& test : cases) {
        Paper paper(400, 100);
        RichTextLayout layout(read_rich_text(test.page), "Arial");
        layout.lay_out(300);
        layout.paint(paper.canvas, {50, 20, 350, 80}, 0, INK);
        SurfaceRect ink = paper.ink();
        EXPECT_GE(ink.left, test.left_min) << test.page;
        EXPECT_LE(ink.right, test.right_max) << test.page;
        EXPECT_GE(ink.top, 20) << test.page;
        EXPECT_LE(ink.bottom, 20 + arial_line(12)) << test.page;
        for (std::uint32_t pixel : paper.pixels)
            ASSERT_TRUE(pixel == PAPER || pixel == INK_PIXEL) << std::hex << pixel;
    }
}

TEST(RichTextLayout, RunsKeepTheirColoursAndScrollingMovesThePageUp)
{
    Paper paper(200, 100);
    RichTextLayout layout(read_rich_text("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1 Blue\\par\\cf0 Ink}"), "Arial");
    int height = layout.lay_out(200);
    layout.paint(paper.canvas, {0, 0, 200, 100}, 0, INK);
    bool blue = false;
    for (std::uint32_t pixel : paper.pixels)
        blue = blue || pixel == 0x0000FF;
    EXPECT_TRUE(blue);
    // Scrolled by one line, only the second line shows, at the top.
    Paper scrolled(200, 100);
    layout.paint(scrolled.canvas, {0, 0, 200, 100}, height / 2, INK);
    EXPECT_LT(scrolled.ink().bottom, height / 2 + 1);
    for (std::uint32_t pixel : scrolled.pixels)
        ASSERT_TRUE(pixel == PAPER || pixel == INK_PIXEL);
    // Nothing outside the area, even scrolled far or with the area off the canvas.
    Paper outside(200, 100);
    layout.paint(outside.canvas, {0, 0, 200, 100}, 100000, INK);
    layout.paint(outside.canvas, {300, 300, 500, 500}, 0, INK);
    layout.paint(outside.canvas, {10, 10, 60, 14}, 0, INK);
    SurfaceRect ink = outside.ink();
    EXPECT_TRUE(ink.width() <= 0 || (ink.left >= 10 && ink.right <= 60 && ink.top >= 10 && ink.bottom <= 14));
}
