// RichTextLayout: a rich-text page laid out to a width with Pango, and painted onto surface pixels.
#include "graphics/rich_text_layout.h"

#include "graphics/font_mapping.h"
#include "graphics/pango_screen.h"
#include "graphics/text_engine.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace quillon {

namespace {

constexpr int DEFAULT_TAB_PIXELS = 48;   // half an inch: tab stops beyond the paragraph's own
constexpr std::string_view LINE_SEPARATOR = "\xe2\x80\xa8";   // breaks a line within a Pango paragraph

int twips_to_pixels(int twips)
{
    return twips >= 0 ? (twips + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL : -((-twips + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL);
}

// The character height of a size in half points at 96 pixels per inch, rounded, within what the text engine
// draws.
int half_points_to_pixels(int half_points)
{
    return std::clamp((half_points * 2 + 1) / 3, 1, MAX_FONT_PIXELS);
}

PangoTabAlign tab_align(RichTabKind kind)
{
    switch (kind) {
    case RichTabKind::center:
        return PANGO_TAB_CENTER;
    case RichTabKind::right:
        return PANGO_TAB_RIGHT;
    case RichTabKind::decimal:
        return PANGO_TAB_DECIMAL;
    case RichTabKind::left:
        break;
    }
    return PANGO_TAB_LEFT;
}

PangoAlignment paragraph_align(RichAlignment alignment)
{
    switch (alignment) {
    case RichAlignment::center:
        return PANGO_ALIGN_CENTER;
    case RichAlignment::right:
        return PANGO_ALIGN_RIGHT;
    case RichAlignment::left:
    case RichAlignment::justify:
        break;
    }
    return PANGO_ALIGN_LEFT;
}

void insert_attribute(PangoAttrList* list, PangoAttribute* attribute, std::size_t start, std::size_t end)
{
    attribute->start_index = static_cast<guint>(start);
    attribute->end_index = static_cast<guint>(end);
    pango_attr_list_insert(list, attribute);
}

struct LayoutUnref {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};

// One paragraph: its Pango layout and where it stands on the page.
struct ParagraphLayout {
    std::unique_ptr<PangoLayout, LayoutUnref> layout;
    int left = 0;              // pixels from the page's left edge to the layout's
    int width_taken = 0;       // pixels of the page's width that the layout does not get (indents)
    int space_before = 0;      // pixels
    int space_after = 0;       // pixels
    std::int64_t top = 0;      // of the layout, from the page's top, at the last width
    int height = 0;            // of the layout at the last width
};

}  // namespace

struct RichTextLayout::Impl {
    PangoFontMap* font_map = nullptr;      // the fonts installed now, with those the game registered
    PangoContext* context = nullptr;
    std::vector<std::string> families;     // the installed family of each font of the page
    std::string default_family;
    std::vector<ParagraphLayout> paragraphs;
    int width = -1;                        // laid out to; -1 before the first
    std::int64_t height = 0;

    Impl(const RichDocument& document, std::string_view default_font);
    ~Impl();
    PangoFontDescription* describe(const RichCharacterFormat& format) const;
    PangoAttrList* attributes(const RichParagraph& paragraph, std::string& text) const;
    ParagraphLayout make(const RichParagraph& paragraph) const;
    PangoTabArray* tabs(const RichParagraphFormat& format, int left) const;
};

RichTextLayout::Impl::Impl(const RichDocument& document, std::string_view default_font)
    : font_map(pango_cairo_font_map_new())
    , context(new_screen_context(font_map))
    , default_family(installed_family(default_font))
{
    for (const std::string& name : document.font_names)
        families.push_back(installed_family(name));
    paragraphs.reserve(document.paragraphs.size());
    for (const RichParagraph& paragraph : document.paragraphs)
        paragraphs.push_back(make(paragraph));
}

RichTextLayout::Impl::~Impl()
{
    paragraphs.clear();
    g_object_unref(context);
    g_object_unref(font_map);
}

PangoFontDescription* RichTextLayout::Impl::describe(const RichCharacterFormat& format) const
{
    PangoFontDescription* description = pango_font_description_new();
    bool known = format.font >= 0 && static_cast<std::size_t>(format.font) < families.size();
    pango_font_description_set_family(description, (known ? families[format.font] : default_family).c_str());
    pango_font_description_set_absolute_size(description, double(half_points_to_pixels(format.half_points)) * PANGO_SCALE);
    pango_font_description_set_weight(description, format.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, format.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return description;
}

// The paragraph's text for Pango (line breaks as line separators) and the formats of its runs.
PangoAttrList* RichTextLayout::Impl::attributes(const RichParagraph& paragraph, std::string& text) const
{
    PangoAttrList* list = pango_attr_list_new();
    for (const RichRun& run : paragraph.runs) {
        std::size_t start = text.size();
        for (char c : run.text) {
            if (c == '\n')
                text += LINE_SEPARATOR;
            else
                text += c;
        }
        std::size_t end = text.size();
        const RichCharacterFormat& format = run.format;
        PangoFontDescription* description = describe(format);
        insert_attribute(list, pango_attr_font_desc_new(description), start, end);
        pango_font_description_free(description);
        if (format.underline)
            insert_attribute(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), start, end);
        if (format.strike)
            insert_attribute(list, pango_attr_strikethrough_new(TRUE), start, end);
        if (Color color = format.color.value_or(0); format.color)
            insert_attribute(list, pango_attr_foreground_new(color_red(color) * 257, color_green(color) * 257,
                color_blue(color) * 257), start, end);
        if (Color color = format.highlight.value_or(0); format.highlight)
            insert_attribute(list, pango_attr_background_new(color_red(color) * 257, color_green(color) * 257,
                color_blue(color) * 257), start, end);
    }
    return list;
}

// Tab stops are measured from the page's left edge, Pango's from the layout's: the paragraph's own stops,
// then stops every half inch.
PangoTabArray* RichTextLayout::Impl::tabs(const RichParagraphFormat& format, int left) const
{
    PangoTabArray* array = pango_tab_array_new(0, TRUE);
    int count = 0;
    int last = 0;
    for (const RichTabStop& stop : format.tabs) {
        int position = twips_to_pixels(stop.position);
        if (position <= left)
            continue;
        pango_tab_array_resize(array, count + 1);
        pango_tab_array_set_tab(array, count++, tab_align(stop.kind), position - left);
        last = position;
    }
    // Two default stops after the last one, which Pango repeats at their distance.
    int next = std::max(last, left) / DEFAULT_TAB_PIXELS + 1;
    for (int i = 0; i < 2; ++i, ++next) {
        pango_tab_array_resize(array, count + 1);
        pango_tab_array_set_tab(array, count++, PANGO_TAB_LEFT, next * DEFAULT_TAB_PIXELS - left);
    }
    return array;
}

ParagraphLayout RichTextLayout::Impl::make(const RichParagraph& paragraph) const
{
    const RichParagraphFormat& format = paragraph.format;
    ParagraphLayout laid_out;
    laid_out.layout.reset(pango_layout_new(context));
    PangoLayout* layout = laid_out.layout.get();
    std::string text;
    PangoAttrList* list = attributes(paragraph, text);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_attributes(layout, list);
    pango_attr_list_unref(list);
    PangoFontDescription* mark = describe(paragraph.mark);
    pango_layout_set_font_description(layout, mark);
    pango_font_description_free(mark);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, paragraph_align(format.alignment));
    pango_layout_set_justify(layout, format.alignment == RichAlignment::justify);
    // Pango indents the first line only by a positive indent and the others by a negative one: a hanging first
    // line starts the layout at the first line's place.
    int left = twips_to_pixels(format.left_indent);
    int first = twips_to_pixels(format.first_indent);
    int right = std::max(twips_to_pixels(format.right_indent), 0);
    int start = std::max(first < 0 ? left + first : left, 0);
    pango_layout_set_indent(layout, (first < 0 ? std::max(left, 0) - start : first) * (first < 0 ? -PANGO_SCALE : PANGO_SCALE));
    laid_out.left = start;
    laid_out.width_taken = start + right;
    laid_out.space_before = twips_to_pixels(format.space_before);
    laid_out.space_after = twips_to_pixels(format.space_after);
    PangoTabArray* array = tabs(format, start);
    pango_layout_set_tabs(layout, array);
    pango_tab_array_free(array);
    return laid_out;
}

RichTextLayout::RichTextLayout(const RichDocument& document, std::string_view default_font)
    : m_impl(std::make_unique<Impl>(document, default_font))
{
}

RichTextLayout::~RichTextLayout() = default;

int RichTextLayout::lay_out(int width)
{
    width = std::max(width, 1);
    if (width == m_impl->width)
        return height();
    m_impl->width = width;
    std::int64_t top = 0;
    for (ParagraphLayout& paragraph : m_impl->paragraphs) {
        int available = std::max(width - paragraph.width_taken, 1);
        pango_layout_set_width(paragraph.layout.get(), std::min(available, INT_MAX / PANGO_SCALE) * PANGO_SCALE);
        PangoRectangle logical {};
        pango_layout_get_pixel_extents(paragraph.layout.get(), nullptr, &logical);
        top += paragraph.space_before;
        paragraph.top = top;
        paragraph.height = logical.height;
        top += logical.height + paragraph.space_after;
    }
    m_impl->height = top;
    return height();
}

int RichTextLayout::width() const { return std::max(m_impl->width, 0); }

int RichTextLayout::height() const { return static_cast<int>(std::min<std::int64_t>(m_impl->height, INT_MAX)); }

void RichTextLayout::paint(SurfaceCanvas& canvas, const SurfaceRect& area, int scroll, Color text_color)
{
    SurfaceRect clip {std::max({area.left, canvas.clip.left, 0}), std::max({area.top, canvas.clip.top, 0}),
        std::min({area.right, canvas.clip.right, canvas.width}), std::min({area.bottom, canvas.clip.bottom, canvas.height})};
    if (!canvas.pixels || clip.width() <= 0 || clip.height() <= 0 || m_impl->width < 0)
        return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(canvas.pixels),
        CAIRO_FORMAT_RGB24, canvas.width, canvas.height, canvas.pitch);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cairo, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(cairo);
    // Only the paragraphs that reach into the area are drawn.
    std::int64_t shown_top = std::int64_t(scroll) + (clip.top - area.top);
    std::int64_t shown_bottom = std::int64_t(scroll) + (clip.bottom - area.top);
    for (const ParagraphLayout& paragraph : m_impl->paragraphs) {
        if (paragraph.top + paragraph.height <= shown_top || paragraph.top >= shown_bottom)
            continue;
        cairo_set_source_rgb(cairo, color_red(text_color) / 255.0, color_green(text_color) / 255.0,
            color_blue(text_color) / 255.0);
        cairo_move_to(cairo, area.left + paragraph.left, double(area.top + (paragraph.top - scroll)));
        pango_cairo_show_layout(cairo, paragraph.layout.get());
    }
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    // Cairo fills the unused top byte of the pixels it draws; surfaces keep it 0.
    for (int row = clip.top; row < clip.bottom; ++row)
        for (int column = clip.left; column < clip.right; ++column)
            canvas.at(column, row) &= 0xFFFFFF;
}

}  // namespace quillon
