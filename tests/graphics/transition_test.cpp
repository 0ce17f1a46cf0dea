// Transitions through the screen on the headless display: the middle frame of every kind over the frame shown
// before, the frame counts and sleeps, kinds that draw nothing, and the clipping to the output rectangle.
#include "graphics/screen.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillon;
using platform::HeadlessDisplay;

namespace {

constexpr int WIDTH = 8;
constexpr int HEIGHT = 4;

// One character per pixel of the 8 x 4 pictures: the old frame in digits and lower case, the new one in upper
// case and signs, so that a grid shows which pixel of which picture landed where. Black is a space.
constexpr std::string_view OLD_PIXELS = "0123456789abcdefghijklmnopqrstuv";
constexpr std::string_view NEW_PIXELS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!?+=<>";

// The pictures keep the pixel's position in red and green and the picture in blue.
std::uint32_t picture_pixel(int x, int y, int picture) { return color_to_pixel(make_color(x, y, picture)); }

char pixel_char(std::uint32_t pixel)
{
    Color color = pixel_to_color(pixel);
    int index = color_red(color) + WIDTH * color_green(color);
    switch (color_blue(color)) {
    case 1: return OLD_PIXELS.at(index);
    case 2: return NEW_PIXELS.at(index);
    default: return color == 0 ? ' ' : '?';
    }
}

// The rows of the client area from (left, top), `width` pixels wide.
std::vector<std::string> grid(const platform::Frame& frame, int left = 0, int top = 0, int width = WIDTH,
    int height = HEIGHT)
{
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x)
            row += pixel_char(frame.pixel(x, y));
        rows.push_back(row);
    }
    return rows;
}

class TransitionTest : public ::testing::Test {
protected:
    TransitionTest()
        : screen(display, settings)
    {
        screen.set_clock(&clock);
        screen.set_transition_frame_hook([this](int frame) {
            ++frames_shown;
            if (frame == wanted_frame)
                caught = display.last_frame();
        });
    }

    // An 8 x 4 screen with the old picture shown, then the new one drawn into the buffer.
    void start(ScreenStart start = {false, 800, WIDTH, HEIGHT, 1, 1})
    {
        ASSERT_TRUE(screen.start(start));
        paint(1);
        screen.present();
        paint(2);
    }
    void paint(int picture)
    {
        SurfaceCanvas canvas = screen.buffer()->GetCanvas();
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x)
                canvas.at(x, y) = picture_pixel(x, y, picture);
    }
    void present(TransitionRequest transition)
    {
        screen.request_transition(transition);
        screen.present();
    }

    HeadlessDisplay display {{1920, 1080}};
    GameSettings settings;
    platform::VirtualClock clock;
    Screen screen;
    int wanted_frame = 0;        // the frame the hook keeps
    platform::Frame caught;      // the client area as that frame showed it
    int frames_shown = 0;        // frames the hook was told of
};

}  // namespace

TEST_F(TransitionTest, EveryKindInItsMiddleFrame)
{
    struct Case {
        std::int32_t kind;
        std::vector<std::string> middle;  // the window after frame 2 of 4 (frame 4 of 8 for the strips)
    };
    const Case cases[] = {
        {1, {"ABCD4567", "IJKLcdef", "QRSTklmn", "YZ!?stuv"}},    // revealed from the left
        {2, {"0123EFGH", "89abMNOP", "ghijUVWX", "opqr+=<>"}},    // from the right
        {3, {"ABCDEFGH", "IJKLMNOP", "ghijklmn", "opqrstuv"}},    // from the top
        {4, {"01234567", "89abcdef", "QRSTUVWX", "YZ!?+=<>"}},    // from the bottom
        {5, {"01234567", "89KLMNef", "ghSTUVmn", "opqrstuv"}},    // from the centre
        {6, {"EFGH4567", "MNOPcdef", "UVWXklmn", "+=<>stuv"}},    // slides in from the left
        {7, {"0123ABCD", "89abIJKL", "ghijQRST", "opqrYZ!?"}},    // from the right
        {8, {"QRSTUVWX", "YZ!?+=<>", "ghijklmn", "opqrstuv"}},    // from the top
        {9, {"01234567", "89abcdef", "ABCDEFGH", "IJKLMNOP"}},    // from the bottom
        {10, {"EFGH0123", "MNOP89ab", "UVWXghij", "+=<>opqr"}},   // pushes the old one out to the right
        {11, {"4567ABCD", "cdefIJKL", "klmnQRST", "stuvYZ!?"}},   // to the left
        {12, {"QRSTUVWX", "YZ!?+=<>", "01234567", "89abcdef"}},   // downwards
        {13, {"ghijklmn", "opqrstuv", "ABCDEFGH", "IJKLMNOP"}},   // upwards
        {14, {"01CD45GH", "89KLcdOP", "ghSTklWX", "op!?st<>"}},   // odd columns of two, from the left
        {15, {"AB23EF67", "IJabMNef", "QRijUVmn", "YZqr+=uv"}},   // from the right
        {16, {"01234567", "IJKLMNOP", "ghijklmn", "YZ!?+=<>"}},   // odd rows, from the top
        {17, {"ABCDEFGH", "89abcdef", "QRSTUVWX", "opqrstuv"}},   // from the bottom
    };
    for (const Case& c : cases) {
        start();
        wanted_frame = c.kind >= 14 ? 4 : 2;
        present({c.kind, 0, 4});
        EXPECT_EQ(grid(caught), c.middle) << "kind " << c.kind;
        // The buffer itself is left as it was drawn.
        EXPECT_EQ(screen.buffer()->GetCanvas().at(0, 0), picture_pixel(0, 0, 2));
    }
}

TEST_F(TransitionTest, TheLastFrameShowsTheNewPictureAndTheNextTransitionStartsFromIt)
{
    start();
    present({6, 0, 4});
    EXPECT_EQ(grid(display.last_frame()), (std::vector<std::string> {"ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZ!?+=<>"}));
    // Revealing the old picture from the left over what the transition left.
    paint(1);
    wanted_frame = 1;
    present({1, 0, 2});
    EXPECT_EQ(grid(caught), (std::vector<std::string> {"0123EFGH", "89abMNOP", "ghijUVWX", "opqr+=<>"}));
}

TEST_F(TransitionTest, FramesAndSleepsFollowTimeAndSteps)
{
    struct Case {
        TransitionRequest transition;
        int frames;        // frames shown
        int slept;         // virtual milliseconds passed
    };
    const Case cases[] = {
        {{1, 100, 40}, 40, 80},     // 100 div 40 = 2 ms a frame
        {{3, 10, 40}, 40, 0},       // 10 div 40 = 0: no sleep, but every frame is shown
        {{14, 1000, 40}, 80, 960},   // the strips take twice the steps: 1000 div 80 = 12 ms a frame
        {{18, 1000, 40}, 0, 0},     // unknown kind
        {{0 - 1, 1000, 40}, 0, 0},
        {{5, 1000, 0}, 0, 0},       // no steps
    };
    start();
    for (const Case& c : cases) {
        frames_shown = 0;
        std::uint64_t before = clock.ticks_ms();
        present(c.transition);
        EXPECT_EQ(frames_shown, c.frames) << c.transition.kind << " " << c.transition.time;
        EXPECT_EQ(clock.ticks_ms() - before, static_cast<std::uint64_t>(c.slept)) << c.transition.kind;
    }
    // The display waits for the vertical blank only during a transition, as the settings say otherwise.
    EXPECT_FALSE(display.vsync());
}

TEST_F(TransitionTest, AKindThatDrawsNothingLeavesTheWindowForOneFrame)
{
    start();
    int presented = display.frame_count();
    present({18, 0, 40});
    present({2, 0, 0});
    EXPECT_EQ(display.frame_count(), presented);
    EXPECT_EQ(grid(display.last_frame()), (std::vector<std::string> {"01234567", "89abcdef", "ghijklmn", "opqrstuv"}));
    // The request is used up: the next present is a plain one.
    screen.present();
    EXPECT_EQ(grid(display.last_frame())[0], "ABCDEFGH");
}

TEST_F(TransitionTest, ScaledFramesStayInsideTheOutputRectangle)
{
    // Full screen at scale 2, centred on the 1920 x 1080 monitor: the image covers (952, 536) to (968, 544).
    start({false, 800, WIDTH, HEIGHT, 2, 1, true});
    ASSERT_EQ(screen.output().area, (platform::OutputArea {952, 536, 16, 8}));
    wanted_frame = 1;
    present({6, 0, 4});
    // Frame 1 of 4 slides the image in from x = 952 - 16 + 4: only its last two columns, doubled, show, at the
    // left edge of the image; nothing lands outside it.
    EXPECT_EQ(grid(caught, 951, 536, 18, 1)[0], " GGHH223344556677 ");
    EXPECT_EQ(grid(caught, 951, 535, 18, 1)[0], std::string(18, ' '));
}
