// The SDL form window under a private X server: it opens at its placement, shows the frame presented, hands
// over a key typed into it, keeps other windows' input away and the game's other events for later, and closes.
#include "../games/virtual_server.h"
#include "platform/sdl2/sdl2_form_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

#if QUILLON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace quillon::platform;
using namespace quillon::testing;

namespace {

#if QUILLON_HAVE_X11
// Whether the server shows the pixels at (left, top) of the root window.
bool screen_shows(::Display* x, int left, int top, const std::vector<std::uint32_t>& pixels, int width, int height)
{
    XImage* image = XGetImage(x, DefaultRootWindow(x), left, top, width, height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool same = true;
    for (int y = 0; same && y < height; ++y)
        for (int column = 0; same && column < width; ++column)
            same = (XGetPixel(image, column, y) & 0xFFFFFF) == pixels[std::size_t(y) * width + column];
    XDestroyImage(image);
    return same;
}

// The mapped top-level window of this size, 0 when there is none.
Window window_sized(::Display* x, int width, int height)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable
            && attributes.width == width && attributes.height == height)
            found = children[i];
    }
    XFree(children);
    return found;
}

void send_key(::Display* x, Window window, KeySym symbol)
{
    XKeyEvent key {};
    key.display = x;
    key.window = window;
    key.root = DefaultRootWindow(x);
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(x, symbol);
    for (int type : { KeyPress, KeyRelease }) {
        key.type = type;
        XSendEvent(x, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
    }
    XSync(x, False);
}
#endif

} // namespace

TEST(FormWindow, OpensAtItsPlacementShowsItsFrameTakesItsKeysAndCloses)
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
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler system_libraries;
#endif
    constexpr int LEFT = 40, TOP = 30, WIDTH = 64, HEIGHT = 48;
    std::vector<std::uint32_t> pixels(WIDTH * HEIGHT, 0x3366CC);
    for (int i = 0; i < WIDTH; ++i)
        pixels[std::size_t(i % HEIGHT) * WIDTH + i] = 0xFFEE00;

    Sdl2FormWindow window;
    EXPECT_EQ(window.screen_size(), (ScreenSize { 320, 240 }));
    ASSERT_TRUE(window.open({ LEFT, TOP, WIDTH, HEIGHT, false }, "Form \xe9"));
    ASSERT_TRUE(window.present({ pixels.data(), WIDTH, HEIGHT, WIDTH * 4 }));
    ::Display* x = XOpenDisplay(server.display().c_str());
    ASSERT_NE(x, nullptr);
    std::vector<Event> events;
    bool shown = false;
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!shown && std::chrono::steady_clock::now() < give_up) {
        window.wait(events, 20);
        XSync(x, False);
        shown = screen_shows(x, LEFT, TOP, pixels, WIDTH, HEIGHT);
    }
    EXPECT_TRUE(shown) << "the frame never showed at the placement";

    // Input of another window is dropped; a quit request waits for the game.
    SDL_Event foreign {};
    foreign.type = SDL_KEYDOWN;
    foreign.key.windowID = 9999;
    foreign.key.keysym.sym = SDLK_b;
    SDL_PushEvent(&foreign);
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    // A key typed into the form's window reaches the form, as a key and as its character.
    Window form = window_sized(x, WIDTH, HEIGHT);
    ASSERT_NE(form, 0u);
    XSetInputFocus(x, form, RevertToParent, CurrentTime);
    send_key(x, form, XK_a);
    auto typed = [&] {
        return std::any_of(events.begin(), events.end(), [](const Event& e) {
            return e.kind == EventKind::key_down && e.virtual_key == 'A';
        }) && std::any_of(events.begin(), events.end(), [](const Event& e) {
            return e.kind == EventKind::text && e.text == "a";
        });
    };
    events.clear();
    give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!typed() && std::chrono::steady_clock::now() < give_up)
        window.wait(events, 20);
    EXPECT_TRUE(typed()) << "the key never came";
    EXPECT_FALSE(std::any_of(events.begin(), events.end(), [](const Event& e) {
        return e.kind == EventKind::quit || (e.kind == EventKind::key_down && e.virtual_key == 'B');
    }));

    window.close();
    XSync(x, False);
    EXPECT_EQ(window_sized(x, WIDTH, HEIGHT), 0u);
    XCloseDisplay(x);
    SDL_Event after {};
    bool quit_kept = false;
    while (SDL_PollEvent(&after))
        quit_kept = quit_kept || after.type == SDL_QUIT;
    EXPECT_TRUE(quit_kept);
#endif
}
