// The message form: its layout rules, the keys and clicks that close it, the input box's field, the answers of a
// headless run, and the button pictures under the mouse.
#include "dialogs/message_form.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;
using platform::Event;
using platform::EventKind;

namespace {

Event typed(std::string text)
{
    return { .kind = EventKind::text, .text = std::move(text) };
}
Event key(EventKind kind, int virtual_key)
{
    return { .kind = kind, .virtual_key = virtual_key };
}
Event mouse(EventKind kind, int x, int y)
{
    return { .kind = kind, .x = x, .y = y, .button = platform::MOUSE_LEFT };
}

int line_height()
{
    return text_engine().line_height(text_engine().font(TextFont {}));
}

TEST(MessageForm, LayoutFollowsTheTextTheImagesAndTheSettings)
{
    MessageSettings settings;
    MessageForm plain(settings, {}, "Hello", { "&Yes", "", "&No" });
    const MessageLayout& layout = plain.layout();
    int lines = line_height();
    EXPECT_EQ(layout.width, DEFAULT_BACKGROUND_WIDTH);
    EXPECT_EQ(layout.height, lines + 25 + 48);
    EXPECT_EQ(layout.label, (SurfaceRect { 24, 16, 336, 16 + lines }));
    int top = layout.height - 25 - 16;
    EXPECT_EQ(layout.buttons[0], (SurfaceRect { 24, top, 104, top + 25 }));
    EXPECT_EQ(layout.buttons[1], (SurfaceRect { 140, top, 220, top + 25 }));
    EXPECT_EQ(layout.buttons[2], (SurfaceRect { 256, top, 336, top + 25 }));

    // Line breaks (a trailing one too) and wrapping give the label more lines; the buttons take their images' size.
    MessageImages images;
    images.background = Bitmap24(200, 50);
    images.buttons.assign(3, Bitmap24(40, 30));
    MessageForm wrapped(
        settings, std::move(images), "one\rtwo\r\nthree four five six seven eight nine ten\r", { "", "OK", "" });
    EXPECT_EQ(wrapped.layout().width, 200);
    ASSERT_GE(wrapped.layout().lines.size(), 5u);
    EXPECT_EQ(wrapped.layout().lines[0], "one");
    EXPECT_EQ(wrapped.layout().lines[1], "two");
    EXPECT_EQ(wrapped.layout().lines.back(), " ");
    for (std::size_t i = 2; i + 1 < wrapped.layout().lines.size(); ++i)
        EXPECT_LE(text_engine().measure(text_engine().font(TextFont {}), wrapped.layout().lines[i]).width, 152);
    EXPECT_EQ(wrapped.layout().height, int(wrapped.layout().lines.size()) * lines + 30 + 48);
    EXPECT_EQ(wrapped.layout().buttons[1].left, 80);

    // A set size wins; the input box's field stands 16 pixels above the buttons.
    settings.width = 300;
    settings.height = 90;
    settings.x = 5;
    MessageForm sized(settings, {}, "x", { "a", "b", "c" });
    EXPECT_EQ(sized.placement({ 1000, 800 }),
        (platform::WindowPlacement { 5, (800 - 90) / 2, 300, 90, false, false, false }));
    settings = MessageSettings();
    MessageForm input = MessageForm::input_box(settings, {}, "Name?", "player");
    const MessageLayout& boxed = input.layout();
    EXPECT_EQ(boxed.field.bottom, boxed.buttons[1].top - 16);
    EXPECT_EQ(boxed.field.top, boxed.label.bottom + 16);
    EXPECT_EQ(boxed.height, lines + 25 + 48 + boxed.field.height() + 16);
    EXPECT_EQ(boxed.field.left, 24);
    EXPECT_EQ(boxed.field.right, boxed.width - 24);
}

TEST(MessageForm, KeysAndClicksCloseItWithAButtonsNumber)
{
    MessageSettings settings;
    MessageForm probe(settings, {}, "?", { "&Yes", "&Retry", "&No" });
    SurfaceRect third = probe.layout().buttons[2];
    struct Case {
        const char* name;
        std::array<std::string, 3> captions;
        std::vector<Event> events;
        int result; // -1: still open
    };
    const std::array<std::string, 3> none { "", "", "" };
    const std::array<std::string, 3> retry { "&Yes", "&Retry", "&No" };
    const Case cases[] = {
        { "Escape", retry, { typed("\x1b") }, 0 },
        { "Enter", retry, { typed("\r") }, 1 },
        { "space", retry, { typed(" ") }, 1 },
        { "no buttons, Escape", none, { typed("\x1b") }, 0 },
        { "no buttons, Enter", none, { typed("\r") }, 1 },
        { "no buttons, space", none, { typed(" ") }, 1 },
        { "no buttons, Tab and a letter", none, { typed("\ty") }, -1 },
        { "r is not R", retry, { typed("r") }, -1 },
        { "R is R", retry, { typed("R") }, 2 },
        { "n", retry, { typed("N") }, 3 },
        { "Alt+R", retry, { key(EventKind::key_down, KEY_ALT), key(EventKind::key_down, 'R'), typed("r") }, 2 },
        { "Alt let go", retry,
            { key(EventKind::key_down, KEY_ALT), key(EventKind::key_up, KEY_ALT), key(EventKind::key_down, 'R') }, -1 },
        { "Alt+character", retry, { key(EventKind::key_down, KEY_ALT), typed("R") }, -1 },
        { "Tab, Enter", { "", "b", "c" }, { typed("\t\r") }, 2 },
        { "Tab twice, space", { "a", "", "c" }, { typed("\t\t ") }, 3 },
        { "Tab round", { "a", "", "c" }, { typed("\t\t\t\r") }, 1 },
        { "Shift+Tab", retry, { key(EventKind::key_down, KEY_SHIFT), typed("\t\r") }, 3 },
        { "click", retry,
            { mouse(EventKind::mouse_down, third.left + 2, third.top + 2),
                mouse(EventKind::mouse_up, third.left + 3, third.top + 3) },
            3 },
        { "dragged off", retry,
            { mouse(EventKind::mouse_down, third.left + 2, third.top + 2), mouse(EventKind::mouse_up, 0, 0) }, -1 },
        { "hidden button", { "&Yes", "", "" },
            { mouse(EventKind::mouse_down, third.left + 2, third.top + 2),
                mouse(EventKind::mouse_up, third.left + 2, third.top + 2) },
            -1 },
        { "window closed", retry, { { .kind = EventKind::window_close } }, 0 },
    };
    for (const Case& test : cases) {
        MessageForm form(settings, {}, "?", test.captions);
        for (const Event& event : test.events)
            form.handle(event);
        EXPECT_EQ(form.finished() ? form.result() : -1, test.result) << test.name;
    }
}

TEST(MessageForm, InputBoxTypesIntoItsFieldAndKeepsTheTextHoweverClosed)
{
    MessageSettings settings;
    struct Case {
        std::vector<Event> events;
        const char* text;
    };
    const Case cases[] = {
        { { typed("Ann Lee\r") }, "Ann Lee" }, // typing replaces the selected default, space included
        { { key(EventKind::key_down, KEY_END), typed("\b\b1\x1b") }, "play1" },
        { { typed("\t"), typed("x"), typed(" ") }, "player" }, // Tab moves to "OK"; space presses it
        { { { .kind = EventKind::window_close } }, "player" },
    };
    for (const Case& test : cases) {
        MessageForm form = MessageForm::input_box(settings, {}, "Name?", "player");
        for (const Event& event : test.events)
            form.handle(event);
        EXPECT_TRUE(form.finished()) << test.text;
        EXPECT_EQ(form.input_text(), test.text);
    }
}

TEST(MessageForm, HeadlessAnswersReadAsTheFormOrAsAMessageBox)
{
    MessageSettings settings;
    struct Case {
        MessageAnswers answers;
        std::array<std::string, 3> captions;
        std::optional<std::string> line;
        int result;
        const char* note;
    };
    const Case cases[] = {
        { MessageAnswers::form, { "&Yes", "", "&No" }, std::nullopt, 1, "" },
        { MessageAnswers::form, { "&Yes", "", "&No" }, " no ", 3, "" },
        { MessageAnswers::form, { "&Yes", "", "&No" }, "2", 2, "" },
        { MessageAnswers::form, { "", "", "" }, "escape", 0, "" },
        { MessageAnswers::form, { "", "", "" }, "enter", 1, "" },
        { MessageAnswers::form, { "&Yes", "", "&No" }, "Maybe", 1,
            "answers: \"Maybe\" names no button here; Enter is pressed" },
        { MessageAnswers::box, { "Yes", "", "No" }, std::nullopt, 1, "" },
        { MessageAnswers::box, { "Yes", "", "No" }, "1", 3, "" },
        { MessageAnswers::box, { "Yes", "", "No" }, "NO", 3, "" },
        { MessageAnswers::box, { "", "OK", "" }, "0", 2, "" },
        { MessageAnswers::box, { "Yes", "", "No" }, "2", 1,
            "answers: \"2\" names no button here; the default is pressed" },
    };
    for (const Case& test : cases) {
        MessageForm form(settings, {}, "text", test.captions, test.answers);
        EXPECT_EQ(form.transcript(), "text");
        form.answer(test.line);
        EXPECT_TRUE(form.finished());
        EXPECT_EQ(form.result(), test.result) << test.line.value_or("<none>");
        EXPECT_EQ(form.answer_note(), test.note);
    }
    MessageForm input = MessageForm::input_box(settings, {}, "Name?", "player");
    EXPECT_EQ(input.transcript(), "Name?");
    input.answer("b\xc3\xa9la");
    EXPECT_EQ(input.input_text(), "b\xe9la");
    MessageForm unanswered = MessageForm::input_box(settings, {}, "Name?", "player");
    unanswered.answer(std::nullopt);
    EXPECT_EQ(unanswered.input_text(), "player");
}

// Image 0 normally, 1 under the mouse, 2 pressed; the transparent colour shows the background.
TEST(MessageForm, ButtonsShowTheirImageForTheMouse)
{
    MessageImages images;
    images.background = Bitmap24(100, 10, make_color(9, 9, 9));
    for (Color color : { make_color(200, 0, 0), make_color(0, 200, 0), make_color(0, 0, 200) }) {
        Bitmap24& image = images.buttons.emplace_back(30, 20, color);
        image.set_pixel(0, 19, make_color(255, 0, 255));
        image.set_pixel(29, 19, make_color(255, 0, 255));
    }
    images.transparent_buttons = true;
    MessageSettings settings;
    MessageForm form(settings, std::move(images), "", { "", "", "x" });
    const MessageLayout& layout = form.layout();
    std::vector<std::uint32_t> pixels(std::size_t(layout.width) * layout.height);
    SurfaceCanvas canvas { pixels.data(), layout.width, layout.height, layout.width * 4,
        { 0, 0, layout.width, layout.height } };
    SurfaceRect button = layout.buttons[2];
    auto at = [&](int x, int y) { return pixel_to_color(pixels[std::size_t(y) * layout.width + x]); };
    form.paint(canvas);
    EXPECT_EQ(at(button.left + 1, button.top + 1), make_color(200, 0, 0));
    EXPECT_EQ(at(button.right - 1, button.bottom - 1), make_color(9, 9, 9));
    form.handle(mouse(EventKind::mouse_move, button.left + 1, button.top + 1));
    EXPECT_TRUE(form.needs_paint());
    form.paint(canvas);
    EXPECT_EQ(at(button.left + 1, button.top + 1), make_color(0, 200, 0));
    form.handle(mouse(EventKind::mouse_down, button.left + 1, button.top + 1));
    form.paint(canvas);
    EXPECT_EQ(at(button.left + 1, button.top + 1), make_color(0, 0, 200));
    EXPECT_FALSE(form.needs_paint());
}

} // namespace
