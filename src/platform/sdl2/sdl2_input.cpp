// Sdl2Input: SDL2 keyboard, mouse, joystick and window events as plain records.
#include "platform/sdl2/sdl2_input.h"

#include "platform/sdl2/imgui_window_host.h"
#include "platform/sdl2/key_map.h"
#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>

namespace quillon::platform {

namespace {

int mouse_button(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return MOUSE_LEFT;
    case SDL_BUTTON_RIGHT: return MOUSE_RIGHT;
    case SDL_BUTTON_MIDDLE: return MOUSE_MIDDLE;
    default: return 0;
    }
}

// Keys that also type a control character, as the character messages of Windows deliver them.
char control_character(int virtual_key)
{
    switch (virtual_key) {
    case 8:
    case 9:
    case 13:
    case 27: return static_cast<char>(virtual_key);
    default: return 0;
    }
}

void add_key(const SDL_KeyboardEvent& key, std::vector<Event>& events)
{
    Event event;
    event.kind = key.type == SDL_KEYDOWN ? EventKind::key_down : EventKind::key_up;
    event.sdl_key = key.keysym.sym;
    event.sided_key = virtual_key_from_sdl(key.keysym.sym, key.keysym.scancode, (key.keysym.mod & KMOD_NUM) != 0);
    event.virtual_key = unsided_virtual_key(event.sided_key);
    event.repeat = key.repeat != 0;
    events.push_back(event);
    if (char typed = control_character(event.virtual_key); typed && key.type == SDL_KEYDOWN) {
        Event text {.kind = EventKind::text};
        text.text.assign(1, typed);
        events.push_back(std::move(text));
    }
}

void add_window_event(const SDL_WindowEvent& window, std::vector<Event>& events)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: events.push_back({.kind = EventKind::window_close}); break;
    case SDL_WINDOWEVENT_EXPOSED: events.push_back({.kind = EventKind::window_exposed}); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: events.push_back({.kind = EventKind::focus_gained}); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: events.push_back({.kind = EventKind::focus_lost}); break;
    default: break;
    }
}

constexpr int VIRTUAL_KEY_NUM_LOCK = 144;

}  // namespace

void append_sdl2_event(const SDL_Event& sdl, std::vector<Event>& events)
{
    switch (sdl.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: add_key(sdl.key, events); break;
    case SDL_TEXTINPUT: events.push_back({.kind = EventKind::text, .text = utf8_to_win1252(sdl.text.text)}); break;
    case SDL_MOUSEMOTION:
        events.push_back({.kind = EventKind::mouse_move, .x = sdl.motion.x, .y = sdl.motion.y});
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        events.push_back({.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? EventKind::mouse_down : EventKind::mouse_up,
            .x = sdl.button.x,
            .y = sdl.button.y,
            .button = mouse_button(sdl.button.button)});
        break;
    case SDL_MOUSEWHEEL: {
        int notches = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
        if (notches != 0)
            events.push_back({.kind = EventKind::mouse_wheel, .wheel = notches});
        break;
    }
    case SDL_WINDOWEVENT: add_window_event(sdl.window, events); break;
    case SDL_QUIT: events.push_back({.kind = EventKind::quit}); break;
    default: break;
    }
}

Sdl2Input::Sdl2Input()
    : m_started(sdl2_start(SDL_INIT_EVENTS))
{
}

Sdl2Input::~Sdl2Input()
{
    if (m_started)
        sdl2_stop(SDL_INIT_EVENTS);
}

void Sdl2Input::poll(std::vector<Event>& events)
{
    SDL_Event sdl;
    while (m_started && SDL_PollEvent(&sdl)) {
        // The debug window's events went to it as they arrived; they are not the game's.
        if (!belongs_to_tool_window(sdl) && !m_joysticks.handle(sdl, events))
            append_sdl2_event(sdl, events);
    }
    events.insert(events.end(), m_synthesized.begin(), m_synthesized.end());
    m_synthesized.clear();
}

// SDL keeps the lock state that its key events report; a num-lock press the game typed changes it there.
void Sdl2Input::synthesize(Event event)
{
    if (event.kind == EventKind::key_down && event.virtual_key == VIRTUAL_KEY_NUM_LOCK)
        SDL_SetModState(static_cast<SDL_Keymod>(SDL_GetModState() ^ KMOD_NUM));
    m_synthesized.push_back(std::move(event));
}

bool Sdl2Input::num_lock() const
{
    return (SDL_GetModState() & KMOD_NUM) != 0;
}

}  // namespace quillon::platform
