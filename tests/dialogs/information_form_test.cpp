// The game information window: where it goes (its own centred window, or exactly over the game window's client
// area for a record that asks so), scrolling by keys and the scroll bar, closing, painting and the transcript;
// the page of show_text within its border.
#include "dialogs/game_information.h"
#include "dialogs/information_form.h"
#include "dialogs/text_splash.h"
#include "graphics/screen.h"
#include "platform/headless/headless_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillon;

namespace {

platform::Event key(int virtual_key)
{
    platform::Event event;
    event.kind = platform::EventKind::key_down;
    event.virtual_key = virtual_key;
    return event;
}

platform::Event click(int x, int y)
{
    platform::Event event;
    event.kind = platform::EventKind::mouse_down;
    event.button = platform::MOUSE_LEFT;
    event.x = x;
    event.y = y;
    return event;
}

// A page of many lines.
RichDocument long_page()
{
    std::string page = "{\\rtf1 ";
    for (int i = 0; i < 100; ++i)
        page += "Line " + std::to_string(i) + "\\par ";
    return read_rich_text(page + "}");
}

struct Canvas {
    Canvas(int width, int height)
        : pixels(static_cast<std::size_t>(width) * height, 0x123456)
        , canvas {pixels.data(), width, height, width * 4, {0, 0, width, height}}
    {
    }
    std::vector<std::uint32_t> pixels;
    SurfaceCanvas canvas;
};

}  // namespace

TEST(InformationForm, ARecordWithTheFlagCoversTheGameWindowExactly)
{
    // The record as the game file holds it, read back.
    GameInformation written;
    written.version = GAME_INFORMATION_VERSION;
    written.background_color = make_color(255, 255, 192);
    written.show_in_game_window = true;
    written.rich_text = "{\\rtf1 Help}";
    CStream stream;
    written.write_record(stream);
    stream.set_position(0);
    GameInformation information;
    ASSERT_TRUE(information.read_record(stream));
    ASSERT_TRUE(information.show_in_game_window);

    platform::HeadlessDisplay display({1920, 1080});
    GameSettings settings;
    Screen screen(display, settings);
    ASSERT_TRUE(screen.start({}));
    platform::WindowPlacement game_window = screen.window_placement();
    EXPECT_EQ(game_window.left, (1920 - 640) / 2);
    EXPECT_EQ(game_window.width, 640);

    InformationForm covering(read_rich_text(information.rich_text), information.background_color, game_window);
    platform::WindowPlacement placement = covering.placement(display.screen_size());
    EXPECT_EQ(placement.left, game_window.left);
    EXPECT_EQ(placement.top, game_window.top);
    EXPECT_EQ(placement.width, game_window.width);
    EXPECT_EQ(placement.height, game_window.height);
    EXPECT_FALSE(placement.border);
    EXPECT_EQ(covering.caption(), "Game Information");

    // Full screen, it covers the monitor.
    screen.set_full_screen(true);
    InformationForm full(read_rich_text(information.rich_text), 0, screen.window_placement());
    placement = full.placement(display.screen_size());
    EXPECT_TRUE(placement.full_screen);
    EXPECT_EQ(placement.width, 1920);
    EXPECT_EQ(placement.height, 1080);
    screen.shut_down();

    // Without the flag, its own window with a border, centred and no larger than the screen.
    InformationForm own(read_rich_text(information.rich_text), 0);
    placement = own.placement({1920, 1080});
    EXPECT_EQ(placement.width, INFORMATION_WIDTH);
    EXPECT_EQ(placement.left, (1920 - INFORMATION_WIDTH) / 2);
    EXPECT_EQ(placement.top, (1080 - INFORMATION_HEIGHT) / 2);
    EXPECT_TRUE(placement.border);
    placement = own.placement({320, 240});
    EXPECT_EQ(placement.width, 320);
    EXPECT_EQ(placement.height, 240);
}

TEST(InformationForm, KeysAndTheScrollBarScrollWithinThePage)
{
    InformationForm form(long_page(), 0xFFFFFF);
    Canvas paper(INFORMATION_WIDTH, INFORMATION_HEIGHT);
    form.paint(paper.canvas);
    EXPECT_EQ(form.scroll(), 0);
    form.handle(key(40));   // Down
    EXPECT_EQ(form.scroll(), 20);
    form.handle(key(38));   // Up
    form.handle(key(38));
    EXPECT_EQ(form.scroll(), 0);
    form.handle(key(34));   // Page Down
    EXPECT_EQ(form.scroll(), INFORMATION_HEIGHT - 20);
    form.handle(key(35));   // End
    int bottom = form.scroll();
    EXPECT_GT(bottom, INFORMATION_HEIGHT);
    form.handle(key(40));
    EXPECT_EQ(form.scroll(), bottom);
    form.handle(key(36));   // Home
    EXPECT_EQ(form.scroll(), 0);
    // The scroll bar's lower arrow, then the track below the thumb.
    int bar = INFORMATION_WIDTH - SCROLL_BAR_WIDTH / 2;
    form.handle(click(bar, INFORMATION_HEIGHT - 3));
    EXPECT_EQ(form.scroll(), 20);
    form.handle(click(bar, INFORMATION_HEIGHT - SCROLL_BAR_WIDTH - 3));
    EXPECT_EQ(form.scroll(), 20 + INFORMATION_HEIGHT - 20);
    // The wheel turned towards the user scrolls down three steps a notch, away from the user back up.
    form.handle(key(36));
    platform::Event wheel;
    wheel.kind = platform::EventKind::mouse_wheel;
    wheel.wheel = -1;
    form.handle(wheel);
    EXPECT_EQ(form.scroll(), 60);
    wheel.wheel = 2;
    form.handle(wheel);
    EXPECT_EQ(form.scroll(), 0);
    // Clicks on the page do nothing; Escape closes.
    form.handle(click(100, 100));
    EXPECT_FALSE(form.finished());
    form.handle(key(27));
    EXPECT_TRUE(form.finished());

    // A page that fits does not scroll.
    InformationForm short_page(read_rich_text("{\\rtf1 Short}"), 0);
    short_page.paint(paper.canvas);
    short_page.handle(key(35));
    EXPECT_EQ(short_page.scroll(), 0);
    platform::Event close;
    close.kind = platform::EventKind::window_close;
    short_page.handle(close);
    EXPECT_TRUE(short_page.finished());
}

TEST(InformationForm, PaintsThePageOnItsColourWithTheScrollBar)
{
    Color background = make_color(255, 255, 192);
    InformationForm form(read_rich_text("{\\rtf1\\qc Centred}"), background);
    Canvas paper(300, 200);
    form.paint(paper.canvas);
    EXPECT_EQ(paper.pixels[0], color_to_pixel(background));
    EXPECT_EQ(paper.pixels[199 * 300 + 250], color_to_pixel(background));
    // Text in black somewhere on the first line, the scroll bar's face at the right.
    bool text = false;
    for (int x = 0; x < 300 - SCROLL_BAR_WIDTH; ++x)
        for (int y = 0; y < 30; ++y)
            text = text || paper.pixels[y * 300 + x] == 0;
    EXPECT_TRUE(text);
    EXPECT_EQ(paper.pixels[5 * 300 + 300 - SCROLL_BAR_WIDTH / 2], color_to_pixel(make_color(212, 208, 200)));
}

TEST(InformationForm, TheTranscriptIsThePageTextAndAnyAnswerCloses)
{
    InformationForm form(read_rich_text("{\\rtf1 caf\\'e9\\par Second \\u8364?}"), 0);
    EXPECT_EQ(form.transcript(), "caf\xe9\nSecond \x80");
    form.answer(std::nullopt);
    EXPECT_TRUE(form.finished());
    InformationForm answered(read_rich_text("plain"), 0);
    answered.answer("anything");
    EXPECT_TRUE(answered.finished());
}

TEST(TextSplash, ThePageSitsWithinATwentyPixelBorderOnTheColour)
{
    Color background = make_color(0, 0, 128);
    TextSplash splash(read_rich_text("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;}\\cf1\\fs96 Title\\par Words}"), false,
        background, 0);
    platform::WindowPlacement placement = splash.placement({1920, 1080});
    EXPECT_EQ(placement.width, 640);
    EXPECT_EQ(placement.height, 480);
    EXPECT_EQ(placement.left, 640);
    EXPECT_FALSE(placement.border);
    EXPECT_EQ(splash.transcript(), "Title\nWords");
    Canvas paper(640, 480);
    splash.paint(paper.canvas);
    int left = 640, top = 480;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            std::uint32_t pixel = paper.pixels[y * 640 + x];
            ASSERT_TRUE(pixel == color_to_pixel(background) || pixel == 0xFFFF00) << x << "," << y;
            if (pixel == 0xFFFF00) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
        }
    }
    EXPECT_GE(left, TEXT_SPLASH_BORDER);
    EXPECT_LT(left, TEXT_SPLASH_BORDER + 10);
    EXPECT_GE(top, TEXT_SPLASH_BORDER);
    EXPECT_TRUE(splash.placement({1920, 1080}).stay_on_top);
}
