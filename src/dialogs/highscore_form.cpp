// HighscoreForm: the table of the ten best players.
#include "dialogs/highscore_form.h"

#include "dialogs/form_widgets.h"
#include "support/win1252.h"

namespace quillon {

namespace {

constexpr std::string_view CAPTION = "Top Ten Players";
constexpr std::string_view CLOSE_HINT = "press <Escape> to close";
constexpr int FIRST_ROW_TOP = 48;
constexpr int ROW_STEP = 32;
constexpr int ROW_HEIGHT = 25;
constexpr SurfaceRect RANK_COLUMN { 8, 0, 8 + 33, 0 }; // right-aligned
constexpr SurfaceRect NAME_COLUMN { 48, 0, 48 + 209, 0 }; // left-aligned
constexpr SurfaceRect VALUE_COLUMN { 264, 0, 264 + 73, 0 }; // right-aligned
constexpr int HINT_BOTTOM_MARGIN = 12;

// Draws the text in the column of the row, clipped to it, from its left edge or ending at its right edge.
void draw_cell(SurfaceCanvas& canvas, TextEngine& engine, int font, Color color, SurfaceRect column, int top,
    std::string_view text, bool right_aligned)
{
    SurfaceCanvas cell = canvas;
    cell.clip = { std::max(canvas.clip.left, column.left), std::max(canvas.clip.top, top),
        std::min(canvas.clip.right, column.right), std::min(canvas.clip.bottom, top + ROW_HEIGHT) };
    int left = right_aligned ? column.right - engine.measure(font, text).width : column.left;
    engine.draw(cell, font, color, 0, left, top, text);
}

} // namespace

HighscoreForm::HighscoreForm(const HighscoreSettings& settings, std::optional<Bitmap24> background,
    const HighscoreTable& table, std::optional<int> new_rank)
    : m_settings(settings)
    , m_background(std::move(background))
    , m_new_rank(new_rank)
    , m_transcript(table.text(new_rank))
{
    for (int rank = 1; rank <= HighscoreTable::RANKS; ++rank) {
        m_names[rank - 1] = table.name(rank);
        m_values[rank - 1] = table.value(rank);
    }
}

std::string HighscoreForm::caption() const
{
    return std::string(CAPTION);
}

platform::WindowPlacement HighscoreForm::placement(platform::ScreenSize screen) const
{
    platform::WindowPlacement placement;
    placement.width = HIGHSCORE_WIDTH;
    placement.height = HIGHSCORE_HEIGHT;
    placement.left = (screen.width - HIGHSCORE_WIDTH) / 2;
    placement.top = (screen.height - HIGHSCORE_HEIGHT) / 2;
    placement.border = m_settings.border;
    placement.caption_buttons = false;
    return placement;
}

// 1. The background; 2. ten rows of rank, name and value in the settings' font, the new entry's row in its own
// colour with the typed name and a "|" cursor; 3. the hint to close at the bottom.
void HighscoreForm::paint(SurfaceCanvas& canvas)
{
    TextEngine& engine = text_engine();
    SurfaceRect whole { 0, 0, HIGHSCORE_WIDTH, HIGHSCORE_HEIGHT };
    if (m_background)
        draw_bitmap(canvas, *m_background, whole, false);
    else
        fill_box(canvas, whole, DIALOG_FACE);
    int font = engine.font({ m_settings.font_name, m_settings.font_size, m_settings.font_style });
    Color other = static_cast<Color>(m_settings.other_color) & 0xFFFFFF;
    Color fresh = static_cast<Color>(m_settings.new_entry_color) & 0xFFFFFF;
    for (int rank = 1; rank <= HighscoreTable::RANKS; ++rank) {
        int top = FIRST_ROW_TOP + (rank - 1) * ROW_STEP;
        bool is_new = rank == m_new_rank;
        Color color = is_new ? fresh : other;
        std::string name = is_new ? m_typed + "|" : m_names[rank - 1];
        draw_cell(canvas, engine, font, color, RANK_COLUMN, top, std::to_string(rank) + ".", true);
        draw_cell(canvas, engine, font, color, NAME_COLUMN, top, name, false);
        draw_cell(canvas, engine, font, color, VALUE_COLUMN, top, std::to_string(m_values[rank - 1]), true);
    }
    int hint_font = engine.font(DIALOG_FONT);
    TextExtent hint = engine.measure(hint_font, CLOSE_HINT);
    engine.draw(canvas, hint_font, other, 0, (HIGHSCORE_WIDTH - hint.width) / 2,
        HIGHSCORE_HEIGHT - HINT_BOTTOM_MARGIN - hint.height, CLOSE_HINT);
    m_dirty = false;
}

void HighscoreForm::type(char character)
{
    if (character == CHAR_ESCAPE || character == CHAR_ENTER) {
        m_finished = true;
        return;
    }
    if (!m_new_rank)
        return;
    if (character == CHAR_BACKSPACE && !m_typed.empty())
        m_typed.pop_back();
    else if (static_cast<unsigned char>(character) >= 32)
        m_typed += character;
    m_dirty = true;
}

void HighscoreForm::handle(const platform::Event& event)
{
    if (event.kind == platform::EventKind::window_close)
        m_finished = true;
    if (event.kind != platform::EventKind::text)
        return;
    for (char character : event.text) {
        if (m_finished)
            return;
        type(character);
    }
}

void HighscoreForm::answer(const std::optional<std::string>& line)
{
    if (m_new_rank && line) {
        for (char character : utf8_to_win1252(*line)) {
            if (static_cast<unsigned char>(character) >= 32)
                m_typed += character;
        }
    }
    m_finished = true;
}

} // namespace quillon
