// Drawing speed: N colour-keyed 32x32 sprites moving and bouncing in an 800x600 room, drawn and presented
// every step over the headless display, against the same scene in pygame (Debian's python3-pygame) over SDL's
// dummy video driver. Neither side keeps copies of the presented frames.
//
// Two scenes. "built-in": the sprites are moved and bounced by C++ and drawn straight onto the screen. "game":
// a room of N instances steps through the game loop, each instance bouncing in a two-line Step event of game
// code, moved by its speeds, and the room is drawn as a game draws it; pygame bounces in Python the same way.
#include "game_builder.h"
#include "graphics/graphics.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/virtual_clock.h"
#include "runner/language_setup.h"
#include "world/game_loop.h"
#include "world/room_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

using namespace quillon;

namespace {

constexpr int ROOM_WIDTH = 800;
constexpr int ROOM_HEIGHT = 600;
constexpr int SIZE = 32;
constexpr double SECONDS = 1.0;   // one trial
constexpr int TRIALS = 3;         // the best trial of each side counts; they alternate, so load hits both
constexpr int COUNTS[] = {1000, 5000, 20000};

// The process's own processor time: the machine may be shared, and time spent waiting for a turn on the
// processor says nothing about either side.
double cpu_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

struct Thing {
    double x;        // room position
    double y;
    double hspeed;   // pixels per step
    double vspeed;
};

// A yellow disc on a magenta see-through background.
Bitmap24 disc_bitmap()
{
    Bitmap24 frame(SIZE, SIZE, make_color(255, 0, 255));
    for (int y = 0; y < SIZE; ++y) {
        for (int x = 0; x < SIZE; ++x) {
            double dx = x - SIZE / 2 + 0.5;
            double dy = y - SIZE / 2 + 0.5;
            if (dx * dx + dy * dy < (SIZE / 2 - 1) * (SIZE / 2 - 1))
                frame.set_pixel(x, y, make_color(240, 200, 40));
        }
    }
    return frame;
}

std::unique_ptr<CSprite> disc_sprite()
{
    Bitmap24 frame = disc_bitmap();
    auto sprite = std::make_unique<CSprite>();
    sprite->width = SIZE;
    sprite->height = SIZE;
    sprite->frames.push_back(StoredImage::from_bitmap(frame));
    return sprite;
}

// The Step event of the game scene: turn back before the next move would leave the room.
constexpr const char* BOUNCE_CODE =
    "if (x + hspeed < 0 || x + hspeed > 768) hspeed = -hspeed\n"
    "if (y + vspeed < 0 || y + vspeed > 568) vspeed = -vspeed";

double game_steps_per_second(int count)
{
    GameBuilder builder;
    builder.sprite("disc", {disc_bitmap()}, {{"transparent", true}, {"precise", false}});
    builder.object("ball").set("sprite", "disc").on("step", BOUNCE_CODE);
    RoomBuilder room = builder.room("room");
    room.set("width", ROOM_WIDTH).set("height", ROOM_HEIGHT).set("speed", 60).set("background_color", "#283c5a");
    for (int i = 0; i < count; ++i)
        room.instance("ball", 0, 0);
    GameFile game = builder.build();

    platform::HeadlessDisplay display;
    display.keep_frames(false);
    Graphics graphics(display, game.settings, game.sprites, game.backgrounds, nullptr);
    if (!graphics.prepare())
        return 0;
    WorldHooks world_hooks;
    world_hooks.size_display = [&graphics](int width, int height) { graphics.screen().set_size(width, height); };
    World world({game.objects, game.time_lines, game.rooms, game.paths, game.sprites, game.backgrounds, game.sounds,
                    game.data_files, game.action_library_code, game.room_order, game.last_instance_id,
                    game.last_tile_id, game.game_id},
        std::move(world_hooks));
    world.install();
    if (!world.compile_time_lines() || !world.compile_objects())
        return 0;
    RoomDrawer drawer(world, graphics);
    LoopHooks hooks;
    hooks.draw_room = [&drawer] { drawer.draw(); };
    CollisionMasks masks;
    platform::VirtualClock clock;
    platform::HeadlessInput input;
    GameLoop loop(world, game.settings, masks, clock, input, hooks);
    loop.start_game();
    // The same places and speeds as the other scenes.
    std::mt19937 random(1);
    std::uniform_real_distribution<double> across(0, ROOM_WIDTH - SIZE);
    std::uniform_real_distribution<double> down(0, ROOM_HEIGHT - SIZE);
    std::uniform_real_distribution<double> speed(-3, 3);
    LiveRoom& live = *world.current_room();
    for (int i = 0; i < live.instance_count(); ++i) {
        CInstance& instance = *live.instance(i);
        double x = across(random);
        double y = down(random);
        instance.set_position(x, y);
        instance.set_hspeed(speed(random));
        instance.set_vspeed(speed(random));
    }

    double start = cpu_seconds();
    long steps = 0;
    double elapsed = 0;
    while (elapsed < SECONDS) {
        loop.step();
        graphics.present();
        ++steps;
        elapsed = cpu_seconds() - start;
    }
    loop.end_game();
    graphics.shut_down();
    return steps / elapsed;
}

double quillon_steps_per_second(int count)
{
    platform::HeadlessDisplay display;
    display.keep_frames(false);  // like pygame's dummy video driver, which drops what it is given
    GameSettings settings;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    sprites.add("disc", disc_sprite());
    Graphics graphics(display, settings, sprites, backgrounds, nullptr);
    if (!graphics.prepare())
        return 0;
    graphics.release_images();
    graphics.screen().set_size(ROOM_WIDTH, ROOM_HEIGHT);

    std::mt19937 random(1);
    std::uniform_real_distribution<double> across(0, ROOM_WIDTH - SIZE);
    std::uniform_real_distribution<double> down(0, ROOM_HEIGHT - SIZE);
    std::uniform_real_distribution<double> speed(-3, 3);
    std::vector<Thing> things(count);
    for (Thing& thing : things)
        thing = {across(random), down(random), speed(random), speed(random)};

    double start = cpu_seconds();
    long steps = 0;
    double elapsed = 0;
    while (elapsed < SECONDS) {
        graphics.screen().clear(true, make_color(40, 60, 90));
        for (Thing& thing : things) {
            thing.x += thing.hspeed;
            thing.y += thing.vspeed;
            if (thing.x < 0 || thing.x > ROOM_WIDTH - SIZE)
                thing.hspeed = -thing.hspeed;
            if (thing.y < 0 || thing.y > ROOM_HEIGHT - SIZE)
                thing.vspeed = -thing.vspeed;
            graphics.sheets().draw_sprite(0, 0, static_cast<int>(std::nearbyint(thing.x)),
                static_cast<int>(std::nearbyint(thing.y)));
        }
        graphics.present();
        ++steps;
        elapsed = cpu_seconds() - start;
    }
    return steps / elapsed;
}

// The pygame scene's frames per second, or a negative number when pygame cannot run. The game scene's
// bounce looks ahead before the move, as the Step event does.
double pygame_frames_per_second(int count, bool game)
{
    std::string command = "SDL_VIDEODRIVER=dummy /usr/bin/python3 " + std::string(QUILLON_PYGAME_SCENE) + " "
        + std::to_string(count) + " " + std::to_string(SECONDS) + (game ? " ahead" : "") + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    double fps = -1;
    if (std::fscanf(pipe, "%lf", &fps) != 1)
        fps = -1;
    pclose(pipe);
    return fps;
}

}  // namespace

int main()
{
    register_builtins_once();
    std::printf("Frames per second of processor time, best of %d trials of %.0f s each\n", TRIALS, SECONDS);
    std::printf("%-10s %-8s %18s %14s %8s\n", "scene", "sprites", "quillon steps/s", "pygame fps", "ratio");
    for (bool game : {false, true}) {
        for (int count : COUNTS) {
            double ours = 0;
            double theirs = -1;
            for (int trial = 0; trial < TRIALS; ++trial) {
                ours = std::max(ours, game ? game_steps_per_second(count) : quillon_steps_per_second(count));
                theirs = std::max(theirs, pygame_frames_per_second(count, game));
            }
            const char* scene = game ? "game" : "built-in";
            if (theirs > 0)
                std::printf("%-10s %-8d %18.1f %14.1f %7.2fx\n", scene, count, ours, theirs, ours / theirs);
            else
                std::printf("%-10s %-8d %18.1f %14s %8s\n", scene, count, ours, "(no pygame)", "-");
            std::fflush(stdout);
        }
    }
    return 0;
}
