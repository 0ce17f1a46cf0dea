// Rich text: pages in the rich-text format read into paragraphs of formatted runs, ready to be laid out.
//
// The reader keeps a stack of group states (character and paragraph format, the destination the text goes
// to, the Unicode fallback count). Every page is read as Windows-1252: other code pages that a page names
// are read as that one too.
#include "graphics/rich_text.h"

#include "support/win1252.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <unordered_map>
#include <utility>

namespace quillon {

namespace {

constexpr std::string_view RTF_SIGNATURE = "{\\rtf";
constexpr int DEFAULT_HALF_POINTS = 24;
constexpr int MAX_UNICODE_SKIP = 16;      // fallback characters after \u that a page may ask to skip
constexpr std::size_t MAX_WORD_DIGITS = 10;
constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Where the characters of a group go.
enum class Destination { text, font_table, color_table, skipped };

// Destinations whose text is never shown.
constexpr std::string_view SKIPPED_DESTINATIONS[] = {
    "annotation", "atnauthor", "atnid", "author", "bkmkend", "bkmkstart", "buptim", "colorschememapping", "comment",
    "company", "creatim", "datastore", "doccomm", "filetbl", "fldinst", "footer",
    "footerf", "footerl", "footerr", "footnote", "generator", "header", "headerf", "headerl", "headerr", "info",
    "keywords", "latentstyles", "listoverridetable", "listtable", "mmathPr", "nonshppict", "objclass", "objdata",
    "object", "operator", "pgdsctbl", "pict", "printim", "revtbl", "revtim", "rsidtbl", "shpinst", "stylesheet",
    "subject", "template", "themedata", "title", "xmlnstbl",
};

// Control words that stand for one character.
struct CharacterWord {
    std::string_view word;
    char32_t character;
};
constexpr std::array<CharacterWord, 13> CHARACTER_WORDS = {{
    {"tab", U'\t'},
    {"cell", U'\t'},
    {"line", U'\n'},
    {"emdash", 0x2014},
    {"endash", 0x2013},
    {"emspace", 0x2003},
    {"enspace", 0x2002},
    {"qmspace", 0x2005},
    {"bullet", 0x2022},
    {"lquote", 0x2018},
    {"rquote", 0x2019},
    {"ldblquote", 0x201C},
    {"rdblquote", 0x201D},
}};

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_value(char c)
{
    if (is_digit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int clamp_twips(std::int64_t twips) { return static_cast<int>(std::clamp<std::int64_t>(twips, -RICH_MAX_TWIPS, RICH_MAX_TWIPS)); }

struct GroupState {
    RichCharacterFormat character;     // font, colour and highlight hold table numbers until a run is made
    RichParagraphFormat paragraph;
    Destination destination = Destination::text;
    bool hidden = false;               // \v: the characters are not shown
    int unicode_skip = 1;              // \uc: fallback characters that follow each \u
};

// One control word as read: its letters and its number, when it has one.
struct ControlWord {
    std::string_view name;
    bool has_parameter = false;
    std::int64_t parameter = 0;

    int value_or(int fallback) const
    {
        return has_parameter ? static_cast<int>(std::clamp<std::int64_t>(parameter, INT32_MIN, INT32_MAX)) : fallback;
    }
    // A toggle such as \b: on without a number or with one other than 0.
    bool on() const { return !has_parameter || parameter != 0; }
};

class RichTextReader {
public:
    explicit RichTextReader(std::string_view bytes)
        : m_bytes(bytes)
    {
        m_states.push_back(GroupState());
    }

    RichDocument read();

private:
    GroupState& state() { return m_states.back(); }
    bool in_text() const { return m_states.back().destination == Destination::text; }

    void open_group();
    bool close_group();
    void read_control();
    void read_plain_characters();
    void control_word(const ControlWord& word);
    bool character_format_word(const ControlWord& word);
    bool paragraph_format_word(const ControlWord& word);
    void control_symbol(char symbol);
    void add_character(char32_t character);
    void add_unicode(std::int64_t parameter);
    void add_text(std::string_view utf8);
    void end_paragraph();
    void commit_font();
    RichCharacterFormat resolved(const RichCharacterFormat& format) const;
    std::optional<Color> table_color(const std::optional<Color>& number) const;

    std::string_view m_bytes;          // the page
    std::size_t m_position = 0;        // next byte to read
    bool m_done = false;               // the page's outer group has closed
    bool m_group_start = false;        // nothing has been read since the last '{'
    std::vector<GroupState> m_states;  // the outermost state first
    int m_flattened = 0;               // groups opened beyond the depth limit and not yet closed
    int m_pending_skip = 0;            // fallback characters of the last \u still to be skipped
    char32_t m_high_surrogate = 0;     // the first half of a pair given by two \u words

    RichDocument m_document;
    RichParagraph m_paragraph;         // being read
    int m_default_font = 0;            // \deff: the font number of text without \f
    std::unordered_map<std::int64_t, int> m_font_numbers;   // font table number -> index into the names
    std::int64_t m_font_number = 0;    // of the font table entry being read
    std::string m_font_name;           // of the font table entry being read (UTF-8)
    std::vector<std::optional<Color>> m_colors;             // the colour table; none for "auto"
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_color_given = false;        // the colour table entry being read has a component
    RichTabKind m_next_tab_kind = RichTabKind::left;       // of the next tab stop
    std::string m_utf8;                // conversion buffer of plain characters
    std::string m_character;           // conversion buffer of single characters
};

RichDocument RichTextReader::read()
{
    while (!m_done && m_position < m_bytes.size()) {
        char c = m_bytes[m_position];
        if (c == '{') {
            ++m_position;
            open_group();
        } else if (c == '}') {
            ++m_position;
            m_done = close_group();
        } else if (c == '\\') {
            read_control();
        } else {
            read_plain_characters();
        }
    }
    // An unfinished paragraph ends the page; a final paragraph without characters is not kept.
    if (!m_paragraph.runs.empty())
        end_paragraph();
    return std::move(m_document);
}

void RichTextReader::open_group()
{
    m_pending_skip = 0;
    m_group_start = true;
    if (static_cast<int>(m_states.size()) > RICH_MAX_GROUP_DEPTH) {
        ++m_flattened;
        return;
    }
    m_states.push_back(m_states.back());
}

// True when the page's outer group has closed.
bool RichTextReader::close_group()
{
    m_pending_skip = 0;
    m_group_start = false;
    if (m_flattened > 0) {
        --m_flattened;
        return false;
    }
    if (state().destination == Destination::font_table)
        commit_font();
    // The page's last paragraph takes the format of the page's own group.
    if (m_states.size() == 2 && !m_paragraph.runs.empty())
        end_paragraph();
    m_states.pop_back();
    return m_states.size() <= 1;
}

void RichTextReader::read_plain_characters()
{
    m_group_start = false;
    std::size_t start = m_position;
    while (m_position < m_bytes.size()) {
        char c = m_bytes[m_position];
        if (c == '{' || c == '}' || c == '\\')
            break;
        ++m_position;
    }
    m_utf8.clear();
    for (std::size_t i = start; i < m_position; ++i) {
        auto byte = static_cast<unsigned char>(m_bytes[i]);
        // Line ends in the file are not text; other control characters but the tab are left out.
        if (byte < 32 && byte != '\t')
            continue;
        if (m_pending_skip > 0) {
            --m_pending_skip;
            continue;
        }
        if (byte == ';' && state().destination != Destination::text) {
            add_text(m_utf8);
            m_utf8.clear();
            if (state().destination == Destination::font_table)
                commit_font();
            else if (state().destination == Destination::color_table) {
                m_colors.push_back(m_color_given ? std::optional<Color>(make_color(m_red, m_green, m_blue)) : std::nullopt);
                m_red = m_green = m_blue = 0;
                m_color_given = false;
            }
            continue;
        }
        append_utf8(m_utf8, win1252_code_point(byte));
    }
    add_text(m_utf8);
}

void RichTextReader::read_control()
{
    ++m_position;
    if (m_position >= m_bytes.size())
        return;
    char first = m_bytes[m_position];
    if (!is_letter(first)) {
        ++m_position;
        control_symbol(first);
        m_group_start = false;
        return;
    }
    ControlWord word;
    std::size_t start = m_position;
    while (m_position < m_bytes.size() && is_letter(m_bytes[m_position]))
        ++m_position;
    word.name = m_bytes.substr(start, m_position - start);
    bool negative = m_position + 1 < m_bytes.size() && m_bytes[m_position] == '-' && is_digit(m_bytes[m_position + 1]);
    if (negative)
        ++m_position;
    std::size_t digits = 0;
    while (m_position < m_bytes.size() && is_digit(m_bytes[m_position])) {
        // Digits beyond the tenth belong to the word but no longer change its number.
        if (digits++ < MAX_WORD_DIGITS)
            word.parameter = word.parameter * 10 + (m_bytes[m_position] - '0');
        ++m_position;
    }
    word.has_parameter = digits > 0;
    if (negative)
        word.parameter = -word.parameter;
    if (m_position < m_bytes.size() && m_bytes[m_position] == ' ')
        ++m_position;
    m_group_start = false;
    if (m_pending_skip > 0 && word.name != "u" && word.name != "bin") {
        --m_pending_skip;
        return;
    }
    control_word(word);
}

void RichTextReader::control_symbol(char symbol)
{
    switch (symbol) {
    case '*':
        // A destination marked so that readers which do not know it skip it: this reader knows none of them.
        if (m_group_start)
            state().destination = Destination::skipped;
        return;
    case '\'': {
        if (m_position + 2 > m_bytes.size()) {
            m_position = m_bytes.size();   // cut short within the character
            return;
        }
        int high = m_position < m_bytes.size() ? hex_value(m_bytes[m_position]) : -1;
        int low = m_position + 1 < m_bytes.size() ? hex_value(m_bytes[m_position + 1]) : -1;
        if (high < 0 || low < 0)
            return;
        m_position += 2;
        if (m_pending_skip > 0) {
            --m_pending_skip;
            return;
        }
        if (int byte = high * 16 + low; byte != 0)
            add_character(win1252_code_point(static_cast<unsigned char>(byte)));
        return;
    }
    case '\\':
    case '{':
    case '}':
        if (m_pending_skip > 0)
            --m_pending_skip;
        else
            add_character(static_cast<unsigned char>(symbol));
        return;
    case '~':
        add_character(0xA0);
        return;
    case '_':
        add_character(0x2011);
        return;
    case '\r':
    case '\n':
        // A backslash before a line end is a paragraph end.
        if (in_text())
            end_paragraph();
        return;
    default:
        return;   // optional hyphens and unknown symbols show nothing
    }
}

void RichTextReader::control_word(const ControlWord& word)
{
    std::string_view name = word.name;
    if (name == "bin") {
        // Binary data: skipped whole.
        std::size_t length = static_cast<std::size_t>(std::max<std::int64_t>(word.parameter, 0));
        m_position += std::min(length, m_bytes.size() - m_position);
        return;
    }
    if (name == "fonttbl") {
        state().destination = Destination::font_table;
        m_font_name.clear();
        return;
    }
    if (name == "colortbl") {
        state().destination = Destination::color_table;
        return;
    }
    if (std::ranges::find(SKIPPED_DESTINATIONS, name) != std::end(SKIPPED_DESTINATIONS)) {
        state().destination = Destination::skipped;
        return;
    }
    switch (state().destination) {
    case Destination::skipped:
        return;
    case Destination::font_table:
        if (name == "f") {
            commit_font();
            m_font_number = word.parameter;
        } else if (name == "u") {
            add_unicode(word.parameter);
        }
        return;
    case Destination::color_table:
        if (name == "red" || name == "green" || name == "blue") {
            int component = static_cast<int>(std::clamp<std::int64_t>(word.parameter, 0, 255));
            (name == "red" ? m_red : name == "green" ? m_green : m_blue) = component;
            m_color_given = true;
        }
        return;
    case Destination::text:
        break;
    }
    if (name == "u") {
        add_unicode(word.parameter);
        return;
    }
    if (name == "uc") {
        state().unicode_skip = static_cast<int>(std::clamp<std::int64_t>(word.parameter, 0, MAX_UNICODE_SKIP));
        return;
    }
    if (name == "par" || name == "page" || name == "sect" || name == "row") {
        end_paragraph();
        return;
    }
    if (name == "deff") {
        m_default_font = word.value_or(0);
        return;
    }
    for (const CharacterWord& character : CHARACTER_WORDS) {
        if (character.word == name) {
            add_character(character.character);
            return;
        }
    }
    if (!character_format_word(word))
        paragraph_format_word(word);
}

bool RichTextReader::character_format_word(const ControlWord& word)
{
    RichCharacterFormat& format = state().character;
    std::string_view name = word.name;
    if (name == "plain") {
        format = RichCharacterFormat();
        state().hidden = false;
    } else if (name == "v") {
        state().hidden = word.on();
    } else if (name == "f") {
        format.font = word.value_or(0);
    } else if (name == "fs") {
        int size = word.value_or(DEFAULT_HALF_POINTS);
        format.half_points = size <= 0 ? DEFAULT_HALF_POINTS : std::min(size, RICH_MAX_HALF_POINTS);
    } else if (name == "b") {
        format.bold = word.on();
    } else if (name == "i") {
        format.italic = word.on();
    } else if (name == "ulnone") {
        format.underline = false;
    } else if (name.starts_with("ul")) {
        // \ul and its kinds (double, dotted, word...) all underline.
        format.underline = word.on();
    } else if (name == "strike" || name == "striked") {
        format.strike = word.on();
    } else if (name == "cf") {
        format.color = word.value_or(0);
    } else if (name == "highlight" || name == "cb" || name == "chcbpat") {
        format.highlight = word.value_or(0);
    } else {
        return false;
    }
    return true;
}

bool RichTextReader::paragraph_format_word(const ControlWord& word)
{
    RichParagraphFormat& format = state().paragraph;
    std::string_view name = word.name;
    if (name == "pard") {
        format = RichParagraphFormat();
    } else if (name == "ql") {
        format.alignment = RichAlignment::left;
    } else if (name == "qc") {
        format.alignment = RichAlignment::center;
    } else if (name == "qr") {
        format.alignment = RichAlignment::right;
    } else if (name == "qj" || name == "qd") {
        format.alignment = RichAlignment::justify;
    } else if (name == "li") {
        format.left_indent = clamp_twips(word.parameter);
    } else if (name == "ri") {
        format.right_indent = clamp_twips(word.parameter);
    } else if (name == "fi") {
        format.first_indent = clamp_twips(word.parameter);
    } else if (name == "sb") {
        format.space_before = std::max(clamp_twips(word.parameter), 0);
    } else if (name == "sa") {
        format.space_after = std::max(clamp_twips(word.parameter), 0);
    } else if (name == "tqc" || name == "tqr" || name == "tqdec") {
        m_next_tab_kind = name == "tqc" ? RichTabKind::center : name == "tqr" ? RichTabKind::right : RichTabKind::decimal;
    } else if (name == "tx" || name == "tb") {
        RichTabStop stop {std::max(clamp_twips(word.parameter), 0), m_next_tab_kind};
        m_next_tab_kind = RichTabKind::left;
        auto place = std::lower_bound(format.tabs.begin(), format.tabs.end(), stop.position,
            [](const RichTabStop& tab, int position) { return tab.position < position; });
        if (place != format.tabs.end() && place->position == stop.position)
            *place = stop;
        else if (format.tabs.size() < RICH_MAX_TAB_STOPS)
            format.tabs.insert(place, stop);
    } else {
        return false;
    }
    return true;
}

void RichTextReader::add_unicode(std::int64_t parameter)
{
    m_pending_skip = state().unicode_skip;
    // Numbers above 32767 are written as negative 16-bit values.
    std::int64_t code = parameter < 0 ? parameter + 65536 : parameter;
    if (code >= 0xD800 && code <= 0xDBFF) {
        m_high_surrogate = static_cast<char32_t>(code);
        return;
    }
    char32_t high = std::exchange(m_high_surrogate, 0);
    if (code >= 0xDC00 && code <= 0xDFFF) {
        add_character(high ? 0x10000 + ((high - 0xD800) << 10) + (static_cast<char32_t>(code) - 0xDC00) : REPLACEMENT_CHARACTER);
        return;
    }
    if (code < 0 || code > 0xFFFF)
        add_character(REPLACEMENT_CHARACTER);
    else if (code >= 32 || code == '\t')
        add_character(static_cast<char32_t>(code));
}

void RichTextReader::add_character(char32_t character)
{
    m_character.clear();
    append_utf8(m_character, character);
    add_text(m_character);
}

void RichTextReader::add_text(std::string_view utf8)
{
    if (utf8.empty())
        return;
    switch (state().destination) {
    case Destination::text:
        if (state().hidden)
            return;
        break;
    case Destination::font_table:
        m_font_name += utf8;
        return;
    case Destination::color_table:
    case Destination::skipped:
        return;
    }
    RichCharacterFormat format = resolved(state().character);
    if (m_paragraph.runs.empty() || !(m_paragraph.runs.back().format == format))
        m_paragraph.runs.push_back({std::string(), format});
    m_paragraph.runs.back().text += utf8;
}

void RichTextReader::end_paragraph()
{
    m_paragraph.format = state().paragraph;
    m_paragraph.mark = resolved(state().character);
    m_document.paragraphs.push_back(std::move(m_paragraph));
    m_paragraph = RichParagraph();
}

void RichTextReader::commit_font()
{
    std::size_t first = m_font_name.find_first_not_of(' ');
    if (first != std::string::npos) {
        std::string name = m_font_name.substr(first, m_font_name.find_last_not_of(' ') - first + 1);
        auto [entry, added] = m_font_numbers.try_emplace(m_font_number, static_cast<int>(m_document.font_names.size()));
        if (added)
            m_document.font_names.push_back(std::move(name));
        else
            m_document.font_names[entry->second] = std::move(name);
    }
    m_font_name.clear();
}

// The format with the font table's index of its font and the colour table's colours.
RichCharacterFormat RichTextReader::resolved(const RichCharacterFormat& format) const
{
    RichCharacterFormat result = format;
    auto font = m_font_numbers.find(format.font < 0 ? m_default_font : format.font);
    result.font = font == m_font_numbers.end() ? -1 : font->second;
    result.color = table_color(format.color);
    result.highlight = table_color(format.highlight);
    return result;
}

// The colour that a colour table number (held in the colour's place) stands for; none for "auto" (usually
// the first entry) and numbers the table lacks.
std::optional<Color> RichTextReader::table_color(const std::optional<Color>& number) const
{
    if (!number || *number >= m_colors.size())
        return std::nullopt;
    return m_colors[*number];
}

// Plain text: one paragraph per line, in the default format.
RichDocument read_plain_text(std::string_view bytes)
{
    RichDocument document;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        std::string_view line = bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        RichParagraph paragraph;
        std::string utf8;
        for (char c : line) {
            if (static_cast<unsigned char>(c) >= 32 || c == '\t')
                append_utf8(utf8, win1252_code_point(static_cast<unsigned char>(c)));
        }
        if (!utf8.empty())
            paragraph.runs.push_back({std::move(utf8), RichCharacterFormat()});
        document.paragraphs.push_back(std::move(paragraph));
        if (end == std::string_view::npos)
            break;
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return document;
}

}  // namespace

std::string RichDocument::plain_text() const
{
    std::string text;
    for (const RichParagraph& paragraph : paragraphs) {
        if (&paragraph != &paragraphs.front())
            text += '\n';
        for (const RichRun& run : paragraph.runs)
            text += run.text;
    }
    return text;
}

RichDocument read_rich_text(std::string_view bytes)
{
    if (!bytes.starts_with(RTF_SIGNATURE))
        return read_plain_text(bytes);
    return RichTextReader(bytes).read();
}

}  // namespace quillon
