// A room in a real window: the game runs on the SDL display under a private X server, and what the server shows
// in the window is read back and compared with the frame the runner drew.
#include "played_game.h"
#include "platform/drivers.h"
#include "virtual_server.h"
#include "platform/sdl2/sdl2_display.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#if QUILLON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace quillon;
using namespace quillon::testing;

namespace {

#if QUILLON_HAVE_X11
// The server's whole screen as 0x00RRGGBB pixels, rows top-down.
std::vector<std::uint32_t> read_screen(Display* x, int& width, int& height)
{
    Window root = DefaultRootWindow(x);
    XWindowAttributes attributes;
    XGetWindowAttributes(x, root, &attributes);
    width = attributes.width;
    height = attributes.height;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    XImage* image = XGetImage(x, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    for (int y = 0; y < height; ++y)
        for (int x_pos = 0; x_pos < width; ++x_pos)
            pixels[static_cast<std::size_t>(y) * width + x_pos] = XGetPixel(image, x_pos, y) & 0xFFFFFF;
    XDestroyImage(image);
    return pixels;
}

// Whether the frame appears somewhere on the screen, pixel for pixel.
bool screen_shows(const std::vector<std::uint32_t>& screen, int width, int height, SurfaceCanvas frame)
{
    for (int top = 0; top + frame.height <= height; ++top) {
        for (int left = 0; left + frame.width <= width; ++left) {
            bool same = true;
            for (int y = 0; same && y < frame.height; ++y)
                for (int x = 0; same && x < frame.width; ++x)
                    same = screen[static_cast<std::size_t>(top + y) * width + left + x]
                        == (frame.at(x, y) & 0xFFFFFF);
            if (same)
                return true;
        }
    }
    return false;
}
#endif

}  // namespace

TEST(WindowFrame, TheWindowShowsTheFrameTheRunnerDrew)
{
#if !QUILLON_HAVE_X11
    GTEST_SKIP() << "built without Xlib";
#else
    std::optional<std::filesystem::path> xvfb = find_program("Xvfb");
    if (!xvfb)
        GTEST_SKIP() << "Xvfb is not installed";
    VirtualServer server(*xvfb);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedVariable display_name("DISPLAY", server.display());
    ScopedVariable video_driver("SDL_VIDEODRIVER", "x11");

    // A room with a tiled background, a see-through sprite and an instance over a tile.
    Bitmap24 checker(8, 8, make_color(220, 40, 40));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checker.set_pixel(x, y, make_color(255, 255, 255));
    Bitmap24 ring(6, 6, make_color(40, 200, 60));
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x)
            ring.set_pixel(x, y, make_color(255, 0, 255));
    ring.set_pixel(0, 5, make_color(255, 0, 255));
    GameBuilder builder;
    builder.background("checker", checker, {{"transparent", false}});
    builder.sprite("ring", {ring}, {{"transparent", true}});
    builder.object("ring").set("sprite", "ring").on("create", "hspeed = 1");
    builder.room("room").set("caption", "Window").set("width", 40).set("height", 30)
        .set("backgrounds", Json::array({Json {{"background", "checker"}, {"x", 3}, {"y", 2}}}))
        .instance("ring", 10, 12).instance("ring", 20, 5, "image_scale = 2");

#if defined(__SANITIZE_ADDRESS__)
    // The window system's libraries (D-Bus, the GL driver they load and unload) keep process-wide allocations
    // that leak checking would report as ours; the headless tests check our own code for leaks.
    __lsan::ScopedDisabler system_libraries;
#endif
    platform::Sdl2Display window;
    std::vector<std::uint32_t> screen;
    int width = 0;
    int height = 0;
    bool shown = false;
    {
        PlayedGame game(builder, &window);
        ASSERT_TRUE(window.is_open());
        Display* x = XOpenDisplay(server.display().c_str());
        ASSERT_NE(x, nullptr);
        // The window maps and draws a little after it is shown; each try presents the next step's frame.
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!shown && std::chrono::steady_clock::now() < give_up) {
            game.step();
            XSync(x, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            screen = read_screen(x, width, height);
            shown = screen_shows(screen, width, height, game.graphics().screen().buffer()->GetCanvas());
        }
        // The handle game code reads is the window the server knows.
        XWindowAttributes attributes;
        ASSERT_NE(window.native_handle(), 0u);
        EXPECT_NE(XGetWindowAttributes(x, static_cast<Window>(window.native_handle()), &attributes), 0);
        XCloseDisplay(x);
        EXPECT_EQ(game.caption(), "Window");
    }
    EXPECT_TRUE(shown) << "the server never showed the presented frame";
#endif
}

// The display on its own under the private server: a window opens, shows frames of changing sizes, takes a
// caption, is fitted to a new placement when opened again (a restarted game keeps its window), and closes.
TEST(WindowFrame, TheSdlDisplayOpensPresentsReopensAndCloses)
{
    std::optional<std::filesystem::path> xvfb = find_program("Xvfb");
    if (!xvfb)
        GTEST_SKIP() << "Xvfb is not installed";
    VirtualServer server(*xvfb);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedVariable display_name("DISPLAY", server.display());
    ScopedVariable video_driver("SDL_VIDEODRIVER", "x11");
    EXPECT_TRUE(platform::display_available());
    platform::Sdl2Display display;
    platform::ScreenSize screen = display.screen_size();
    EXPECT_EQ(screen.width, 320);
    EXPECT_EQ(screen.height, 240);
    ASSERT_TRUE(display.open({(screen.width - 64) / 2, (screen.height - 48) / 2, 64, 48, false}, "Quillon \xe9"));
    std::vector<std::uint32_t> pixels(32 * 24, 0x3366CC);
    EXPECT_TRUE(display.present({pixels.data(), 32, 24, 32 * 4}));
    display.set_visible(true);
    // A frame of another size makes a new texture.
    EXPECT_TRUE(display.present({pixels.data(), 24, 32, 24 * 4}));
    display.set_caption("Room 2");
    ASSERT_TRUE(display.open({10, 10, 80, 60, true}, "Again"));
    EXPECT_TRUE(display.present({pixels.data(), 32, 24, 32 * 4}));
    display.close();
    EXPECT_FALSE(display.is_open());
    EXPECT_FALSE(display.present({pixels.data(), 32, 24, 32 * 4}));
}
