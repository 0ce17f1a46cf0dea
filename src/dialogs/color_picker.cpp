// ColorPicker: the colour grid, the channel fields, keys, mouse and answers of the colour dialog.
#include "dialogs/color_picker.h"

#include "platform/dialog_host.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quillon {

namespace {

constexpr int WIDTH = 300;
constexpr int HEIGHT = 262;
constexpr int GRID_LEFT = 10;
constexpr int GRID_TOP = 26;
constexpr int CELL_WIDTH = 28;
constexpr int CELL_HEIGHT = 24;
constexpr SurfaceRect PREVIEW {244, 26, 290, 170};
constexpr std::array<SurfaceRect, 3> FIELD_BOXES {{{44, 182, 84, 204}, {140, 182, 180, 204}, {226, 182, 266, 204}}};
constexpr std::array<const char*, 3> FIELD_LABELS {"Red:", "Green:", "Blue:"};
constexpr std::array<int, 3> LABEL_LEFTS {10, 96, 192};
constexpr SurfaceRect OK_BUTTON {130, 226, 205, 250};
constexpr SurfaceRect CANCEL_BUTTON {215, 226, 290, 250};
constexpr int CELLS = ColorPicker::COLUMNS * ColorPicker::ROWS;

constexpr std::array FOCUS_ORDER {ColorPicker::Focus::grid, ColorPicker::Focus::red, ColorPicker::Focus::green,
    ColorPicker::Focus::blue, ColorPicker::Focus::ok, ColorPicker::Focus::cancel};

// The grid's columns are hues (degrees) and its rows lightness, from pale to dark; the last row is greys.
constexpr std::array<double, ColorPicker::COLUMNS> HUES {0, 30, 60, 120, 180, 210, 270, 315};
constexpr std::array<double, ColorPicker::ROWS - 1> LIGHTNESS {0.85, 0.7, 0.5, 0.35, 0.2};

std::uint8_t channel(double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

// A fully saturated colour of the hue at the lightness.
Color hue_color(double hue, double lightness)
{
    double chroma = 1 - std::abs(2 * lightness - 1);
    double side = chroma * (1 - std::abs(std::fmod(hue / 60, 2) - 1));
    double low = lightness - chroma / 2;
    double red = 0, green = 0, blue = 0;
    switch (static_cast<int>(hue / 60) % 6) {
    case 0: red = chroma, green = side; break;
    case 1: red = side, green = chroma; break;
    case 2: green = chroma, blue = side; break;
    case 3: green = side, blue = chroma; break;
    case 4: red = side, blue = chroma; break;
    default: red = chroma, blue = side; break;
    }
    return make_color(channel(red + low), channel(green + low), channel(blue + low));
}

SurfaceRect cell_box(int cell)
{
    int left = GRID_LEFT + cell % ColorPicker::COLUMNS * CELL_WIDTH;
    int top = GRID_TOP + cell / ColorPicker::COLUMNS * CELL_HEIGHT;
    return {left, top, left + CELL_WIDTH, top + CELL_HEIGHT};
}

std::uint8_t channel_of(Color color, int index)
{
    return index == 0 ? color_red(color) : index == 1 ? color_green(color) : color_blue(color);
}

}  // namespace

Color ColorPicker::basic_color(int cell)
{
    int column = cell % COLUMNS;
    int row = cell / COLUMNS;
    if (row == ROWS - 1) {
        auto grey = static_cast<std::uint8_t>(column * 255 / (COLUMNS - 1));
        return make_color(grey, grey, grey);
    }
    return hue_color(HUES[column], LIGHTNESS[row]);
}

ColorPicker::ColorPicker(std::int32_t initial)
    : ChooserForm(WIDTH, HEIGHT)
    , m_initial(initial)
    , m_color(static_cast<Color>(initial) & 0xFFFFFF)
{
    m_ok = chooser_button(OK_BUTTON, "OK");
    m_cancel = chooser_button(CANCEL_BUTTON, "Cancel");
    for (int cell = 0; cell < CELLS; ++cell) {
        if (basic_color(cell) == m_color)
            m_cell = cell;
    }
    set_color(m_color);
}

// A whole number from 0 to 16777215 is the colour, an empty line or none keeps the starting colour, and anything
// else cancels.
void ColorPicker::answer(const std::optional<std::string>& line)
{
    std::string_view answer = line ? platform::trimmed_answer(*line) : std::string_view();
    if (answer.empty())
        return finish_with(m_initial);
    std::int32_t color = -1;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), color);
    if (error == std::errc() && end == answer.data() + answer.size() && color >= 0 && color <= 0xFFFFFF)
        return finish_with(color);
    if (!is_cancel_answer(answer))
        set_note("answers: \"" + std::string(answer) + "\" is no colour here; the dialog is cancelled");
    finish_with(-1);
}

void ColorPicker::handle_event(const platform::Event& event)
{
    using platform::EventKind;
    if (event.kind == EventKind::text) {
        for (char character : event.text)
            type(character);
    } else if (event.kind == EventKind::key_down) {
        key(event);
    } else {
        mouse(event);
    }
    m_ok.focused = m_focus == Focus::ok;
    m_cancel.focused = m_focus == Focus::cancel;
}

void ColorPicker::type(char character)
{
    if (character == CHAR_TAB) {
        auto at = std::ranges::find(FOCUS_ORDER, m_focus) - FOCUS_ORDER.begin();
        int count = static_cast<int>(FOCUS_ORDER.size());
        m_focus = FOCUS_ORDER[(at + (shift_held() ? -1 : 1) + count) % count];
        if (TextField* field = focused_field())
            field->set_text(field->text(), true);
    } else if (character == CHAR_ENTER) {
        finish_with(m_focus == Focus::cancel ? -1 : static_cast<std::int32_t>(m_color));
    } else if (character == CHAR_ESCAPE) {
        finish_with(-1);
    } else if (TextField* field = focused_field()) {
        // Digits only, three at most.
        bool digit = character >= '0' && character <= '9';
        if (character != CHAR_BACKSPACE && (!digit || (field->text().size() >= 3 && !field->all_selected())))
            return;
        field->handle({.kind = platform::EventKind::text, .text = std::string(1, character)});
        field_changed();
    }
}

void ColorPicker::key(const platform::Event& event)
{
    int key = event.virtual_key;
    if (m_focus == Focus::grid) {
        int column = m_cell % COLUMNS;
        int row = m_cell / COLUMNS;
        if (key == KEY_LEFT)
            column = (column + COLUMNS - 1) % COLUMNS;
        else if (key == KEY_RIGHT)
            column = (column + 1) % COLUMNS;
        else if (key == KEY_UP)
            row = (row + ROWS - 1) % ROWS;
        else if (key == KEY_DOWN)
            row = (row + 1) % ROWS;
        else
            return;
        return pick_cell(row * COLUMNS + column);
    }
    TextField* field = focused_field();
    if (!field)
        return;
    if (key == KEY_UP || key == KEY_DOWN) {
        int value = 0;
        std::from_chars(field->text().data(), field->text().data() + field->text().size(), value);
        value = std::clamp(value + (key == KEY_UP ? 1 : -1), 0, 255);
        field->set_text(std::to_string(value), false);
        field_changed();
    } else if (field->handle(event)) {
        field_changed();
    }
}

void ColorPicker::mouse(const platform::Event& event)
{
    if (m_ok.handle_mouse(event))
        return finish_with(static_cast<std::int32_t>(m_color));
    if (m_cancel.handle_mouse(event))
        return finish_with(-1);
    if (event.kind != platform::EventKind::mouse_down || event.button != platform::MOUSE_LEFT)
        return;
    for (int cell = 0; cell < CELLS; ++cell) {
        if (cell_box(cell).contains(event.x, event.y)) {
            m_focus = Focus::grid;
            return pick_cell(cell);
        }
    }
    for (std::size_t i = 0; i < FIELD_BOXES.size(); ++i) {
        if (FIELD_BOXES[i].contains(event.x, event.y)) {
            m_focus = FOCUS_ORDER[i + 1];
            m_fields[i].set_text(m_fields[i].text(), true);
        }
    }
}

void ColorPicker::pick_cell(int cell)
{
    m_cell = cell;
    set_color(basic_color(cell));
}

void ColorPicker::set_color(Color color)
{
    m_color = color;
    for (int i = 0; i < 3; ++i)
        m_fields[i].set_text(std::to_string(channel_of(color, i)), m_focus == FOCUS_ORDER[i + 1]);
}

// The fields make the colour; a field left empty counts as 0, and a value above 255 as 255.
void ColorPicker::field_changed()
{
    std::array<std::uint8_t, 3> channels {};
    for (int i = 0; i < 3; ++i) {
        int value = 0;
        const std::string& text = m_fields[i].text();
        std::from_chars(text.data(), text.data() + text.size(), value);
        channels[i] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
    m_color = make_color(channels[0], channels[1], channels[2]);
}

TextField* ColorPicker::focused_field()
{
    switch (m_focus) {
    case Focus::red: return &m_fields[0];
    case Focus::green: return &m_fields[1];
    case Focus::blue: return &m_fields[2];
    default: return nullptr;
    }
}

void ColorPicker::finish_with(std::int32_t result)
{
    m_result = result;
    finish();
}

void ColorPicker::paint(SurfaceCanvas& canvas)
{
    TextEngine& engine = text_engine();
    int font = engine.font(DIALOG_FONT);
    fill_box(canvas, {0, 0, WIDTH, HEIGHT}, DIALOG_FACE);
    engine.draw(canvas, font, DIALOG_TEXT, 0, GRID_LEFT, 8, "Basic colors:");
    paint_grid(canvas);
    fill_box(canvas, PREVIEW, m_color);
    frame_box(canvas, PREVIEW, DIALOG_TEXT);
    int label_top = FIELD_BOXES[0].top + (FIELD_BOXES[0].height() - engine.line_height(font)) / 2;
    for (std::size_t i = 0; i < FIELD_BOXES.size(); ++i) {
        engine.draw(canvas, font, DIALOG_TEXT, 0, LABEL_LEFTS[i], label_top, FIELD_LABELS[i]);
        paint_text_field(canvas, engine, FIELD_BOXES[i], m_fields[i], {.focused = m_focus == FOCUS_ORDER[i + 1]});
    }
    for (const PushButton* button : {&m_ok, &m_cancel})
        paint_push_button(canvas, engine, DIALOG_FONT, *button);
    painted();
}

// Each cell a framed swatch; the cursor's cell has a thick frame, dotted while the grid has the keys.
void ColorPicker::paint_grid(SurfaceCanvas& canvas) const
{
    for (int cell = 0; cell < CELLS; ++cell) {
        SurfaceRect box = cell_box(cell);
        SurfaceRect swatch {box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        fill_box(canvas, swatch, basic_color(cell));
        frame_box(canvas, swatch, make_color(128, 128, 128));
        if (cell != m_cell)
            continue;
        frame_box(canvas, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, DIALOG_TEXT);
        if (m_focus == Focus::grid)
            frame_box(canvas, box, DIALOG_TEXT);
    }
}

}  // namespace quillon
