// MessageForm: the game's message form and its input box.
#include "dialogs/message_form.h"

#include "platform/dialog_host.h"
#include "support/ascii_case.h"
#include "support/win1252.h"

#include <algorithm>
#include <charconv>

namespace quillon {

namespace {

constexpr int LABEL_LEFT = 24; // the text's left edge, and the margin on either side of it
constexpr int LABEL_TOP = 16; // the text's top edge
constexpr int GAP = 16; // between the text, the field and the buttons, and below the buttons
constexpr int FIELD_FOCUS = 3; // m_focus when the field has it
constexpr std::string_view OK_CAPTION = "OK";

TextFont text_font(const MessageFont& font)
{
    return { font.name, font.size, (font.bold ? FONT_BOLD : 0) | (font.italic ? FONT_ITALIC : 0) };
}

// A colour from the settings (0xBBGGRR, as games give them) with its top byte cleared.
Color color_of(std::int32_t value)
{
    return static_cast<Color>(value) & 0xFFFFFF;
}

// Lines break at spaces; a word wider than the line stands alone on its line. Spaces before a word that
// starts a new line are dropped; spaces at the end stay with the last line.
void wrap_paragraph(
    TextEngine& engine, int font, std::string_view paragraph, int width, std::vector<std::string>& lines)
{
    std::string line;
    std::size_t at = 0;
    while (at < paragraph.size()) {
        std::size_t word_start = paragraph.find_first_not_of(' ', at);
        if (word_start == std::string_view::npos) {
            line += paragraph.substr(at);
            break;
        }
        std::size_t word_end = std::min(paragraph.find(' ', word_start), paragraph.size());
        std::string_view word = paragraph.substr(word_start, word_end - word_start);
        std::string candidate = line;
        candidate += paragraph.substr(at, word_end - at);
        if (!line.empty() && engine.measure(font, candidate).width > width) {
            lines.push_back(std::move(line));
            line = word;
        } else {
            line = std::move(candidate);
        }
        at = word_end;
    }
    lines.push_back(std::move(line));
}

// The label's lines: a break at every carriage return, line feed or pair of both, and words wrapped to the
// width; empty lines stay.
std::vector<std::string> wrap_label(TextEngine& engine, int font, std::string_view text, int width)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find_first_of("\r\n", start);
        wrap_paragraph(
            engine, font, text.substr(start, end == std::string_view::npos ? end : end - start), width, lines);
        if (end == std::string_view::npos)
            return lines;
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
}

Color blend(Color top, Color bottom, int y, int height)
{
    auto channel = [&](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(height > 1 ? a + (b - a) * y / (height - 1) : a);
    };
    return make_color(channel(color_red(top), color_red(bottom)), channel(color_green(top), color_green(bottom)),
        channel(color_blue(top), color_blue(bottom)));
}

void vertical_gradient(SurfaceCanvas& canvas, SurfaceRect box, Color top, Color bottom)
{
    for (int y = box.top; y < box.bottom; ++y)
        fill_box(canvas, { box.left, y, box.right, y + 1 }, blend(top, bottom, y - box.top, box.height()));
}

// The form's own background: deep blue, lighter at the top, in a thin light frame.
void paint_default_background(SurfaceCanvas& canvas, int width, int height)
{
    vertical_gradient(canvas, { 0, 0, width, height }, make_color(52, 64, 100), make_color(20, 24, 44));
    frame_box(canvas, { 0, 0, width, height }, make_color(100, 116, 160));
}

// The form's own buttons: normal, mouse over (lighter) and pressed (darker, lit from below).
std::vector<Bitmap24> default_button_images()
{
    struct Look {
        Color top, bottom, shine;
    };
    const Look looks[] = {
        { make_color(92, 120, 176), make_color(44, 64, 112), make_color(140, 168, 220) },
        { make_color(112, 144, 204), make_color(60, 84, 140), make_color(170, 196, 240) },
        { make_color(40, 58, 100), make_color(80, 106, 160), make_color(40, 58, 100) },
    };
    std::vector<Bitmap24> images;
    for (const Look& look : looks) {
        std::vector<std::uint32_t> pixels(DEFAULT_BUTTON_WIDTH * DEFAULT_BUTTON_HEIGHT);
        SurfaceCanvas canvas { pixels.data(), DEFAULT_BUTTON_WIDTH, DEFAULT_BUTTON_HEIGHT, DEFAULT_BUTTON_WIDTH * 4,
            { 0, 0, DEFAULT_BUTTON_WIDTH, DEFAULT_BUTTON_HEIGHT } };
        SurfaceRect box { 0, 0, DEFAULT_BUTTON_WIDTH, DEFAULT_BUTTON_HEIGHT };
        vertical_gradient(canvas, box, look.top, look.bottom);
        fill_box(canvas, { 1, 1, DEFAULT_BUTTON_WIDTH - 1, 2 }, look.shine);
        frame_box(canvas, box, make_color(24, 32, 60));
        Bitmap24& image = images.emplace_back(DEFAULT_BUTTON_WIDTH, DEFAULT_BUTTON_HEIGHT);
        for (int y = 0; y < DEFAULT_BUTTON_HEIGHT; ++y)
            for (int x = 0; x < DEFAULT_BUTTON_WIDTH; ++x)
                image.set_pixel(x, y, pixel_to_color(canvas.at(x, y)));
    }
    return images;
}

} // namespace

MessageForm::MessageForm(const MessageSettings& settings, MessageImages images, std::string text,
    const std::array<std::string, 3>& captions, MessageAnswers answers)
    : m_settings(settings)
    , m_images(std::move(images))
    , m_text(std::move(text))
    , m_answers(answers)
{
    if (m_images.buttons.empty()) {
        m_images.buttons = default_button_images();
        m_images.transparent_buttons = false;
    }
    for (int i = 0; i < 3; ++i) {
        m_buttons[i].caption = captions[i];
        m_buttons[i].visible = !captions[i].empty();
    }
    lay_out();
}

MessageForm MessageForm::input_box(
    const MessageSettings& settings, MessageImages images, std::string prompt, std::string initial)
{
    MessageForm form(settings, std::move(images), std::move(prompt), { "", std::string(OK_CAPTION), "" });
    form.m_input = true;
    form.m_field.set_text(std::move(initial), true);
    form.m_focus = FIELD_FOCUS;
    form.lay_out();
    return form;
}

// 1. The width: the one set, or the background's. 2. The label at (24, 16), word-wrapped to the width less
// the margins, with a space appended. 3. The height: the one set, or what the label, the field and the buttons
// need. 4. The buttons 16 pixels above the bottom: left, centred, right. 5. The field 16 pixels above them.
void MessageForm::lay_out()
{
    TextEngine& engine = text_engine();
    MessageLayout& layout = m_layout;
    int background_width = m_images.background ? m_images.background->width : DEFAULT_BACKGROUND_WIDTH;
    layout.width = m_settings.width > 0 ? m_settings.width : background_width;
    int label_width = std::max(layout.width - 2 * LABEL_LEFT, 0);
    int font = engine.font(text_font(m_settings.text_font));
    layout.lines = wrap_label(engine, font, m_text + ' ', label_width);
    int label_height = static_cast<int>(layout.lines.size()) * engine.line_height(font);
    layout.label = { LABEL_LEFT, LABEL_TOP, LABEL_LEFT + label_width, LABEL_TOP + label_height };
    int button_width = m_images.buttons.front().width;
    int button_height = m_images.buttons.front().height;
    int field_height = m_input ? text_field_height(engine, text_font(m_settings.input_font)) : 0;
    layout.height = m_settings.height > 0 ? m_settings.height
                                          : label_height + button_height + 3 * GAP + (m_input ? field_height + GAP : 0);
    int button_top = layout.height - button_height - GAP;
    const int lefts[] = { LABEL_LEFT, (layout.width - button_width) / 2, layout.width - button_width - LABEL_LEFT };
    for (int i = 0; i < 3; ++i) {
        layout.buttons[i] = { lefts[i], button_top, lefts[i] + button_width, button_top + button_height };
        m_buttons[i].bounds = layout.buttons[i];
    }
    int field_top = button_top - GAP - field_height;
    layout.field = { LABEL_LEFT, field_top, LABEL_LEFT + label_width, field_top + field_height };
}

std::string MessageForm::caption() const
{
    return m_settings.border ? m_settings.caption : std::string();
}

platform::WindowPlacement MessageForm::placement(platform::ScreenSize screen) const
{
    platform::WindowPlacement placement;
    placement.width = m_layout.width;
    placement.height = m_layout.height;
    placement.left = m_settings.x ? *m_settings.x : (screen.width - m_layout.width) / 2;
    placement.top = m_settings.y ? *m_settings.y : (screen.height - m_layout.height) / 2;
    placement.border = m_settings.border;
    placement.caption_buttons = false;
    return placement;
}

void MessageForm::paint(SurfaceCanvas& canvas)
{
    TextEngine& engine = text_engine();
    // 1. The background over the whole form.
    if (m_images.background)
        draw_bitmap(canvas, *m_images.background, { 0, 0, m_layout.width, m_layout.height }, false);
    else
        paint_default_background(canvas, m_layout.width, m_layout.height);
    // 2. The text, seen through, clipped to the label.
    SurfaceCanvas label = canvas;
    label.clip = { std::max(canvas.clip.left, m_layout.label.left), std::max(canvas.clip.top, m_layout.label.top),
        std::min(canvas.clip.right, m_layout.label.right), std::min(canvas.clip.bottom, m_layout.label.bottom) };
    int font = engine.font(text_font(m_settings.text_font));
    int line_height = engine.line_height(font);
    Color color = color_of(m_settings.text_font.color);
    for (std::size_t i = 0; i < m_layout.lines.size(); ++i)
        engine.draw(
            label, font, color, 0, m_layout.label.left, m_layout.label.top + int(i) * line_height, m_layout.lines[i]);
    // 3. The field and the buttons.
    if (m_input) {
        TextFieldLook look { text_font(m_settings.input_font), color_of(m_settings.input_font.color),
            color_of(m_settings.input_color), m_focus == FIELD_FOCUS };
        paint_text_field(canvas, engine, m_layout.field, m_field, look);
    }
    for (int i = 0; i < 3; ++i)
        paint_button(canvas, i);
    m_dirty = false;
}

// Image 2 while pressed under the mouse, image 1 while the mouse is over it, image 0 otherwise; the caption
// centred, in the mouse-over colour under the mouse.
void MessageForm::paint_button(SurfaceCanvas& canvas, int index)
{
    const PushButton& button = m_buttons[index];
    if (!button.visible)
        return;
    int face = static_cast<int>(button.face());
    const Bitmap24& image = m_images.buttons[std::min<std::size_t>(face, m_images.buttons.size() - 1)];
    draw_bitmap(canvas, image, button.bounds, m_images.transparent_buttons);
    const MessageFont& font = m_settings.button_font;
    Color color = color_of(button.hovered() ? m_settings.mouse_color : font.color);
    draw_caption(canvas, text_engine(), text_font(font), color, button.bounds, button.caption);
    if (m_focus == index) {
        SurfaceRect box = button.bounds;
        draw_focus_rectangle(canvas, { box.left + 3, box.top + 3, box.right - 3, box.bottom - 3 }, color);
    }
}

void MessageForm::close_with(int result)
{
    m_result = result;
    m_finished = true;
}

int MessageForm::focused_button() const
{
    return m_focus >= 0 && m_focus < 3 ? m_focus : -1;
}

// Tab goes through the field and the visible buttons in order (Shift+Tab backwards), and round again.
void MessageForm::move_focus()
{
    std::vector<int> order;
    if (m_input)
        order.push_back(FIELD_FOCUS);
    for (int i = 0; i < 3; ++i)
        if (m_buttons[i].visible)
            order.push_back(i);
    if (order.empty())
        return;
    auto at = std::find(order.begin(), order.end(), m_focus);
    int count = static_cast<int>(order.size());
    int index
        = at == order.end() ? (m_shift ? count - 1 : 0) : (int(at - order.begin()) + (m_shift ? count - 1 : 1)) % count;
    m_focus = order[index];
    m_dirty = true;
}

// Escape closes with 0; Enter with 1, or with the button that has the focus; the space bar likewise, when
// the field is not shown or a button has the focus; Tab moves the focus. Other keys go to the field while it
// has the focus; otherwise a character equal to a button's shortcut (letter case counts) closes with its number.
void MessageForm::type(char character)
{
    int focused = focused_button();
    if (character == CHAR_ESCAPE)
        return close_with(0);
    if (character == CHAR_ENTER || (character == ' ' && (focused >= 0 || !m_input)))
        return close_with(focused >= 0 ? focused + 1 : 1);
    if (character == CHAR_TAB)
        return move_focus();
    if (m_input && m_focus == FIELD_FOCUS) {
        if (m_field.handle({ .kind = platform::EventKind::text, .text = std::string(1, character) }))
            m_dirty = true;
        return;
    }
    // With Alt down the key's code decides (below), not the character it types.
    if (m_alt)
        return;
    for (int i = 0; i < 3; ++i) {
        char shortcut = caption_shortcut(m_buttons[i].caption);
        if (m_buttons[i].visible && shortcut != 0 && character == shortcut)
            return close_with(i + 1);
    }
}

void MessageForm::handle(const platform::Event& event)
{
    using platform::EventKind;
    switch (event.kind) {
    case EventKind::key_down:
    case EventKind::key_up: {
        bool down = event.kind == EventKind::key_down;
        if (event.virtual_key == KEY_ALT)
            m_alt = down;
        else if (event.virtual_key == KEY_SHIFT)
            m_shift = down;
        else if (down && m_alt) {
            // With Alt down, a key whose code is a button's shortcut upper-cased closes with that button.
            for (int i = 0; i < 3 && !m_finished; ++i) {
                char shortcut = ascii_upper(caption_shortcut(m_buttons[i].caption));
                if (m_buttons[i].visible && shortcut != 0 && event.virtual_key == static_cast<unsigned char>(shortcut))
                    close_with(i + 1);
            }
        } else if (down && m_input && m_focus == FIELD_FOCUS && m_field.handle(event)) {
            m_dirty = true;
        }
        break;
    }
    case EventKind::text:
        for (char character : event.text) {
            if (m_finished)
                break;
            type(character);
        }
        break;
    case EventKind::mouse_down:
        if (m_input && event.x >= m_layout.field.left && event.x < m_layout.field.right && event.y >= m_layout.field.top
            && event.y < m_layout.field.bottom)
            m_focus = FIELD_FOCUS;
        [[fallthrough]];
    case EventKind::mouse_move:
    case EventKind::mouse_up:
    case EventKind::focus_lost:
        if (event.kind == EventKind::focus_lost)
            m_alt = m_shift = false;
        for (int i = 0; i < 3 && !m_finished; ++i) {
            if (m_buttons[i].handle_mouse(event))
                close_with(i + 1);
        }
        m_dirty = true;
        break;
    case EventKind::window_close:
        close_with(0);
        break;
    default:
        break;
    }
}

void MessageForm::answer(const std::optional<std::string>& line)
{
    m_note.clear();
    if (m_input) {
        if (line)
            m_field.set_text(utf8_to_win1252(*line), false);
        close_with(1);
        return;
    }
    std::string_view answer = line ? platform::trimmed_answer(*line) : std::string_view();
    if (m_answers == MessageAnswers::form)
        answer_as_form(answer);
    else
        answer_as_box(answer);
    m_finished = true;
}

// A button's number 0 to 3, "Escape", a button's label without its "&"; empty or "Enter" is Enter.
void MessageForm::answer_as_form(std::string_view answer)
{
    m_result = 1;
    if (answer.empty() || equal_ignoring_ascii_case(answer, "Enter"))
        return;
    if (equal_ignoring_ascii_case(answer, "Escape")) {
        m_result = 0;
        return;
    }
    int number = -1;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), number);
    if (error == std::errc() && end == answer.data() + answer.size() && number >= 0 && number <= 3) {
        m_result = number;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (m_buttons[i].visible && equal_ignoring_ascii_case(answer, platform::button_label(m_buttons[i].caption))) {
            m_result = i + 1;
            return;
        }
    }
    m_note = "answers: \"" + std::string(answer) + "\" names no button here; Enter is pressed";
}

// A visible button's index counted from 0 from the left, or its label; empty presses the first.
void MessageForm::answer_as_box(std::string_view answer)
{
    std::vector<int> visible;
    for (int i = 0; i < 3; ++i)
        if (m_buttons[i].visible)
            visible.push_back(i + 1);
    m_result = visible.empty() ? 1 : visible.front();
    if (answer.empty())
        return;
    int index = -1;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), index);
    if (error == std::errc() && end == answer.data() + answer.size() && index >= 0
        && index < static_cast<int>(visible.size())) {
        m_result = visible[index];
        return;
    }
    for (int number : visible) {
        if (equal_ignoring_ascii_case(answer, platform::button_label(m_buttons[number - 1].caption))) {
            m_result = number;
            return;
        }
    }
    m_note = "answers: \"" + std::string(answer) + "\" names no button here; the default is pressed";
}

} // namespace quillon
