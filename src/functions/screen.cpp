// The screen functions of the graphics family that work on the screen buffer itself.
#include "functions/screen.h"

#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/screen.h"
#include "support/game_path.h"

namespace quillon {

namespace {

// Saves a rectangle of the screen buffer (right and bottom are edges, not a size) as a bitmap file.
void save_screen(FunctionCall& call, const SurfaceRect* part)
{
    Screen* screen = play_services().screen;
    if (!screen) {
        report_not_available(call);
        return;
    }
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
    {"screen_save", 1, screen_save},
    {"screen_save_part", 5, screen_save_part},
};

}  // namespace

std::span<const FunctionEntry> screen_functions() { return SCREEN_FUNCTIONS; }

}  // namespace quillon
