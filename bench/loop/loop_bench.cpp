// Game loop speed: N bouncing instances of two objects with a collision event between them, stepped headless
// without drawing, at N = 1,000, 5,000 and 20,000; steps per second of processor time, how the cost per step
// grows, and the resident memory of the process with the room running. Each size runs in a child process of
// its own, so that memory freed by one size does not hide what the next one takes. Then the same game of
// 1,000 instances with the debug window's model refreshed after every step, ten watches kept.
#include "dialogs/debugger.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/virtual_clock.h"
#include "code/executer.h"
#include "world/game_loop.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;

namespace {

constexpr int SIZES[] = {1000, 5000, 20000};
constexpr double AREA_PER_INSTANCE = 40 * 40;  // the room grows with N, so that crowding stays the same
constexpr double MIN_SECONDS = 1.5;            // each size is timed for at least this long

// Each instance moves itself and turns back at the room's edges.
constexpr const char* STEP_CODE =
    "x += hspeed; y += vspeed;"
    "if (x < 0 || x > room_width - 8) hspeed = -hspeed;"
    "if (y < 0 || y > room_height - 8) vspeed = -vspeed;";

CAction code_action(const char* text)
{
    CAction action;
    action.kind = ACTION_CODE;
    action.execution_type = EXECUTE_CODE;
    action.argument_count = 1;
    action.argument_kinds = {1};
    action.arguments = {text};
    return action;
}

// The resources of one game, kept alive while its world runs.
struct BenchGame {
    ResourceList<CObject> objects;
    ResourceList<CTimeLine> time_lines;
    ResourceList<CRoom> rooms;
    ResourceList<CPath> paths;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    ResourceList<CSound> sounds;
    ResourceList<CDataFile> data_files;
    std::vector<std::string> library_code;
    std::vector<std::int32_t> room_order {0};
    GameSettings settings;
    CollisionMasks masks;
    platform::VirtualClock clock;
    platform::HeadlessInput input;
};

struct Timing {
    double steps_per_second;    // measured
    double hits_per_step;       // collision events performed per step
    double refresh_ms = 0;      // with the debugger: one refresh alone
    double resident_bytes = 0;  // the process's resident memory with the room running
};

// The process's own processor time: the machine may be shared, and time spent waiting for a turn on the
// processor says nothing about the loop.
double cpu_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The process's resident memory now, from the kernel's account of it.
double resident_bytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) * 1024.0;
    return 0;
}

// Runs the measurement in a child process and brings its figures back through a pipe.
template<typename Measure>
Timing in_child(Measure measure)
{
    int ends[2];
    if (pipe(ends) != 0)
        return measure();
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        Timing timing = measure();
        bool written = write(ends[1], &timing, sizeof timing) == sizeof timing;
        _exit(written ? 0 : 1);
    }
    close(ends[1]);
    Timing timing {};
    bool read_back = child > 0 && read(ends[0], &timing, sizeof timing) == sizeof timing;
    close(ends[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    if (!read_back) {
        std::fprintf(stderr, "a measurement's child process failed\n");
        std::exit(1);
    }
    return timing;
}

// Ten watches of the kinds a developer keeps: globals, instances' variables, built-in variables, arithmetic.
constexpr const char* WATCHES[] = {"global.hits", "(100001).x", "(100002).y", "(100003).hspeed",
    "(100004).vspeed", "room_speed", "1/3", "global.hits * 2 + 1", "mouse_x", "score"};

// Builds a room of n instances at pseudo-random places with pseudo-random speeds, and steps it.
Timing measure(int n, bool with_debugger = false)
{
    BenchGame game;
    auto sprite = std::make_unique<CSprite>();
    sprite->width = sprite->height = 8;
    sprite->bounding_box = {0, 0, 7, 7};
    sprite->precise = false;
    sprite->frames.resize(1);
    game.sprites.add("dot", std::move(sprite));
    for (const char* name : {"red", "blue"}) {
        auto object = std::make_unique<CObject>();
        object->sprite = 0;
        object->event(EVENT_STEP, 0).actions = {code_action(STEP_CODE)};
        game.objects.add(name, std::move(object));
    }
    game.objects.get(0)->event(EVENT_COLLISION, 1).actions = {code_action("global.hits += 1")};
    auto room = std::make_unique<CRoom>();
    int side = static_cast<int>(std::sqrt(n * AREA_PER_INSTANCE));
    room->width = room->height = side;
    room->speed = 60;
    room->creation_code = "global.hits = 0";
    std::uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < n; ++i)
        room->instances.push_back({next(side - 8), next(side - 8), i % 2, 100001 + i, {}, false});
    game.rooms.add("arena", std::move(room));

    World world({game.objects, game.time_lines, game.rooms, game.paths, game.sprites, game.backgrounds,
                 game.sounds, game.data_files, game.library_code, game.room_order, 100000 + n});
    world.install();
    if (!world.compile_time_lines() || !world.compile_objects()) {
        std::fprintf(stderr, "the benchmark's code does not compile\n");
        std::exit(1);
    }
    // The debugger, when asked for, refreshes after every step as it does while its window is shown.
    std::unique_ptr<Debugger> debugger;
    LoopHooks hooks;
    if (with_debugger)
        hooks.update_debug_window = [&debugger] { debugger->refresh(); };
    GameLoop loop(world, game.settings, game.masks, game.clock, game.input, hooks);
    if (with_debugger) {
        debugger = std::make_unique<Debugger>(loop, world, [](std::string_view) {});
        debugger->set_shown(true);
    }
    loop.start_game();
    for (const char* watch : WATCHES) {
        if (debugger)
            debugger->perform({platform::DebugAction::watch_add, -1, watch});
    }
    LiveRoom& live = *world.current_room();
    for (int i = 0; i < live.instance_count(); ++i) {
        live.instance(i)->set_hspeed(next(5) - 2);
        live.instance(i)->set_vspeed(next(5) - 2);
    }
    for (int i = 0; i < 10; ++i)
        loop.step();
    double resident = resident_bytes();
    // Timed steps.
    std::int64_t steps = 0;
    double start = cpu_seconds();
    double elapsed = 0;
    while (elapsed < MIN_SECONDS) {
        loop.step();
        ++steps;
        elapsed = cpu_seconds() - start;
    }
    double refresh_ms = 0;
    if (debugger) {
        constexpr int REFRESHES = 2000;
        double refresh_start = cpu_seconds();
        for (int i = 0; i < REFRESHES; ++i)
            debugger->refresh();
        refresh_ms = (cpu_seconds() - refresh_start) * 1000.0 / REFRESHES;
    }
    Value hits;
    CInstance probe(&game.sprites);
    CCode read("return global.hits", false);
    read.compile();
    execute(&probe, &probe, read, hits);
    loop.end_game();
    return {steps / elapsed, hits.real / double(steps + 10), refresh_ms, resident};
}

}  // namespace

int main()
{
    std::printf("Steps per second of processor time\n");
    std::printf("%8s %14s %14s %16s %14s\n", "N", "steps/s", "ms/step", "collisions/step", "resident MB");
    double per_step[std::size(SIZES)];
    double resident[std::size(SIZES)];
    for (std::size_t i = 0; i < std::size(SIZES); ++i) {
        Timing timing = in_child([i] { return measure(SIZES[i]); });
        per_step[i] = 1000.0 / timing.steps_per_second;
        resident[i] = timing.resident_bytes;
        std::printf("%8d %14.1f %14.3f %16.1f %14.1f\n", SIZES[i], timing.steps_per_second, per_step[i],
                    timing.hits_per_step, resident[i] / 1e6);
    }
    std::printf("resident memory per instance from N = 5000 to 20000: %.0f bytes\n",
                (resident[2] - resident[1]) / (SIZES[2] - SIZES[1]));
    // From 5,000 to 20,000 is four times the instances: linear cost grows 4x, N log N about 4.65x.
    double growth = per_step[2] / per_step[1];
    double n_log_n = 4.0 * std::log(20000.0) / std::log(5000.0);
    std::printf("cost per step from N = 5000 to 4N = 20000: x%.2f (N log N: x%.2f, linear: x4.00): %s\n", growth,
                n_log_n, growth <= n_log_n ? "within N log N" : "FASTER THAN N log N");
    std::printf("cost per step from N = 1000 to 5N = 5000: x%.2f\n", per_step[1] / per_step[0]);
    // The debug window shown: a refresh after every step, with ten watches.
    Timing debugged = in_child([] { return measure(SIZES[0], true); });
    std::printf("N = %d with the debugger refreshing, 10 watches: %.1f steps/s (%.3f ms/step, without: %.3f);"
                " one refresh %.4f ms\n",
        SIZES[0], debugged.steps_per_second, 1000.0 / debugged.steps_per_second, per_step[0], debugged.refresh_ms);
    return 0;
}
