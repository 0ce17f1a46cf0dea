// The debug window on a real display: a game in debug mode under a private X server opens the window at its place,
// the window shows the watch grid, and a game paused by the debugger stays paused until it is told otherwise.
#include "game_builder.h"
#include "runner/runner.h"
#include "virtual_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#if QUILLON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

std::string file_text(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#if QUILLON_HAVE_X11
// A top-level window of the server with this name, or 0.
Window find_window(Display* x, const char* name)
{
    Window root = DefaultRootWindow(x);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(x, root, &root, &parent, &children, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* title = nullptr;
        if (XFetchName(x, children[i], &title) && title) {
            if (std::string(title) == name)
                found = children[i];
            XFree(title);
        }
    }
    if (children)
        XFree(children);
    return found;
}

// Whether a whole row of the window's picture, at least `run` pixels long, has this colour: the header of the grid.
bool shows_colour_run(Display* x, Window window, std::uint32_t colour, int run)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(x, window, &attributes);
    XImage* image = XGetImage(x, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool found = false;
    for (int y = 0; y < attributes.height && !found; ++y) {
        int length = 0;
        for (int column = 0; column < attributes.width && !found; ++column) {
            length = (XGetPixel(image, column, y) & 0xFFFFFF) == colour ? length + 1 : 0;
            found = length >= run;
        }
    }
    XDestroyImage(image);
    return found;
}
#endif

// A SIGTERM that comes after the runner stopped watching for it must not end the test program.
extern "C" void ignore_signal(int) {}

}  // namespace

TEST(DebugWindow, OpensAtItsPlaceShowsTheWatchGridAndHoldsAPausedGame)
{
#if !QUILLON_HAVE_X11
    GTEST_SKIP() << "built without Xlib";
#else
    std::optional<fs::path> xvfb = find_program("Xvfb");
    if (!xvfb)
        GTEST_SKIP() << "Xvfb is not installed";
    VirtualServer server(*xvfb, "800x600x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedVariable display_name("DISPLAY", server.display());
    ScopedVariable video_driver("SDL_VIDEODRIVER", "x11");
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler system_libraries;
#endif
    fs::path folder = fs::temp_directory_path() / ("debug_window_test_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    GameBuilder builder;
    builder.object("counter").on("create", "global.n = 0").on("step", "global.n += 1");
    builder.room("room").set("width", 64).set("height", 48).instance("counter", 0, 0);
    builder.write(folder / "game.bin");

    CommandLine command_line;
    command_line.game = folder / "game.bin";
    command_line.steps = 100000;
    command_line.no_sleep = true;
    command_line.debug = true;
    command_line.debug_output_file = folder / "debug.txt";
    std::string error;
    auto commands = DebugCommands::parse("2 watch add global.n\n5 pause\n", "commands", error);
    ASSERT_TRUE(commands) << error;
    auto platform = platform::create_platform("sdl2");
    ASSERT_TRUE(platform);
    Runner runner(*platform, command_line);
    runner.set_debug_commands(std::move(*commands));

    // The observer looks at the server from its own connection, then ends the paused game with SIGTERM.
    struct sigaction quiet {};
    quiet.sa_handler = ignore_signal;
    struct sigaction before {};
    sigaction(SIGTERM, &quiet, &before);
    std::atomic<bool> window_found = false;
    std::atomic<bool> placed = false;
    std::atomic<bool> grid_shown = false;
    std::thread observer([&] {
        Display* x = XOpenDisplay(server.display().c_str());
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (x && std::chrono::steady_clock::now() < give_up && !grid_shown) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            Window window = find_window(x, "Debug Information");
            if (!window || file_text(folder / "debug.txt").find("step 5") == std::string::npos)
                continue;
            window_found = true;
            XWindowAttributes attributes;
            XGetWindowAttributes(x, window, &attributes);
            placed = attributes.x == 10 && attributes.y == 10 && attributes.map_state == IsViewable;
            // The grid's header row in the light style's header colour.
            grid_shown = shows_colour_run(x, window, 0xC7DEFA, 100);
        }
        // Long enough for a running game to have taken many more steps.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (x)
            XCloseDisplay(x);
        kill(getpid(), SIGTERM);
    });
    int status = runner.run();
    observer.join();
    sigaction(SIGTERM, &before, nullptr);

    EXPECT_EQ(status, EXIT_NORMAL_END);
    EXPECT_TRUE(window_found) << "no window named Debug Information appeared";
    EXPECT_TRUE(placed) << "the debug window is not shown at 10,10";
    EXPECT_TRUE(grid_shown) << "no header row of the watch grid was seen";
    std::string text = file_text(folder / "debug.txt");
    EXPECT_NE(text.find("== Debug Information, step 5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("global.n\t5\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("step 6"), std::string::npos) << text.substr(text.size() > 400 ? text.size() - 400 : 0);
    fs::remove_all(folder);
#endif
}
