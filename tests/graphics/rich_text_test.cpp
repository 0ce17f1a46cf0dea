// The rich-text reader: characters, fonts, sizes, styles, colours and paragraph formats of small pages, skipped
// destinations and unknown words, and pages that are cut short, nested without end or ask for absurd sizes.
#include "graphics/rich_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillon;

namespace {

// The paragraphs' texts, each ended by '|', runs split by '/'.
std::string shape(const RichDocument& document)
{
    std::string text;
    for (const RichParagraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i)
            text += (i ? "/" : "") + paragraph.runs[i].text;
        text += '|';
    }
    return text;
}

struct TextCase {
    const char* page;
    const char* shape;
};

TEST(RichText, ReadsTheCharactersOfPages)
{
    const TextCase cases[] = {
        {"plain\r\nlines\nhere\rand\tthere", "plain|lines|here|and\tthere|"},
        {"ends with a line end\r\n", "ends with a line end|"},
        {"caf\xe9 \x80", "caf\xc3\xa9 \xe2\x82\xac|"},
        {"{\\rtf1\\ansi Hello\\par World}", "Hello|World|"},
        {"{\\rtf1 one\\line two\\tab three}", "one\ntwo\tthree|"},
        {"{\\rtf1 caf\\'e9 \\'80\\'zz}", "caf\xc3\xa9 \xe2\x82\xaczz|"},
        {"{\\rtf1 \\u8364?\\u-4064?x}", "\xe2\x82\xac\xef\x80\xa0x|"},
        {"{\\rtf1\\uc2 \\u8364\\'80\\'81x\\uc0\\u233 y}", "\xe2\x82\xac" "x\xc3\xa9y|"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", "\xf0\x9f\x98\x80|"},
        {"{\\rtf1 \\{\\}\\\\\\~}", "{}\\\xc2\xa0|"},
        {"{\\rtf1 a\r\nb\\\r\nc}", "ab|c|"},
        {"{\\rtf1{\\*\\generator Writer;}{\\info{\\title T}}{\\stylesheet{Normal;}}shown}", "shown|"},
        {"{\\rtf1{\\*\\unknowndest hidden}{\\pict\\wmetafile8 0123abcd}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}",
            "link|"},
        {"{\\rtf1 \\frobnicate42 \\zz-7 text\\xyz}", "text|"},
        {"{\\rtf1 shown{\\v hidden} {\\v hidden\\v0 again}\\v no\\plain  yes}", "shown again yes|"},
        {"{\\rtf1 \\bin4 {}\\x after}", " after|"},
        {"{\\rtf1 inside} after the page", "inside|"},
        {"{\\rtf1 first\\par\\par}", "first||"},
        {"{\\rtf1 \\emdash\\bullet\\ldblquote}", "\xe2\x80\x94\xe2\x80\xa2\xe2\x80\x9c|"},
        // Cut short anywhere: the page ends where the text stops.
        {"{\\rtf1 cut{\\b short", "cut/short|"},
        {"{\\rtf1 cut\\", "cut|"},
        {"{\\rtf1 cut\\'e", "cut|"},
        {"{\\rtf1 cut\\u", "cut|"},
        {"{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        {"{\\rtf1 cut\\bin99999 abc", "cut|"},
        {"", ""},
    };
    for (const TextCase& test : cases)
        EXPECT_EQ(shape(read_rich_text(test.page)), test.shape) << test.page;
}

TEST(RichText, ReadsFontsSizesStylesAndColours)
{
    RichDocument document = read_rich_text(
        "{\\rtf1\\ansi\\ansicpg1252\\deff1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}"
        "{\\f2{\\*\\panose 0}Courier New;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
        "default {\\f0\\fs40\\b big}{\\i\\ul\\strike it}\\cf1\\highlight2 red\\cf0\\highlight0\\f2 mono\\f9 lost"
        "\\plain\\fs99999 huge\\fs-3 odd\\b\\b0\\ul\\ulnone\\uldb dbl}");
    ASSERT_EQ(document.font_names, (std::vector<std::string> {"Arial", "Times New Roman", "Courier New"}));
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const auto& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 9u);
    auto format = [](int font, int size, bool bold, bool italic, bool underline, bool strike,
                      std::optional<Color> color = std::nullopt, std::optional<Color> highlight = std::nullopt) {
        return RichCharacterFormat {font, size, bold, italic, underline, strike, color, highlight};
    };
    const RichCharacterFormat expected[] = {
        format(1, 24, false, false, false, false),
        format(0, 40, true, false, false, false),
        format(1, 24, false, true, true, true),
        format(1, 24, false, false, false, false, make_color(255, 0, 0), make_color(0, 0, 128)),
        format(2, 24, false, false, false, false),
        format(-1, 24, false, false, false, false),
        format(1, RICH_MAX_HALF_POINTS, false, false, false, false),
        format(1, 24, false, false, false, false),
        format(1, 24, false, false, true, false),
    };
    const char* texts[] = {"default ", "big", "it", "red", "mono", "lost", "huge", "odd", "dbl"};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].text, texts[i]);
        EXPECT_EQ(runs[i].format, expected[i]) << texts[i];
    }
}

TEST(RichText, ReadsParagraphFormats)
{
    RichDocument document = read_rich_text(
        "{\\rtf1\\qc\\li720\\ri360\\fi-360\\sb120\\sa240 centred\\par\\qr right\\par\\pard\\qj\\tqr\\tx2000\\tx500 "
        "justified\\par{\\qc in a group\\par}\\li99999999 after the group\\par\\pard\\fs48 \\par}");
    const auto& paragraphs = document.paragraphs;
    ASSERT_EQ(paragraphs.size(), 6u);
    RichParagraphFormat centred;
    centred.alignment = RichAlignment::center;
    centred.left_indent = 720;
    centred.right_indent = 360;
    centred.first_indent = -360;
    centred.space_before = 120;
    centred.space_after = 240;
    EXPECT_EQ(paragraphs[0].format, centred);
    RichParagraphFormat right = centred;
    right.alignment = RichAlignment::right;
    EXPECT_EQ(paragraphs[1].format, right);
    RichParagraphFormat justified;
    justified.alignment = RichAlignment::justify;
    justified.tabs = {{500, RichTabKind::left}, {2000, RichTabKind::right}};
    EXPECT_EQ(paragraphs[2].format, justified);
    EXPECT_EQ(paragraphs[3].format.alignment, RichAlignment::center);
    EXPECT_EQ(paragraphs[4].format.alignment, RichAlignment::justify);
    EXPECT_EQ(paragraphs[4].format.left_indent, RICH_MAX_TWIPS);
    // An empty paragraph keeps the size of its end for its height.
    EXPECT_TRUE(paragraphs[5].runs.empty());
    EXPECT_EQ(paragraphs[5].mark.half_points, 48);
}

TEST(RichText, FlattensGroupsNestedBeyondTheLimit)
{
    const int depth = 1'000'000;
    std::string page = "{\\rtf1 a";
    page += std::string(depth, '{') + "\\b deep" + std::string(depth, '}') + " back";
    page += "}";
    RichDocument document = read_rich_text(page);
    EXPECT_EQ(shape(document), "a/deep/ back|");
    EXPECT_TRUE(document.paragraphs[0].runs[1].format.bold);
    EXPECT_FALSE(document.paragraphs[0].runs[2].format.bold);
    // Never closed: the page still ends cleanly.
    EXPECT_EQ(shape(read_rich_text("{\\rtf1 " + std::string(depth, '{') + "x")), "x|");
}

TEST(RichText, KeepsAtMostSoManyTabStops)
{
    std::string page = "{\\rtf1";
    for (int i = 1; i <= 100; ++i)
        page += "\\tx" + std::to_string(i * 100);
    RichDocument document = read_rich_text(page + " x}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    EXPECT_EQ(document.paragraphs[0].format.tabs.size(), RICH_MAX_TAB_STOPS);
}

TEST(RichText, PlainTextOfTheDocument)
{
    EXPECT_EQ(read_rich_text("{\\rtf1 one\\par two\\tab 2}").plain_text(), "one\ntwo\t2");
}

}  // namespace
