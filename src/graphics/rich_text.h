// Rich text: pages in the rich-text format read into paragraphs of formatted runs, ready to be laid out.
#pragma once

#include "support/color.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// How a run of characters looks.
struct RichCharacterFormat {
    int font = -1;                     // index into the document's font names; -1 the page's default font
    int half_points = 24;              // character size in half points, 1 to RICH_MAX_HALF_POINTS
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<Color> color;        // none: the page's text colour
    std::optional<Color> highlight;    // none: the page shows through

    bool operator==(const RichCharacterFormat&) const = default;
};

// Characters in one format; text is UTF-8, where '\t' is a tab and '\n' a line break within the paragraph.
struct RichRun {
    std::string text;
    RichCharacterFormat format;
};

enum class RichAlignment { left, center, right, justify };
enum class RichTabKind { left, center, right, decimal };

struct RichTabStop {
    int position = 0;                  // twips from the page's left edge
    RichTabKind kind = RichTabKind::left;

    bool operator==(const RichTabStop&) const = default;
};

// Distances are twips (1/1440 inch, 15 per pixel at 96 pixels per inch).
struct RichParagraphFormat {
    RichAlignment alignment = RichAlignment::left;
    int left_indent = 0;               // from the page's left edge
    int right_indent = 0;              // from the page's right edge
    int first_indent = 0;              // of the first line, relative to the left indent (negative: hanging)
    int space_before = 0;
    int space_after = 0;
    std::vector<RichTabStop> tabs;     // in increasing position; default stops every half inch beyond them

    bool operator==(const RichParagraphFormat&) const = default;
};

struct RichParagraph {
    RichParagraphFormat format;
    std::vector<RichRun> runs;         // adjacent runs differ in format
    RichCharacterFormat mark;          // the format at the paragraph's end, which sizes an empty paragraph
};

struct RichDocument {
    std::vector<std::string> font_names;   // UTF-8, as the font table names them
    std::vector<RichParagraph> paragraphs;

    // The characters without formatting, paragraphs separated by '\n' (UTF-8).
    std::string plain_text() const;
};

inline constexpr int TWIPS_PER_PIXEL = 15;
// The largest character size: the height the text engine draws at most (MAX_FONT_PIXELS), in half points.
inline constexpr int RICH_MAX_HALF_POINTS = 1500;
// Groups nested deeper than this are read as part of the group at this depth.
inline constexpr int RICH_MAX_GROUP_DEPTH = 1000;
// The most tab stops a paragraph keeps; further ones are ignored.
inline constexpr std::size_t RICH_MAX_TAB_STOPS = 32;
// Indents, spacing and tab positions are kept within this many twips either way (22 inches).
inline constexpr int RICH_MAX_TWIPS = 31680;

// Reads a page: text that starts with "{\rtf" in the rich-text format, anything else as plain text in
// Windows-1252 with its line ends as paragraph ends. Never fails: what cannot be read is left out, and text
// that stops early ends the page where it stops.
RichDocument read_rich_text(std::string_view bytes);

}  // namespace quillon
