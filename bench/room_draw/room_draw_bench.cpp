// Room drawing speed: N instances of see-through sprites at mixed depths with tiles and a tiled background,
// drawn headless whole and through two views, at N = 1,000, 5,000 and 20,000; frames per second and the heap
// allocations a frame makes once the buffers have grown.
#include "game_builder.h"
#include "code/errors.h"
#include "code/script.h"
#include "graphics/graphics.h"
#include "platform/headless/headless_display.h"
#include "runner/language_setup.h"
#include "world/room_draw.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::size_t s_allocations = 0;  // operator new calls since the program started

}  // namespace

void* operator new(std::size_t size)
{
    ++s_allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

using namespace quillon;

namespace {

constexpr int SIZES[] = {1000, 5000, 20000};
constexpr double MIN_SECONDS = 1.5;  // each case is timed for at least this long

Bitmap24 ring(int size, Color color)
{
    Bitmap24 bitmap(size, size, make_color(255, 0, 255));
    for (int i = 0; i < size; ++i) {
        bitmap.set_pixel(i, 0, color);
        bitmap.set_pixel(0, i, color);
        bitmap.set_pixel(i, size - 2, color);
        bitmap.set_pixel(size - 1, i, color);
    }
    return bitmap;
}

GameBuilder scene(int n, bool views)
{
    GameBuilder builder;
    builder.sprite("ring", {ring(16, make_color(40, 200, 60))}, {{"transparent", true}});
    builder.background("floor", Bitmap24(32, 32, make_color(90, 90, 120)), {{"transparent", false}});
    builder.object("thing").set("sprite", "ring");
    RoomBuilder room = builder.room("room");
    room.set("width", 640).set("height", 480)
        .set("backgrounds", Json::array({Json {{"background", "floor"}}}));
    if (views)
        room.set("views_enabled", true).set("views", Json::array({
            Json {{"width", 320}, {"height", 480}},
            Json {{"x", 320}, {"width", 320}, {"height", 480}, {"port_x", 320}},
        }));
    std::uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    Json tiles = Json::array();
    for (int i = 0; i < 200; ++i)
        tiles.push_back(Json {{"background", "floor"}, {"x", next(624)}, {"y", next(464)}, {"width", 16},
            {"height", 16}, {"depth", next(200) - 100}});
    room.set("tiles", tiles);
    for (int i = 0; i < n; ++i)
        room.instance("thing", next(624), next(464), "depth = " + std::to_string(next(200) - 100));
    return builder;
}

struct Timing {
    double frames_per_second;     // measured
    double allocations_per_frame; // heap allocations while drawing, after the first frames
};

Timing measure(int n, bool views)
{
    GameFile game = scene(n, views).build();
    platform::HeadlessDisplay display;
    display.keep_frames(false);
    Graphics graphics(display, game.settings, game.sprites, game.backgrounds, nullptr);
    if (!graphics.prepare()) {
        std::fprintf(stderr, "the headless screen does not start\n");
        std::exit(1);
    }
    WorldHooks hooks;
    hooks.size_display = [&graphics](int width, int height) { graphics.screen().set_size(width, height); };
    World world({game.objects, game.time_lines, game.rooms, game.paths, game.sprites, game.backgrounds, game.sounds,
                    game.data_files, game.action_library_code, game.room_order, game.last_instance_id,
                    game.last_tile_id, game.game_id},
        std::move(hooks));
    world.install();
    if (!world.compile_time_lines() || !world.compile_objects()) {
        std::fprintf(stderr, "the benchmark's game does not compile\n");
        std::exit(1);
    }
    world.start_game();
    RoomDrawer drawer(world, graphics);
    for (int i = 0; i < 5; ++i)
        drawer.draw();
    std::size_t allocations = s_allocations;
    std::int64_t frames = 0;
    auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < MIN_SECONDS) {
        drawer.draw();
        ++frames;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    double allocated = double(s_allocations - allocations) / double(frames);
    world.end_game_world();
    graphics.shut_down();
    return {frames / elapsed, allocated};
}

}  // namespace

int main()
{
    register_builtins_once();
    std::printf("%8s %8s %12s %12s %18s\n", "N", "views", "frames/s", "ms/frame", "allocations/frame");
    for (int n : SIZES) {
        for (bool views : {false, true}) {
            Timing timing = measure(n, views);
            std::printf("%8d %8s %12.1f %12.3f %18.2f\n", n, views ? "two" : "off", timing.frames_per_second,
                1000.0 / timing.frames_per_second, timing.allocations_per_frame);
        }
    }
    return 0;
}
