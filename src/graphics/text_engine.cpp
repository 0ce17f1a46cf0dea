// TextEngine: lines of game text measured and drawn with Pango and Cairo onto surface pixels.
#include "graphics/text_engine.h"

#include "graphics/font_mapping.h"
#include "graphics/pango_screen.h"
#include "support/win1252.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace quillon {

namespace {

constexpr std::int64_t POINTS_PER_INCH = 72;
constexpr std::int32_t DEFAULT_POINTS = 8;          // what a size of 0 draws with
constexpr std::size_t LAYOUT_CACHE_LIMIT = 4096;    // laid-out lines kept; the cache starts over beyond it
constexpr std::size_t FONT_LIMIT = 256;             // fonts kept; the fonts start over beyond it
// A line is laid out in pieces of at most this many bytes, and at most so many bytes that even the widest
// glyphs stay far below the largest width Pango can hold (about two million pixels).
constexpr std::size_t MAX_PIECE_BYTES = 16384;
constexpr std::int64_t MAX_PIECE_PIXELS = 1'000'000;

// The character height in pixels of a size in points, rounded as Windows rounds it (halves away from zero).
int pixel_size(std::int32_t points)
{
    std::int64_t magnitude = points == 0 ? DEFAULT_POINTS : std::abs(std::int64_t(points));
    std::int64_t pixels = (magnitude * std::int64_t(SCREEN_DPI) + POINTS_PER_INCH / 2) / POINTS_PER_INCH;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, MAX_FONT_PIXELS));
}

int application_font_count()
{
    FcFontSet* fonts = FcConfigGetFonts(FcConfigGetCurrent(), FcSetApplication);
    return fonts ? fonts->nfont : 0;
}

// A laid-out line looked up by font and text, without building a key string.
struct LayoutKeyView {
    int font;
    std::string_view text;
};
struct LayoutKey {
    int font;           // the engine's font handle
    std::string text;   // Windows-1252 bytes
    operator LayoutKeyView() const { return {font, text}; }
};
struct LayoutKeyHash {
    using is_transparent = void;
    std::size_t operator()(LayoutKeyView key) const
    {
        return std::hash<std::string_view>()(key.text) * 31 + static_cast<std::size_t>(key.font);
    }
};
struct LayoutKeyEqual {
    using is_transparent = void;
    bool operator()(LayoutKeyView a, LayoutKeyView b) const { return a.font == b.font && a.text == b.text; }
};

struct LayoutUnref {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
struct LaidOutLine {
    std::unique_ptr<PangoLayout, LayoutUnref> layout;   // drawn as it is
    TextExtent extent;                                  // its logical size in pixels
    PangoRectangle ink;                                 // the pixels it touches, from its top-left corner
};

struct Font {
    TextFont key;                                   // as the game described it
    int pixels = 0;                                 // character height
    PangoFontDescription* description = nullptr;    // family, size, weight and slant
    PangoAttrList* attributes = nullptr;            // underline and strike-out
};

}  // namespace

struct TextEngine::Impl {
    PangoFontMap* font_map = nullptr;   // fontconfig's fonts, with the game's own once registered
    PangoContext* context = nullptr;    // layouts are built in it: no anti-aliasing, whole-pixel metrics
    int application_fonts = -1;         // the count of registered font files the font map knows of
    std::vector<Font> fonts;            // the handle is the index
    std::unordered_map<LayoutKey, LaidOutLine, LayoutKeyHash, LayoutKeyEqual> layouts;
    std::string utf8;                   // conversion buffer, kept between calls

    // The Cairo context of the last canvas drawn on, kept while the canvas's memory stays the same.
    cairo_surface_t* surface = nullptr;
    cairo_t* cairo = nullptr;
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;

    Impl();
    ~Impl();
    void make_context();
    void release_context();
    void follow_registered_fonts();
    void describe(Font& font);
    void forget_fonts();
    const LaidOutLine& lay_out(int font, std::string_view text);
    std::size_t piece_bytes(int font) const;
    cairo_t* cairo_for(const SurfaceCanvas& canvas);
    void release_canvas();
};

TextEngine::Impl::Impl()
{
    make_context();
}

TextEngine::Impl::~Impl()
{
    release_context();
    release_canvas();
    forget_fonts();
}

void TextEngine::Impl::forget_fonts()
{
    layouts.clear();
    for (Font& font : fonts) {
        pango_font_description_free(font.description);
        if (font.attributes)
            pango_attr_list_unref(font.attributes);
    }
    fonts.clear();
}

// A font map over fontconfig's fonts as they are now, and a context without anti-aliasing and with whole-pixel
// metrics.
void TextEngine::Impl::make_context()
{
    font_map = pango_cairo_font_map_new();
    context = new_screen_context(font_map);
    application_fonts = application_font_count();
}

void TextEngine::Impl::release_context()
{
    layouts.clear();
    g_object_unref(context);
    g_object_unref(font_map);
}

// Font files the game registers (or takes back) change which names are installed: a new font map sees them,
// and every font is described again.
void TextEngine::Impl::follow_registered_fonts()
{
    if (application_font_count() == application_fonts)
        return;
    release_context();
    make_context();
    for (Font& font : fonts)
        describe(font);
}

void TextEngine::Impl::describe(Font& font)
{
    if (font.description)
        pango_font_description_free(font.description);
    if (font.attributes)
        pango_attr_list_unref(font.attributes);
    font.pixels = pixel_size(font.key.size);
    font.description = pango_font_description_new();
    pango_font_description_set_family(font.description, installed_family(win1252_to_utf8(font.key.name)).c_str());
    pango_font_description_set_absolute_size(font.description, double(font.pixels) * PANGO_SCALE);
    pango_font_description_set_weight(font.description,
        font.key.style & FONT_BOLD ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.description, font.key.style & FONT_ITALIC ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    font.attributes = nullptr;
    if (font.key.style & (FONT_UNDERLINE | FONT_STRIKEOUT)) {
        font.attributes = pango_attr_list_new();
        if (font.key.style & FONT_UNDERLINE)
            pango_attr_list_insert(font.attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.key.style & FONT_STRIKEOUT)
            pango_attr_list_insert(font.attributes, pango_attr_strikethrough_new(TRUE));
    }
}

const LaidOutLine& TextEngine::Impl::lay_out(int font, std::string_view text)
{
    if (auto found = layouts.find(LayoutKeyView {font, text}); found != layouts.end())
        return found->second;
    if (layouts.size() >= LAYOUT_CACHE_LIMIT)
        layouts.clear();
    utf8.clear();
    append_win1252_as_utf8(text, utf8);
    // Pango takes no zero bytes within a text; they draw nothing.
    utf8.erase(std::remove(utf8.begin(), utf8.end(), '\0'), utf8.end());
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_font_description(layout, fonts[font].description);
    if (fonts[font].attributes)
        pango_layout_set_attributes(layout, fonts[font].attributes);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle ink {};
    PangoRectangle logical {};
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    LaidOutLine line {std::unique_ptr<PangoLayout, LayoutUnref>(layout), {logical.width, logical.height}, ink};
    return layouts.emplace(LayoutKey {font, std::string(text)}, std::move(line)).first->second;
}

std::size_t TextEngine::Impl::piece_bytes(int font) const
{
    return static_cast<std::size_t>(std::clamp<std::int64_t>(MAX_PIECE_PIXELS / fonts[font].pixels, 64, MAX_PIECE_BYTES));
}

cairo_t* TextEngine::Impl::cairo_for(const SurfaceCanvas& canvas)
{
    if (cairo && canvas.pixels == pixels && canvas.width == width && canvas.height == height && canvas.pitch == pitch) {
        cairo_surface_mark_dirty(surface);
        return cairo;
    }
    release_canvas();
    surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(canvas.pixels), CAIRO_FORMAT_RGB24,
        canvas.width, canvas.height, canvas.pitch);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        release_canvas();
        return nullptr;
    }
    cairo = cairo_create(surface);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    pixels = canvas.pixels;
    width = canvas.width;
    height = canvas.height;
    pitch = canvas.pitch;
    return cairo;
}

void TextEngine::Impl::release_canvas()
{
    if (cairo)
        cairo_destroy(cairo);
    if (surface)
        cairo_surface_destroy(surface);
    cairo = nullptr;
    surface = nullptr;
    pixels = nullptr;
}

TextEngine::TextEngine()
    : m_impl(std::make_unique<Impl>())
{
}

TextEngine::~TextEngine() = default;

int TextEngine::font(const TextFont& font)
{
    m_impl->follow_registered_fonts();
    std::vector<Font>& fonts = m_impl->fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const TextFont& known = fonts[i].key;
        if (known.size == font.size && (known.style & 15) == (font.style & 15) && known.name == font.name)
            return static_cast<int>(i);
    }
    if (fonts.size() >= FONT_LIMIT)
        m_impl->forget_fonts();
    Font added;
    added.key = font;
    added.key.style &= FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE | FONT_STRIKEOUT;
    m_impl->describe(added);
    fonts.push_back(added);
    return static_cast<int>(fonts.size() - 1);
}

TextExtent TextEngine::measure(int font, std::string_view line)
{
    std::size_t piece = m_impl->piece_bytes(font);
    if (line.size() <= piece)
        return m_impl->lay_out(font, line).extent;
    // A very long line: the widths of its pieces added up.
    TextExtent extent {0, m_impl->lay_out(font, line.substr(0, piece)).extent.height};
    std::int64_t width = 0;
    for (std::size_t start = 0; start < line.size(); start += piece)
        width += m_impl->lay_out(font, line.substr(start, piece)).extent.width;
    extent.width = static_cast<int>(std::min<std::int64_t>(width, INT_MAX));
    return extent;
}

void TextEngine::draw(SurfaceCanvas& canvas, int font, Color color, double angle, int x, int y, std::string_view line)
{
    SurfaceRect clip {std::max(canvas.clip.left, 0), std::max(canvas.clip.top, 0),
        std::min(canvas.clip.right, canvas.width), std::min(canvas.clip.bottom, canvas.height)};
    if (!canvas.pixels || clip.width() <= 0 || clip.height() <= 0 || line.empty())
        return;
    cairo_t* cairo = m_impl->cairo_for(canvas);
    if (!cairo)
        return;
    cairo_save(cairo);
    cairo_rectangle(cairo, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(cairo);
    cairo_set_source_rgb(cairo, color_red(color) / 255.0, color_green(color) / 255.0, color_blue(color) / 255.0);
    cairo_translate(cairo, x, y);
    if (angle != 0)
        cairo_rotate(cairo, -angle * std::numbers::pi / 180);
    // Piece by piece along the baseline; a piece whose ink (with a pixel around it) misses the clip rectangle
    // is not drawn.
    std::size_t piece = m_impl->piece_bytes(font);
    double advance = 0;
    SurfaceRect drawn {clip.right, clip.bottom, clip.left, clip.top};
    for (std::size_t start = 0; start < line.size(); start += piece) {
        const LaidOutLine& laid_out = m_impl->lay_out(font, line.substr(start, piece));
        const PangoRectangle& ink = laid_out.ink;
        double ink_left = advance + ink.x - 1;
        double ink_right = advance + ink.x + ink.width + 1;
        double corners[4][2] = {{ink_left, ink.y - 1.0}, {ink_right, ink.y - 1.0}, {ink_left, ink.y + ink.height + 1.0},
            {ink_right, ink.y + ink.height + 1.0}};
        double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
        for (auto& corner : corners) {
            cairo_user_to_device(cairo, &corner[0], &corner[1]);
            left = std::min(left, corner[0]);
            right = std::max(right, corner[0]);
            top = std::min(top, corner[1]);
            bottom = std::max(bottom, corner[1]);
        }
        if (right >= clip.left && left < clip.right && bottom >= clip.top && top < clip.bottom) {
            cairo_move_to(cairo, advance, 0);
            pango_cairo_show_layout(cairo, laid_out.layout.get());
            drawn.left = std::min(drawn.left, std::max(clip.left, int(std::floor(left))));
            drawn.top = std::min(drawn.top, std::max(clip.top, int(std::floor(top))));
            drawn.right = std::max(drawn.right, std::min(clip.right, int(std::ceil(right)) + 1));
            drawn.bottom = std::max(drawn.bottom, std::min(clip.bottom, int(std::ceil(bottom)) + 1));
        }
        advance += laid_out.extent.width;
    }
    cairo_restore(cairo);
    cairo_surface_flush(m_impl->surface);
    // Cairo fills the unused top byte of the pixels it draws; surfaces keep it 0.
    for (int row = drawn.top; row < drawn.bottom; ++row)
        for (int column = drawn.left; column < drawn.right; ++column)
            canvas.at(column, row) &= 0xFFFFFF;
}

TextEngine& text_engine()
{
    static TextEngine s_engine;
    return s_engine;
}

}  // namespace quillon
