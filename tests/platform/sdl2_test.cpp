// SDL2 drivers: the key table, events turned into plain records, the clipboard's code page,
// and a real window when a display exists.
#include "platform/drivers.h"
#include "platform/sdl2/key_map.h"
#include "platform/sdl2/sdl2_clipboard.h"
#include "platform/sdl2/sdl2_dialog_host.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

using namespace quillon::platform;

TEST(KeyMap, SdlKeysGiveWindowsVirtualKeys)
{
    struct Case {
        SDL_Keycode key;   // the key pressed
        int scancode;      // its position, for keys the layout leaves unknown
        bool num_lock;     // num lock state
        int expected;      // the virtual-key code
    };
    const Case cases[] = {
        {SDLK_a, 0, false, 65}, {SDLK_z, 0, false, 90}, {SDLK_0, 0, false, 48}, {SDLK_9, 0, false, 57},
        {SDLK_F1, 0, false, 112}, {SDLK_F12, 0, false, 123}, {SDLK_LEFT, 0, false, 37}, {SDLK_UP, 0, false, 38},
        {SDLK_RIGHT, 0, false, 39}, {SDLK_DOWN, 0, false, 40}, {SDLK_RETURN, 0, false, 13},
        {SDLK_KP_ENTER, 0, false, 13}, {SDLK_ESCAPE, 0, false, 27}, {SDLK_SPACE, 0, false, 32},
        {SDLK_BACKSPACE, 0, false, 8}, {SDLK_TAB, 0, false, 9}, {SDLK_PAGEUP, 0, false, 33},
        {SDLK_PAGEDOWN, 0, false, 34}, {SDLK_END, 0, false, 35}, {SDLK_HOME, 0, false, 36},
        {SDLK_INSERT, 0, false, 45}, {SDLK_DELETE, 0, false, 46}, {SDLK_LSHIFT, 0, false, 160},
        {SDLK_RSHIFT, 0, false, 161}, {SDLK_LCTRL, 0, false, 162}, {SDLK_RCTRL, 0, false, 163},
        {SDLK_LALT, 0, false, 164}, {SDLK_RALT, 0, false, 165}, {SDLK_PAUSE, 0, false, 19},
        {SDLK_PRINTSCREEN, 0, false, 44}, {SDLK_NUMLOCKCLEAR, 0, false, 144},
        // The keypad: digits with num lock, the navigation keys printed on them without.
        {SDLK_KP_0, 0, true, 96}, {SDLK_KP_5, 0, true, 101}, {SDLK_KP_9, 0, true, 105}, {SDLK_KP_PERIOD, 0, true, 110},
        {SDLK_KP_0, 0, false, 45}, {SDLK_KP_1, 0, false, 35}, {SDLK_KP_5, 0, false, 12}, {SDLK_KP_8, 0, false, 38},
        {SDLK_KP_PERIOD, 0, false, 46}, {SDLK_KP_MULTIPLY, 0, false, 106}, {SDLK_KP_PLUS, 0, false, 107},
        {SDLK_KP_MINUS, 0, false, 109}, {SDLK_KP_DIVIDE, 0, false, 111},
        {SDLK_SEMICOLON, 0, false, 186}, {SDLK_MINUS, 0, false, 189}, {SDLK_QUOTE, 0, false, 222},
        // A letter the layout gives its own keycode counts as the US key in its place.
        {0xE4, SDL_SCANCODE_APOSTROPHE, false, 222}, {0xE9, SDL_SCANCODE_2, false, 50},
        {SDLK_VOLUMEUP, 0, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(virtual_key_from_sdl(c.key, c.scancode, c.num_lock), c.expected) << SDL_GetKeyName(c.key);
}

TEST(KeyMap, KeyMessagesCarryUnsidedModifiers)
{
    for (auto [sided, unsided] : {std::pair {160, 16}, {161, 16}, {162, 17}, {163, 17}, {164, 18}, {165, 18},
             {65, 65}, {13, 13}})
        EXPECT_EQ(unsided_virtual_key(sided), unsided) << sided;
}

namespace {

void push_key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE)
{
    SDL_Event event {};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

// Sets an environment variable (SDL_VIDEODRIVER, SDL_AUDIODRIVER) for the life of the object, restoring what
// was there before.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : m_name(name)
    {
        const char* previous = std::getenv(name);
        m_had_previous = previous != nullptr;
        m_previous = previous ? previous : "";
        setenv(name, value, 1);
    }
    ~ScopedVariable()
    {
        if (m_had_previous)
            setenv(m_name, m_previous.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;       // the variable
    bool m_had_previous;      // it was set before
    std::string m_previous;   // and had this value
};

}  // namespace

// Events are pushed into SDL's own queue, which works with any video driver (the dummy one under CTest).
TEST(Sdl2Input, TurnsSdlEventsIntoRecords)
{
    Sdl2Input input;
    std::vector<Event> events;
    input.poll(events);  // drop whatever SDL queued at start
    events.clear();

    push_key(SDL_KEYDOWN, SDLK_RSHIFT);
    push_key(SDL_KEYUP, SDLK_KP_4, KMOD_NUM);
    push_key(SDL_KEYDOWN, SDLK_BACKSPACE);
    SDL_Event text {};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "\xc3\xa9\xe2\x82\xac");
    SDL_PushEvent(&text);
    SDL_Event button {};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button = {SDL_MOUSEBUTTONDOWN, 0, 0, 0, SDL_BUTTON_MIDDLE, SDL_PRESSED, 1, 0, 12, 34};
    SDL_PushEvent(&button);
    SDL_Event close {};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    input.poll(events);
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].kind, EventKind::key_down);
    EXPECT_EQ(events[0].sdl_key, SDLK_RSHIFT);
    EXPECT_EQ(events[0].virtual_key, 16);
    EXPECT_EQ(events[0].sided_key, 161);
    EXPECT_EQ(events[1].kind, EventKind::key_up);
    EXPECT_EQ(events[1].virtual_key, 100);
    // Backspace also types its control character, which keyboard_string needs.
    EXPECT_EQ(events[2].virtual_key, 8);
    EXPECT_EQ(events[3].kind, EventKind::text);
    EXPECT_EQ(events[3].text, "\x08");
    EXPECT_EQ(events[4].kind, EventKind::text);
    EXPECT_EQ(events[4].text, "\xe9\x80");
    EXPECT_EQ(events[5].kind, EventKind::mouse_down);
    EXPECT_EQ(events[5].button, MOUSE_MIDDLE);
    EXPECT_EQ(events[5].x, 12);
    EXPECT_EQ(events[5].y, 34);
    EXPECT_EQ(events[6].kind, EventKind::window_close);
    EXPECT_EQ(events[7].kind, EventKind::quit);
}

// Keys the game types itself come after what SDL had queued; a num-lock press turns the lock over.
TEST(Sdl2Input, SynthesizedKeysFollowQueuedEventsAndNumLockToggles)
{
    Sdl2Input input;
    std::vector<Event> events;
    input.poll(events);
    events.clear();
    bool lock = input.num_lock();
    push_key(SDL_KEYDOWN, SDLK_a);
    input.synthesize({.kind = EventKind::key_down, .virtual_key = 144, .sided_key = 144});
    EXPECT_NE(input.num_lock(), lock);
    input.synthesize({.kind = EventKind::key_up, .virtual_key = 144, .sided_key = 144});
    EXPECT_NE(input.num_lock(), lock);
    input.poll(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].virtual_key, 65);
    EXPECT_EQ(events[1].kind, EventKind::key_down);
    EXPECT_EQ(events[1].virtual_key, 144);
    EXPECT_EQ(events[2].kind, EventKind::key_up);
    events.clear();
    input.poll(events);
    EXPECT_TRUE(events.empty());
}

// A virtual joystick stands in for a device: it is opened as it comes, reported on the driver's scale, and
// closed as it goes.
TEST(Sdl2Input, JoysticksArePluggedMovedAndUnplugged)
{
    Sdl2Input input;
    std::vector<Event> events;
    input.poll(events);
    events.clear();
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 3, 4, 1);
    ASSERT_GE(device, 0) << SDL_GetError();
    input.poll(events);
    auto plugged = std::find_if(events.begin(), events.end(),
        [](const Event& event) { return event.kind == EventKind::joystick_plugged; });
    ASSERT_NE(plugged, events.end());
    EXPECT_EQ(plugged->joystick, 1);
    EXPECT_EQ(plugged->joystick_caps.axes, 3);
    EXPECT_EQ(plugged->joystick_caps.buttons, 4);
    EXPECT_TRUE(plugged->joystick_caps.has_pov);
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(joystick, nullptr);
    SDL_JoystickSetVirtualAxis(joystick, 0, -32768);
    SDL_JoystickSetVirtualAxis(joystick, 1, 32767);
    SDL_JoystickSetVirtualButton(joystick, 2, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_RIGHTUP);
    events.clear();
    SDL_JoystickUpdate();
    input.poll(events);
    // SDL may report the axes at rest first; the last report of each control counts.
    std::map<std::string, int> last;
    for (const Event& event : events) {
        if (event.kind == EventKind::joystick_axis)
            last["axis" + std::to_string(event.axis)] = event.position;
        else if (event.kind == EventKind::joystick_button_down)
            last["button" + std::to_string(event.button)] = 1;
        else if (event.kind == EventKind::joystick_pov)
            last["pov"] = event.position;
    }
    const std::map<std::string, int> expected {
        {"axis0", 0}, {"axis1", 65534}, {"axis2", JOYSTICK_AXIS_CENTRE}, {"button3", 1}, {"pov", 4500}};
    EXPECT_EQ(last, expected);
    SDL_JoystickDetachVirtual(device);
    events.clear();
    input.poll(events);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().kind, EventKind::joystick_unplugged);
    EXPECT_EQ(events.back().joystick, 1);
}

TEST(Sdl2Display, TheDummyVideoDriverIsNoDisplay)
{
    ScopedVariable dummy("SDL_VIDEODRIVER", "dummy");
    EXPECT_FALSE(display_available());
}

// Without a window system the boxes' texts go to standard error, readable, with one note and no second try.
TEST(Sdl2DialogHost, BoxesThatCannotBeShownGoToStandardErrorWithOneNote)
{
    ScopedVariable no_x("DISPLAY", "");
    ScopedVariable no_wayland("WAYLAND_DISPLAY", "");
    ScopedVariable dummy("SDL_VIDEODRIVER", "dummy");
    Sdl2DialogHost dialogs;
    const std::string buttons[] = {"Yes", "No"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(dialogs.message_box("Quillon", "first caf\xe9\rline", buttons, 1), 1);
    EXPECT_EQ(dialogs.message_box("Quillon", "second", buttons, 0), 0);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("quillon-runner: no message box can be shown (", 0), 0u) << log;
    EXPECT_EQ(log.substr(log.find('\n') + 1), "first caf\xc3\xa9\nline\nsecond\n");
}

// SDL's dummy video driver makes windows without a screen, so the whole SDL2 platform runs in CI too.
TEST(Sdl2Drivers, MakeAWorkingPlatformOverTheDummyVideoDriver)
{
    ScopedVariable dummy("SDL_VIDEODRIVER", "dummy");
    auto platform = create_platform("sdl2");
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(platform->name, "sdl2");

    std::uint64_t start = platform->clock->ticks_ms();
    platform->clock->sleep_ms(5);
    EXPECT_GE(platform->clock->ticks_ms() - start, 5u);

    ASSERT_TRUE(platform->display->open({0, 0, 40, 30, true}, "dummy"));
    std::vector<std::uint32_t> pixels(20 * 15, 0xFFFFFF);
    EXPECT_TRUE(platform->display->present({pixels.data(), 20, 15, 20 * 4}));
    auto second = platform->create_display();
    EXPECT_TRUE(second->open({0, 0, 10, 10, false}, "beside"));
    second.reset();
    EXPECT_TRUE(platform->display->present({pixels.data(), 20, 15, 20 * 4}));
    std::vector<Event> events;
    platform->input->poll(events);
    platform->display->close();
}

// SDL's dummy video keeps clipboard text in the process, so the conversion at the seam shows without a display.
TEST(Sdl2Clipboard, GameTextCrossesAsUtf8AndComesBackAsWindows1252)
{
    ScopedVariable dummy("SDL_VIDEODRIVER", "dummy");
    Sdl2Clipboard clipboard;
    clipboard.set_text("Caf\xe9 \x80");
    EXPECT_TRUE(clipboard.has_text());
    char* utf8 = SDL_GetClipboardText();
    EXPECT_STREQ(utf8, "Caf\xc3\xa9 \xe2\x82\xac");
    SDL_free(utf8);
    EXPECT_EQ(clipboard.text(), "Caf\xe9 \x80");
}
