// Drivers: per service a table of the backends that serve it, and the Platform that bundles one of each.
#pragma once

#include "platform/audio_device.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/debug_view.h"
#include "platform/dialog_host.h"
#include "platform/display.h"
#include "platform/form_window.h"
#include "platform/input.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quillon::platform {

template <typename Service>
struct Driver {
    std::string_view name;                    // "sdl2" or "headless"
    std::string_view description;             // one line for listings
    std::unique_ptr<Service> (*create)();     // makes a fresh instance of the service
};

std::span<const Driver<Display>> display_drivers();
std::span<const Driver<Input>> input_drivers();
std::span<const Driver<Clock>> clock_drivers();
std::span<const Driver<DialogHost>> dialog_host_drivers();
std::span<const Driver<AudioDevice>> audio_device_drivers();
std::span<const Driver<Clipboard>> clipboard_drivers();

// One instance of every service, all from the drivers of one name. The runner owns it for the whole run;
// tests reach the headless extras (frames, event queue, answers) by casting to the headless classes.
struct Platform {
    std::string name;                       // the name the drivers were chosen by
    std::unique_ptr<Clock> clock;           // ticks and sleep
    std::unique_ptr<Display> display;       // the window and its frames
    std::unique_ptr<Input> input;           // keyboard, mouse and window events
    std::unique_ptr<DialogHost> dialogs;    // modal message boxes
    std::unique_ptr<AudioDevice> audio;     // sound output
    std::unique_ptr<Clipboard> clipboard;   // the clipboard's text
    // Makes another display of the same driver: one Display is one window, so a window that lives beside
    // the game's (the loading window, which stays up while the game's display is set up) needs its own.
    std::unique_ptr<Display> (*create_display)() = nullptr;
    // Makes the debug window, for games played in debug mode; none where there is no window system.
    std::unique_ptr<DebugWindow> (*create_debug_window)() = nullptr;
    // Makes a window for one of the runner's own dialogs; none where there is no window system.
    std::unique_ptr<FormWindow> (*create_form_window)() = nullptr;
};

// Creates the platform whose drivers bear this name ("sdl2" or "headless"); nullptr for an unknown name.
std::unique_ptr<Platform> create_platform(std::string_view name);

// Whether a real window system is reachable: SDL's video starts with an X11 or Wayland driver. The runner
// falls back to "headless" when it is not.
bool display_available();

}  // namespace quillon::platform
