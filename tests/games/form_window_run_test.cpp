// A message form run by the form host in a real form window under a private X server: it shows, a key typed
// into its window closes it with that key's answer, and the window goes.
#include "dialogs/form_host.h"
#include "dialogs/message_form.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/sdl2/sdl2_form_window.h"
#include "virtual_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#if QUILLON_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace quillon;
using namespace quillon::testing;

TEST(FormWindow, TheHostRunsAMessageFormInAWindowUntilAKeyAnswersIt)
{
#if !QUILLON_HAVE_X11
    GTEST_SKIP() << "built without Xlib";
#else
    std::optional<std::filesystem::path> xvfb = find_program("Xvfb");
    if (!xvfb)
        GTEST_SKIP() << "Xvfb is not installed";
    VirtualServer server(*xvfb, "640x480x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedVariable display_name("DISPLAY", server.display());
    ScopedVariable video_driver("SDL_VIDEODRIVER", "x11");
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler system_libraries;
#endif
    MessageSettings settings;
    settings.x = 20;
    settings.y = 30;
    MessageForm form(settings, {}, "Keep going?", { "&Yes", "", "&No" });
    int width = form.layout().width;
    int height = form.layout().height;

    // Another connection waits for the form's window to map, gives it the focus and types Shift+N, "N".
    std::atomic<bool> typed = false;
    std::thread typist([&] {
        ::Display* x = XOpenDisplay(server.display().c_str());
        if (!x)
            return;
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!typed && std::chrono::steady_clock::now() < give_up) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count);
            for (unsigned i = 0; i < count && !typed; ++i) {
                XWindowAttributes attributes;
                if (!XGetWindowAttributes(x, children[i], &attributes) || attributes.map_state != IsViewable
                    || attributes.x != 20 || attributes.y != 30 || attributes.width != width
                    || attributes.height != height)
                    continue;
                XSetInputFocus(x, children[i], RevertToParent, CurrentTime);
                XKeyEvent key {};
                key.display = x;
                key.window = children[i];
                key.root = DefaultRootWindow(x);
                key.same_screen = True;
                key.keycode = XKeysymToKeycode(x, XK_N);
                key.state = ShiftMask;
                key.type = KeyPress;
                XSendEvent(x, children[i], True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
                XSync(x, False);
                typed = true;
            }
            XFree(children);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XCloseDisplay(x);
    });
    std::ostringstream log;
    platform::HeadlessDialogHost dialogs(log);
    FormHost host(dialogs, [] { return std::make_unique<platform::Sdl2FormWindow>(); });
    host.run(form);
    typist.join();
    EXPECT_TRUE(typed) << "the form's window never showed at its place";
    EXPECT_TRUE(form.finished());
    EXPECT_EQ(form.result(), 3);
    EXPECT_EQ(log.str(), ""); // nothing was asked of the answers script
#endif
}
