// The screen over the headless display: window layout and scaling, full screen, exclusive modes, gamma, the
// mouse through the regions, size changes, saving, the caption in the image and the preparation step.
#include "graphics/graphics.h"
#include "platform/headless/headless_display.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;
using platform::DisplayMode;
using platform::HeadlessDisplay;
using platform::OutputArea;

TEST(ScreenLayout, ExclusiveModeByResolutionDepthAndRefresh)
{
    struct Case {
        int width, refresh, depth;   // resolution width, refresh rate and colour depth asked for
        DisplayMode expected;         // the mode asked of the display first
    };
    const Case cases[] = {
        {1152, 60, 32, {800, 600, 32, 60}},
        {320, 75, 15, {320, 240, 16, 0}},
        {1600, 100, 0, {1600, 1200, 16, 100}},
        {1280, 85, 24, {1280, 1024, 24, 85}},
        {640, 70, 8, {640, 480, 8, 70}},
        {1024, 0, 16, {1024, 768, 16, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exclusive_mode(c.width, c.refresh, c.depth), c.expected) << c.width;
}

TEST(ScreenLayout, OutputRectangleScalesAndCentres)
{
    struct Case {
        bool full_screen;                  // the window's mode
        platform::ScreenSize client;       // its client size
        double window_scale, full_scale;   // the two scales
        OutputRectangle expected;          // scale, origin and area
    };
    // A 640x480 screen buffer.
    const Case cases[] = {
        {false, {1280, 960}, 2, 1, {2, 0, 0, {0, 0, 1280, 960}}},
        {false, {640, 480}, 0, 1, {1, 0, 0, {0, 0, 640, 480}}},        // window scale 0 means 1
        {true, {960, 720}, 1, 2, {1.5, 0, 0, {0, 0, 960, 720}}},       // 2 does not fit: as large as fits
        {true, {1200, 720}, 1, 2, {1.5, 120, 0, {120, 0, 960, 720}}},
        {true, {1200, 720}, 1, 1, {1, 280, 120, {280, 120, 640, 480}}},
        {true, {1200, 720}, 1, 0, {1.5, 120, 0, {120, 0, 960, 720}}},  // 0: fit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(output_rectangle(c.full_screen, c.client, 640, 480, c.window_scale, c.full_scale), c.expected)
            << c.full_screen << " " << c.client.width << " " << c.full_scale;
    }
}

TEST(ScreenLayout, GammaRamps)
{
    platform::GammaRamp identity = gamma_ramp(0, 0, 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(identity.red[i], i * 257);
    platform::GammaRamp ramp = gamma_ramp(0.5, -0.5, 3);
    EXPECT_EQ(ramp.red[0], 32768);        // offset 0.5 * 65535, rounded to even
    EXPECT_EQ(ramp.red[255], 65535);
    EXPECT_EQ(ramp.green[255], 32768);    // slope halved
    EXPECT_EQ(ramp.blue[0], 65535);       // clamped to 1: all white
    EXPECT_EQ(ramp.blue, gamma_ramp(1, 1, 1).blue);
}

class ScreenTest : public ::testing::Test {
protected:
    ScreenTest()
        : display({1920, 1080})
        , screen(display, settings)
    {
    }

    bool start(ScreenStart start = {}) { return screen.start(start); }

    HeadlessDisplay display;
    GameSettings settings;
    Screen screen;
};

TEST_F(ScreenTest, WindowedStartScalesTheWindowAndShowsItWithTheFirstFrame)
{
    settings.no_window_border = true;
    settings.no_caption_buttons = true;
    ASSERT_TRUE(start({false, 800, 640, 480, 1, 2}));
    EXPECT_EQ(display.placement(), (platform::WindowPlacement {320, 60, 1280, 960, false, false, false, false}));
    EXPECT_FALSE(display.visible());
    screen.buffer()->GetCanvas().at(639, 479) = color_to_pixel(RED);
    screen.present();
    EXPECT_TRUE(display.visible());
    EXPECT_EQ(display.last_frame().width, 1280);
    EXPECT_EQ(display.last_frame().pixel(1279, 959), color_to_pixel(RED));
    EXPECT_EQ(display.last_frame().pixel(1277, 959), 0u);
    EXPECT_EQ(screen.window_scale(), 2);

    screen.set_window_scale(-1);
    EXPECT_EQ(screen.window_scale(), 1);
    EXPECT_EQ(display.placement().width, 640);
}

TEST_F(ScreenTest, AWindowThatCannotOpenFailsStartUpWithAGraphicsError)
{
    ErrorLog log;
    EXPECT_FALSE(start({false, 800, 0, 480}));
    EXPECT_FALSE(screen.initialised());
    EXPECT_EQ(screen.buffer(), nullptr);
    EXPECT_EQ(log.messages, (std::vector<std::string> {"ERROR in handling graphics:\rFailed to create primary DirectDraw surface."}));
    screen.present();  // nothing to present
    EXPECT_EQ(display.frame_count(), 0);
}

TEST_F(ScreenTest, FullScreenSwitchesBothWaysAndCentresTheImage)
{
    ASSERT_TRUE(start());
    screen.toggle_full_screen();
    EXPECT_TRUE(screen.full_screen());
    EXPECT_TRUE(display.placement().full_screen);
    screen.present();
    EXPECT_EQ(screen.output().area, (OutputArea {640, 300, 640, 480}));
    EXPECT_EQ(display.last_frame().width, 1920);

    screen.set_full_scale(0);
    screen.present();
    EXPECT_EQ(screen.output().area, (OutputArea {240, 0, 1440, 1080}));

    screen.toggle_full_screen();
    EXPECT_FALSE(display.placement().full_screen);
    EXPECT_EQ(display.placement().width, 640);
}

TEST_F(ScreenTest, ExclusiveModeFallsBackTo800x600x16ThenToDesktopFullScreen)
{
    display.set_available_modes({{800, 600, 16, 60}});
    ASSERT_TRUE(start({true, 1024, 640, 480, 1, 1, false, 85, 32}));
    EXPECT_TRUE(screen.exclusive());
    EXPECT_EQ(display.exclusive_mode(), (DisplayMode {800, 600, 16, 0}));
    EXPECT_TRUE(display.placement().stay_on_top);
    screen.toggle_full_screen();  // exclusive mode stays full screen
    EXPECT_TRUE(screen.full_screen());
    screen.set_gamma(0, 0, 0);
    ASSERT_TRUE(display.gamma_ramp());
    EXPECT_EQ(display.gamma_ramp()->green[1], 257);

    HeadlessDisplay other({1920, 1080});
    other.set_available_modes({{1280, 1024, 32, 60}});
    Screen fallback(other, settings);
    ASSERT_TRUE(fallback.start({true, 1024}));
    EXPECT_FALSE(fallback.exclusive());
    EXPECT_TRUE(fallback.full_screen());
    EXPECT_FALSE(other.exclusive_mode());
    fallback.set_gamma(0.5, 0.5, 0.5);  // only in exclusive mode
    EXPECT_FALSE(other.gamma_ramp());
}

TEST_F(ScreenTest, MousePositionGoesThroughTheHighestRegionHoldingThePointer)
{
    ASSERT_TRUE(start({false, 800, 640, 480, 1, 2}));
    RegionTable& regions = screen.regions();
    regions.set(0, {0, 0, 100, 100}, 500, 500);
    regions.set(1, {100, 0, 200, 100}, 0, 0);
    struct Case {
        platform::PointerPosition pointer;   // client pixels, at window scale 2
        int x, y;                            // the room position expected
    };
    const Case cases[] = {
        {{20, 10}, 510, 505},      // region 0
        {{200, 100}, 0, 50},       // (100, 50) lies on both ports' edge: region 1
        {{1000, 900}, 500, 450},   // outside every port: region -1
        {{-10, -10}, -5, -5},
    };
    for (const Case& c : cases) {
        display.move_pointer(c.pointer);
        int x = 0;
        int y = 0;
        screen.mouse_position(x, y);
        EXPECT_EQ(x, c.x) << c.pointer.x;
        EXPECT_EQ(y, c.y) << c.pointer.x;
    }
}

TEST_F(ScreenTest, ASizeChangeMakesANewBlackBufferAndFitsTheWindow)
{
    ASSERT_TRUE(start());
    screen.buffer()->Clear(RED);
    screen.regions().set(3, {0, 0, 10, 10}, 0, 0);
    screen.regions().select(3);
    screen.set_size(320, 200);
    EXPECT_EQ(screen.buffer()->width(), 320);
    EXPECT_EQ(color_at(*screen.buffer(), 5, 5), BLACK);
    EXPECT_EQ(screen.regions().current(), -1);
    EXPECT_FALSE(screen.regions().region(3).enabled);
    EXPECT_EQ(screen.regions().image_target().surface, screen.buffer());
    EXPECT_EQ(display.placement(), (platform::WindowPlacement {800, 440, 320, 200, true}));
}

TEST_F(ScreenTest, SavesTheBufferOrAPartAsABitmapFile)
{
    ScratchDirectory dir("save");
    ASSERT_TRUE(start());
    screen.buffer()->GetCanvas().at(10, 20) = color_to_pixel(BLUE);
    ASSERT_TRUE(screen.save(dir.path() / "whole.bmp"));
    ASSERT_TRUE(screen.save(dir.path() / "part.bmp", {10, 20, 12, 23}));
    auto read = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return decode_bmp(bytes);
    };
    auto whole = read(dir.path() / "whole.bmp");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->width, 640);
    EXPECT_EQ(whole->pixel(10, 20), BLUE);
    auto part = read(dir.path() / "part.bmp");
    ASSERT_TRUE(part);
    EXPECT_EQ(part->width, 2);
    EXPECT_EQ(part->height, 3);
    EXPECT_EQ(part->pixel(0, 0), BLUE);

    // The screenshot: the whole buffer as a PNG file.
    ASSERT_TRUE(screen.save_png(dir.path() / "shot.png"));
    auto shot = load_picture_file(dir.path() / "shot.png");
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->front().image.width, 640);
    EXPECT_EQ(shot->front().image.height, 480);
    EXPECT_EQ(shot->front().image.pixel(10, 20), BLUE);
    EXPECT_FALSE(screen.save_png(dir.path() / "missing" / "shot.png"));
}

TEST_F(ScreenTest, TheCaptionIsPaintedOnlyWhenTheWindowShowsNone)
{
    std::vector<SurfaceRect> painted;   // the clip rectangle each painting saw
    screen.set_caption_painter([&](SurfaceCanvas& canvas, std::string_view caption) {
        EXPECT_EQ(caption, "Level 1");
        painted.push_back(canvas.clip);
    });
    ASSERT_TRUE(start());
    screen.set_caption("Level 1");
    EXPECT_EQ(display.caption(), "Level 1");
    screen.regions().set(0, {5, 5, 10, 10}, 0, 0);
    screen.regions().select(0);
    screen.present();
    EXPECT_TRUE(painted.empty());   // the window has a border and shows the caption itself

    screen.set_full_screen(true);
    screen.present();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (SurfaceRect {0, 0, 640, 480}));   // region -1 while painting
    EXPECT_EQ(screen.regions().current(), 0);                // and back afterwards

    settings.draw_caption = false;
    screen.present();
    screen.set_full_screen(false);
    settings.draw_caption = true;
    settings.no_window_border = true;
    screen.present();
    EXPECT_EQ(painted.size(), 2u);
    screen.set_caption("");
    screen.present();
    EXPECT_EQ(painted.size(), 2u);
}

TEST(Graphics, PreparingBuildsMasksAndSheetsAndReadyReleasesTheFrames)
{
    HeadlessDisplay display({1920, 1080});
    GameSettings settings;
    settings.window_scaling = 0;
    settings.start_fullscreen = true;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    auto sprite = std::make_unique<CSprite>();
    sprite->width = 2;
    sprite->height = 1;
    Bitmap24 frame(2, 1, WHITE);
    frame.set_pixel(1, 0, RED);
    sprite->frames.push_back(StoredImage::from_bitmap(frame));
    sprites.add("dot", std::move(sprite));
    auto background = std::make_unique<CBackground>();
    background->width = 1;
    background->height = 1;
    background->has_image = true;
    background->image = StoredImage::from_bitmap(Bitmap24(1, 1, BLUE));
    backgrounds.add("sky", std::move(background));

    Graphics graphics(display, settings, sprites, backgrounds, nullptr);
    ASSERT_TRUE(graphics.prepare());
    graphics.release_images();
    EXPECT_EQ(sprites.get(0)->frame_bitmap(0), nullptr);
    EXPECT_EQ(backgrounds.get(0)->image_bitmap(), nullptr);
    EXPECT_TRUE(graphics.masks().point_test(0, 0, 1, 0));
    EXPECT_FALSE(graphics.masks().point_test(0, 0, 0, 0));
    EXPECT_TRUE(graphics.screen().full_screen());
    EXPECT_EQ(graphics.screen().window_scale(), 1);

    graphics.sheets().draw_background(0, 0, 0);
    graphics.sheets().draw_sprite(0, 0, 3, 3);
    graphics.present();
    EXPECT_EQ(graphics.screen().output().area, (OutputArea {640, 300, 640, 480}));
    EXPECT_EQ(display.last_frame().pixel(640, 300), color_to_pixel(BLUE));
    EXPECT_EQ(display.last_frame().pixel(644, 303), color_to_pixel(RED));
    EXPECT_EQ(display.last_frame().pixel(643, 303), 0u);
    graphics.shut_down();
    EXPECT_FALSE(display.is_open());
}
