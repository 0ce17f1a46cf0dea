// The dialog widgets: editing a one-line field, a button's click under the mouse, shortcuts, and what the
// painters put on the canvas.
#include "dialogs/form_widgets.h"

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
Event key(int virtual_key)
{
    return { .kind = EventKind::key_down, .virtual_key = virtual_key };
}
Event mouse(EventKind kind, int x, int y)
{
    return { .kind = kind, .x = x, .y = y, .button = platform::MOUSE_LEFT };
}

TEST(FormWidgets, TextFieldEditsLikeAnEditBox)
{
    struct Case {
        const char* initial;
        std::vector<Event> events;
        const char* text;
        std::size_t caret;
    };
    const Case cases[] = {
        { "player", { typed("Ann") }, "Ann", 3 }, // the selected initial text is replaced
        { "player", { typed("\b") }, "", 0 }, // or removed
        { "player", { key(KEY_END), typed("\b\bx") }, "playx", 5 }, // a key ends the selection
        { "player", { key(KEY_HOME), key(KEY_DELETE), typed("\xe9") }, "\xe9layer", 1 },
        { "ab", { key(KEY_LEFT), key(KEY_RIGHT), key(KEY_LEFT), typed("-") }, "-ab", 1 }, // Left first goes home
        { "ab", { key(KEY_RIGHT), key(KEY_LEFT), typed("\r\x1b\t"), typed("c") }, "acb", 2 }, // control keys not typed
        { "", { key(KEY_LEFT), typed("\b"), key(KEY_DELETE), typed("7") }, "7", 1 },
    };
    for (const Case& test : cases) {
        TextField field;
        field.set_text(test.initial, true);
        for (const Event& event : test.events)
            field.handle(event);
        EXPECT_EQ(field.text(), test.text) << test.initial;
        EXPECT_EQ(field.caret(), test.caret) << test.initial;
        EXPECT_FALSE(field.all_selected()) << test.initial;
    }
}

TEST(FormWidgets, ButtonClicksOnlyWhenPressedAndReleasedOverIt)
{
    PushButton button;
    button.bounds = { 10, 10, 90, 35 };
    EXPECT_FALSE(button.handle_mouse(mouse(EventKind::mouse_move, 20, 20)));
    EXPECT_EQ(button.face(), ButtonFace::hover);
    button.handle_mouse(mouse(EventKind::mouse_down, 20, 20));
    EXPECT_EQ(button.face(), ButtonFace::pressed);
    button.handle_mouse(mouse(EventKind::mouse_move, 200, 20)); // dragged off: raised again
    EXPECT_EQ(button.face(), ButtonFace::normal);
    EXPECT_FALSE(button.handle_mouse(mouse(EventKind::mouse_up, 200, 20)));
    button.handle_mouse(mouse(EventKind::mouse_down, 200, 20)); // pressed elsewhere, released over it
    EXPECT_FALSE(button.handle_mouse(mouse(EventKind::mouse_up, 20, 20)));
    button.handle_mouse(mouse(EventKind::mouse_down, 89, 34));
    EXPECT_TRUE(button.handle_mouse(mouse(EventKind::mouse_up, 89, 34)));
    button.visible = false;
    button.handle_mouse(mouse(EventKind::mouse_down, 20, 20));
    EXPECT_FALSE(button.handle_mouse(mouse(EventKind::mouse_up, 20, 20)));
}

TEST(FormWidgets, ShortcutIsTheCharacterAfterTheLastAmpersand)
{
    EXPECT_EQ(caption_shortcut("&Retry"), 'R');
    EXPECT_EQ(caption_shortcut("Save &as &x"), 'x');
    EXPECT_EQ(caption_shortcut("OK"), 0);
    EXPECT_EQ(caption_shortcut("OK&"), 0);
    TextEngine& engine = text_engine();
    EXPECT_EQ(
        measure_caption(engine, DIALOG_FONT, "&Retry").width, engine.measure(engine.font(DIALOG_FONT), "Retry").width);
}

// Painting stays inside the widget's box and shows the states apart: hover lighter, focus outlined, the caret
// or the selection in the field.
TEST(FormWidgets, PaintersDrawInsideTheirBoxesAndShowTheirStates)
{
    constexpr int W = 120, H = 40;
    std::vector<std::uint32_t> pixels(W * H, 0x123456);
    SurfaceCanvas canvas { pixels.data(), W, H, W * 4, { 0, 0, W, H } };
    TextEngine& engine = text_engine();
    auto painted = [&] {
        std::vector<std::uint32_t> copy = pixels;
        std::fill(pixels.begin(), pixels.end(), 0x123456);
        return copy;
    };
    PushButton button;
    button.bounds = { 10, 5, 90, 30 };
    button.caption = "&Retry";
    paint_push_button(canvas, engine, DIALOG_FONT, button);
    std::vector<std::uint32_t> normal = painted();
    EXPECT_EQ(normal[0], 0x123456u);
    EXPECT_EQ(normal[31 * W + 50], 0x123456u);
    EXPECT_EQ(normal[5 * W + 50], 0xFFFFFFu); // the lit top edge
    button.handle_mouse(mouse(EventKind::mouse_move, 50, 20));
    paint_push_button(canvas, engine, DIALOG_FONT, button);
    EXPECT_NE(painted(), normal);
    button.handle_mouse(mouse(EventKind::mouse_move, 0, 0));
    button.focused = true;
    paint_push_button(canvas, engine, DIALOG_FONT, button);
    EXPECT_EQ(painted()[5 * W + 50], color_to_pixel(make_color(64, 64, 64)));

    TextField field;
    field.set_text("", false);
    paint_text_field(canvas, engine, { 0, 0, 100, 24 }, field, {});
    std::vector<std::uint32_t> empty = painted();
    EXPECT_EQ(empty[12 * W + 4], 0u); // the caret at the start
    EXPECT_EQ(empty[12 * W + 50], 0xFFFFFFu);
    EXPECT_EQ(empty[12 * W + 110], 0x123456u);
    field.set_text("12345", true);
    paint_text_field(canvas, engine, { 0, 0, 100, 24 }, field, {});
    EXPECT_EQ(painted()[12 * W + 5], 0x000080u); // the selection's highlight
}

} // namespace
