// Drivers: per service a table of the backends that serve it, and the Platform that bundles one of each.
#include "platform/drivers.h"

#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/memory_clipboard.h"
#include "platform/headless/virtual_clock.h"
#include "platform/openal/openal_mixer.h"
#include "platform/sdl2/sdl2_clipboard.h"
#include "platform/sdl2/sdl2_clock.h"
#include "platform/sdl2/sdl2_dialog_host.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_form_window.h"
#include "platform/sdl2/sdl2_input.h"
#include "platform/sdl2/sdl2_subsystems.h"
#include "platform/sdl2/imgui_debug_window.h"

namespace quillon::platform {

namespace {

template <typename Service, typename Backend>
std::unique_ptr<Service> make()
{
    return std::make_unique<Backend>();
}

constexpr Driver<Display> DISPLAY_DRIVERS[] = {
    {"sdl2", "SDL2 window, frames scaled in through a streaming texture", make<Display, Sdl2Display>},
    {"headless", "no window; the last frame is kept in memory", make<Display, HeadlessDisplay>},
};

constexpr Driver<Input> INPUT_DRIVERS[] = {
    {"sdl2", "SDL2 keyboard, mouse and window events", make<Input, Sdl2Input>},
    {"headless", "events from a queue filled by scripted input", make<Input, HeadlessInput>},
};

constexpr Driver<Clock> CLOCK_DRIVERS[] = {
    {"sdl2", "SDL2 tick count and delay", make<Clock, Sdl2Clock>},
    {"headless", "virtual time that sleeping advances", make<Clock, VirtualClock>},
};

constexpr Driver<DialogHost> DIALOG_HOST_DRIVERS[] = {
    {"sdl2", "SDL2 message boxes", make<DialogHost, Sdl2DialogHost>},
    {"headless", "texts to standard error, answers from a script", make<DialogHost, HeadlessDialogHost>},
};

constexpr Driver<AudioDevice> AUDIO_DEVICE_DRIVERS[] = {
    {"sdl2", "OpenAL Soft on the sound card, else the silent mixer", [] {
         return std::unique_ptr<AudioDevice>(std::make_unique<OpenAlMixer>(true));
     }},
    {"headless", "OpenAL Soft mixing on game time, silent", [] {
         return std::unique_ptr<AudioDevice>(std::make_unique<OpenAlMixer>(false));
     }},
};

constexpr Driver<Clipboard> CLIPBOARD_DRIVERS[] = {
    {"sdl2", "the window system's clipboard through SDL2", make<Clipboard, Sdl2Clipboard>},
    {"headless", "a clipboard of the run's own, empty at the start", make<Clipboard, MemoryClipboard>},
};

template <typename Service>
const Driver<Service>* find(std::span<const Driver<Service>> drivers, std::string_view name)
{
    for (const Driver<Service>& driver : drivers) {
        if (driver.name == name)
            return &driver;
    }
    return nullptr;
}

template <typename Service>
std::unique_ptr<Service> create(std::span<const Driver<Service>> drivers, std::string_view name)
{
    const Driver<Service>* driver = find(drivers, name);
    return driver ? driver->create() : nullptr;
}

}  // namespace

std::span<const Driver<Display>> display_drivers() { return DISPLAY_DRIVERS; }
std::span<const Driver<Input>> input_drivers() { return INPUT_DRIVERS; }
std::span<const Driver<Clock>> clock_drivers() { return CLOCK_DRIVERS; }
std::span<const Driver<DialogHost>> dialog_host_drivers() { return DIALOG_HOST_DRIVERS; }
std::span<const Driver<AudioDevice>> audio_device_drivers() { return AUDIO_DEVICE_DRIVERS; }
std::span<const Driver<Clipboard>> clipboard_drivers() { return CLIPBOARD_DRIVERS; }

std::unique_ptr<Platform> create_platform(std::string_view name)
{
    auto platform = std::make_unique<Platform>();
    platform->clock = create(clock_drivers(), name);
    platform->display = create(display_drivers(), name);
    platform->input = create(input_drivers(), name);
    platform->dialogs = create(dialog_host_drivers(), name);
    platform->audio = create(audio_device_drivers(), name);
    platform->clipboard = create(clipboard_drivers(), name);
    if (!platform->clock || !platform->display || !platform->input || !platform->dialogs || !platform->audio ||
        !platform->clipboard)
        return nullptr;
    platform->name = name;
    platform->create_display = find(display_drivers(), name)->create;
    if (name == "sdl2") {
        platform->create_debug_window = make<DebugWindow, ImguiDebugWindow>;
        platform->create_form_window = make<FormWindow, Sdl2FormWindow>;
    }
    return platform;
}

bool display_available()
{
    return sdl2_video_available();
}

}  // namespace quillon::platform
