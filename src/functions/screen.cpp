// The screen functions of the graphics family: the cursor, redrawing and presenting, the gamma ramp, and saving
// the screen buffer.
#include "functions/screen.h"

#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/screen.h"
#include "world/game_loop.h"
#include "support/game_path.h"

namespace quillon {

namespace {

// The screen of the game being played; without one the call reports itself as not available.
Screen* screen_for(const FunctionCall& call)
{
    Screen* screen = play_services().screen;
    if (!screen)
        report_not_available(call);
    return screen;
}

// The window's cursor by its platform number; the cursor counts as shown unless the number is -1 (none).
void set_cursor(FunctionCall& call)
{
    Screen* screen = screen_for(call);
    if (!screen)
        return;
    std::int32_t cursor = integer_argument(call, 0);
    if (GameLoop* loop = play_services().loop)
        loop->set_show_cursor(cursor != -1);
    screen->set_cursor(cursor);
}

// The room drawn and shown at once, through the current transition; the kind stays set for the next frame.
void screen_redraw(FunctionCall& call)
{
    if (!play_services().redraw) {
        report_not_available(call);
        return;
    }
    World* world = World::installed();
    if (world && play_services().screen) {
        const World::Transition transition = world->transition();
        play_services().screen->request_transition({transition.kind, transition.time, transition.steps});
    }
    play_services().redraw();
}

// The screen buffer shown as it is.
void screen_refresh(FunctionCall& call)
{
    if (Screen* screen = screen_for(call))
        screen->present();
}

void screen_gamma(FunctionCall& call)
{
    if (Screen* screen = screen_for(call))
        screen->set_gamma(real_argument(call, 0), real_argument(call, 1), real_argument(call, 2));
}

// Saves a rectangle of the screen buffer (right and bottom are edges, not a size) as a bitmap file.
void save_screen(FunctionCall& call, const SurfaceRect* part)
{
    Screen* screen = screen_for(call);
    if (!screen)
        return;
    std::string_view name = string_argument(call, 0).view();
    if (name.empty()) {
        report_function_error("Trying to save screen to empty image file name.");
        return;
    }
    if (part)
        screen->save(game_path(name), *part);
    else
        screen->save(game_path(name));
}

void screen_save(FunctionCall& call) { save_screen(call, nullptr); }

void screen_save_part(FunctionCall& call)
{
    SurfaceRect part {integer_argument(call, 1), integer_argument(call, 2), integer_argument(call, 3),
        integer_argument(call, 4)};
    save_screen(call, &part);
}

constexpr FunctionEntry SCREEN_FUNCTIONS[] = {
    {"set_cursor", 1, set_cursor},
    {"screen_redraw", 0, screen_redraw},
    {"screen_refresh", 0, screen_refresh},
    {"screen_gamma", 3, screen_gamma},
    {"screen_save", 1, screen_save},
    {"screen_save_part", 5, screen_save_part},
};

}  // namespace

std::span<const FunctionEntry> screen_functions() { return SCREEN_FUNCTIONS; }

}  // namespace quillon
