// Executer speed against Lua 5.4: the same workloads in both languages, run in one invocation. The game-shaped
// workloads run in a world of 10,000 instances; a large string repetition is measured against memcpy.
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "code/script.h"
#include "code/variable_names.h"
#include "functions/table.h"
#include "world/world.h"

#include <lua.hpp>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace quillon;

namespace {

// The world a workload runs in: none, or a room of 10,000 instances of one object.
enum class Scene { none, balls, walkers };

struct Workload {
    const char* name;          // what it measures
    const char* script_name;   // a script the program calls, or null
    const char* script;        // that script's code
    const char* program;       // the program, returning its result
    const char* lua;           // the same in Lua, returning its result
    Scene scene = Scene::none; // the world the program runs in
    const char* lua_setup = nullptr;  // Lua run untimed before the timed chunk, making the same world
};

constexpr int INSTANCES = 10000;
constexpr int STEPS = 100;

// Each instance's start: position, speeds (balls) or own variables (walkers), the same in both languages.
constexpr const char* LUA_BALLS =
    "objs = {} for i = 0, 9999 do objs[i + 1] = {x = (i * 37) % 800, y = (i * 53) % 600, hspeed = i % 5 - 2,"
    " vspeed = i % 7 - 3} end";
constexpr const char* LUA_WALKERS =
    "objs = {} for i = 0, 9999 do objs[i + 1] = {px = (i * 37) % 800, py = (i * 53) % 600, vx = i % 5 - 2,"
    " vy = i % 7 - 3} end";
// The walkers' Step event, run for every instance once per step.
constexpr const char* WALKER_STEP =
    "px += vx; py += vy; if (px < 0 || px > 800) vx = -vx; if (py < 0 || py > 600) vy = -vy;";

// Loops are written the same way in both languages, so that both do the same operations.
const Workload WORKLOADS[] = {
    {"fib(27) through a script", "fib",
     "if (argument0 < 2) return argument0; return fib(argument0 - 1) + fib(argument0 - 2)", "return fib(27)",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end return fib(27)"},
    {"10,000,000 arithmetic steps", nullptr, nullptr,
     "var i, s; s = 0; i = 0; while (i < 10000000) { s += i * 0.5 - (i mod 3); i += 1 } return s",
     "local s = 0 local i = 0 while i < 10000000 do s = s + i * 0.5 - (i % 3) i = i + 1 end return s"},
    {"200,000 string appends", nullptr, nullptr,
     "var s; s = ''; repeat (200000) s += 'ab'; return string_length(s)",
     "local s = '' for _ = 1, 200000 do s = s .. 'ab' end return #s"},
    // A one-dimensional array holds 32000 elements, so the million elements are 32 rows of 31250.
    {"1,000,000 array writes and reads", nullptr, nullptr,
     "var a, r, c, s; r = 0; while (r < 32) { c = 0; while (c < 31250) { a[r, c] = c; c += 1 } r += 1 }"
     " s = 0; r = 0; while (r < 32) { c = 0; while (c < 31250) { s += a[r, c]; c += 1 } r += 1 } return s",
     "local a = {} local r = 0 while r < 32 do local c = 0 while c < 31250 do a[r * 31250 + c] = c c = c + 1 end"
     " r = r + 1 end local s = 0 r = 0 while r < 32 do local c = 0 while c < 31250 do s = s + a[r * 31250 + c]"
     " c = c + 1 end r = r + 1 end return s"},
    {"1000 x 1000 array filled and summed", nullptr, nullptr,
     "var a, i, j, s; for (i = 0; i < 1000; i += 1) for (j = 0; j < 1000; j += 1) a[i, j] = i + j;"
     " s = 0; for (i = 0; i < 1000; i += 1) for (j = 0; j < 1000; j += 1) s += a[i, j]; return s",
     "local a = {} local i = 0 while i < 1000 do local row = {} a[i] = row local j = 0"
     " while j < 1000 do row[j] = i + j j = j + 1 end i = i + 1 end"
     " local s = 0 i = 0 while i < 1000 do local j = 0 while j < 1000 do s = s + a[i][j] j = j + 1 end i = i + 1 end"
     " return s"},
    {"1,000,000 calls with 3 arguments", "add3", "return argument0 + argument1 * argument2",
     "var i, s; s = 0; i = 0; while (i < 1000000) { s += add3(i, 2, 3); i += 1 } return s",
     "local function add3(a, b, c) return a + b * c end"
     " local s = 0 local i = 0 while i < 1000000 do s = s + add3(i, 2, 3) i = i + 1 end return s"},
    // The game-shaped workloads.
    {"for loop of 10,000,000 into a global", nullptr, nullptr,
     "var i; global.total = 0; for (i = 0; i < 10000000; i += 1) global.total += i; return global.total",
     "total = 0 local i = 0 while i < 10000000 do total = total + i i = i + 1 end return total"},
    // An own variable of the instance, as game code keeps its grids.
    {"1,000,000 2-d writes+reads, div/mod", nullptr, nullptr,
     "var k, s; for (k = 0; k < 1000000; k += 1) grid[k div 1000, k mod 1000] = k;"
     " s = 0; for (k = 0; k < 1000000; k += 1) s += grid[k div 1000, k mod 1000]; return s",
     "local grid = {} local k = 0 while k < 1000000 do grid[k // 1000 * 1000 + k % 1000] = k k = k + 1 end"
     " local s = 0 k = 0 while k < 1000000 do s = s + grid[k // 1000 * 1000 + k % 1000] k = k + 1 end return s"},
    {"with 10,000 balls, 100 times", nullptr, nullptr,
     "var t; repeat (100) with (ball) { x += hspeed; y += vspeed; if (x < 0 || x > 800) hspeed = -hspeed;"
     " if (y < 0 || y > 600) vspeed = -vspeed; } t = 0; with (ball) t += x + y; return t",
     "local objs = objs for _ = 1, 100 do for i = 1, #objs do local o = objs[i] o.x = o.x + o.hspeed"
     " o.y = o.y + o.vspeed if o.x < 0 or o.x > 800 then o.hspeed = -o.hspeed end"
     " if o.y < 0 or o.y > 600 then o.vspeed = -o.vspeed end end end"
     " local t = 0 for i = 1, #objs do t = t + objs[i].x + objs[i].y end return t",
     Scene::balls, LUA_BALLS},
    {"own variables in Step, 10,000 x 100", nullptr, nullptr, "var t; t = 0; with (walker) t += px + py; return t",
     "local objs = objs local function step(self) self.px = self.px + self.vx self.py = self.py + self.vy"
     " if self.px < 0 or self.px > 800 then self.vx = -self.vx end"
     " if self.py < 0 or self.py > 600 then self.vy = -self.vy end end"
     " for _ = 1, 100 do for i = 1, #objs do step(objs[i]) end end"
     " local t = 0 for i = 1, #objs do t = t + objs[i].px + objs[i].py end return t",
     Scene::walkers, LUA_WALKERS},
    {"200,000 strings built and compared", nullptr, nullptr,
     "var i, s, n; n = 0; for (i = 0; i < 200000; i += 1) { s = 'item' + string(i mod 1000);"
     " if (s == 'item500') n += 1; if (s < 'item5') n += 2; } return n",
     "local n = 0 local i = 0 while i < 200000 do local s = 'item' .. tostring(i % 1000)"
     " if s == 'item500' then n = n + 1 end if s < 'item5' then n = n + 2 end i = i + 1 end return n"},
};

// A string repeated to 40 MB, against a memory-speed reference: one allocation filled by doubling copies.
constexpr std::size_t REPEATED_BYTES = 40000000;
constexpr const char* REPEAT_PROGRAM = "var s; s = 20000000 * 'ab'; return string_length(s)";

constexpr int RUNS = 3;

// Processor time of this thread, so that other work on the machine does not count.
double cpu_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The resources of the game a scene plays, kept alive while its world runs.
struct SceneGame {
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
    std::unique_ptr<World> world;
};

// A room of 10,000 instances of `ball` (8 by 8 pixels, moving) or `walker` (own variables, a Step event), set up
// as the Lua side sets up its tables. The walkers' event is compiled later, with the timed work.
void make_scene(SceneGame& game, Scene scene)
{
    auto sprite = std::make_unique<CSprite>();
    sprite->width = sprite->height = 8;
    sprite->bounding_box = {0, 0, 7, 7};
    sprite->frames.resize(1);
    game.sprites.add("dot", std::move(sprite));
    auto object = std::make_unique<CObject>();
    object->sprite = 0;
    if (scene == Scene::walkers)
        object->event(EVENT_STEP, 0).actions = {CAction::code_action(WALKER_STEP)};
    game.objects.add(scene == Scene::balls ? "ball" : "walker", std::move(object));
    auto room = std::make_unique<CRoom>();
    room->width = 800;
    room->height = 600;
    for (int i = 0; i < INSTANCES; ++i)
        room->instances.push_back({(i * 37) % 800, (i * 53) % 600, 0, FIRST_INSTANCE_ID + 1 + i, {}, false});
    game.rooms.add("field", std::move(room));
    game.world = std::make_unique<World>(WorldResources {game.objects, game.time_lines, game.rooms, game.paths,
        game.sprites, game.backgrounds, game.sounds, game.data_files, game.library_code, game.room_order,
        FIRST_INSTANCE_ID + INSTANCES});
    game.world->install();
    game.world->start_game();
    LiveRoom& live = *game.world->current_room();
    std::int32_t names[] = {variable_names().find_or_add("px"), variable_names().find_or_add("py"),
                            variable_names().find_or_add("vx"), variable_names().find_or_add("vy")};
    for (int i = 0; i < live.instance_count(); ++i) {
        CInstance& instance = *live.instance(i);
        if (scene == Scene::balls) {
            instance.set_hspeed(i % 5 - 2);
            instance.set_vspeed(i % 7 - 3);
        } else {
            double values[] = {double((i * 37) % 800), double((i * 53) % 600), double(i % 5 - 2), double(i % 7 - 3)};
            for (int v = 0; v < 4; ++v)
                instance.m_variables.set(names[v], 0, values[v]);
        }
    }
}

// Compiling counts on both sides, as Lua's time includes loading the chunk; so does compiling the walkers' event.
double run_quillon(const Workload& workload, ScriptInstance& plain_self, std::string& answer)
{
    SceneGame game;
    if (workload.scene != Scene::none)
        make_scene(game, workload.scene);
    CInstance scene_self;
    ScriptInstance& self = workload.scene == Scene::none ? plain_self : scene_self;
    plain_self.m_variables.clear();
    double start = cpu_seconds();
    scripts().clear();
    if (workload.script_name) {
        scripts().add(workload.script_name, workload.script);
        scripts().compile_all();
    }
    if (workload.scene == Scene::walkers) {
        game.world->compile_objects();
        for (int step = 0; step < STEPS; ++step)
            game.world->perform_event_for_all(EVENT_STEP, 0);
    }
    CCode code(workload.program, false);
    if (!code.compile()) {
        answer = "compile error: " + errors().code_error_text();
        return 0;
    }
    Value result;
    bool ran = execute(&self, &self, code, result);
    double elapsed = cpu_seconds() - start;
    answer = !ran ? "error: " + errors().code_error_text() : result.is_string() ? result.string.str()
                                                                                : std::to_string(result.real);
    if (game.world)
        game.world->end_game_world();
    return elapsed;
}

double run_lua(const Workload& workload, std::string& answer)
{
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    if (workload.lua_setup)
        luaL_dostring(state, workload.lua_setup);
    double start = cpu_seconds();
    int status = luaL_dostring(state, workload.lua);
    double elapsed = cpu_seconds() - start;
    answer = status != LUA_OK ? std::string("error: ") + lua_tostring(state, -1) : std::to_string(lua_tonumber(state, -1));
    lua_close(state);
    return elapsed;
}

// The reference: the same bytes made in one allocation by doubling copies, as fast as memory allows.
double run_memory_reference(std::string& answer)
{
    double start = cpu_seconds();
    auto* bytes = static_cast<char*>(std::malloc(REPEATED_BYTES));
    std::memcpy(bytes, "ab", 2);
    for (std::size_t done = 2; done < REPEATED_BYTES;) {
        std::size_t part = std::min(done, REPEATED_BYTES - done);
        std::memcpy(bytes + done, bytes, part);
        done += part;
    }
    answer = std::to_string(double(bytes[REPEATED_BYTES - 1] == 'b' ? REPEATED_BYTES : 0));
    std::free(bytes);
    return cpu_seconds() - start;
}

}  // namespace

// An optional argument runs only the workloads whose name contains it.
int main(int argc, char** argv)
{
    register_builtin_functions(function_registry());
    ScriptInstance self;
    double log_sum = 0;
    int count = 0;
    std::printf("%-38s %12s %12s %8s\n", "workload (processor seconds)", "quillon", "lua", "ratio");
    for (const Workload& workload : WORKLOADS) {
        if (argc > 1 && std::string(workload.name).find(argv[1]) == std::string::npos)
            continue;
        std::string quillon_answer;
        std::string lua_answer;
        // The best of a few runs, since other work on the machine only ever adds time.
        double quillon = 1e9;
        double lua = 1e9;
        for (int run = 0; run < RUNS; ++run) {
            quillon = std::min(quillon, run_quillon(workload, self, quillon_answer));
            lua = std::min(lua, run_lua(workload, lua_answer));
        }
        double ratio = quillon / lua;
        log_sum += std::log(ratio);
        ++count;
        std::printf("%-38s %12.4f %12.4f %8.3f%s\n", workload.name, quillon, lua, ratio,
                    quillon_answer == lua_answer ? "" : ("   answers differ: " + quillon_answer + " / " + lua_answer).c_str());
    }
    if (argc <= 1 || std::string("string repetition").find(argv[1]) != std::string::npos) {
        Workload repeat {"40 MB string repetition (vs memcpy)", nullptr, nullptr, REPEAT_PROGRAM, nullptr};
        std::string quillon_answer;
        std::string reference_answer;
        double quillon = 1e9;
        double reference = 1e9;
        for (int run = 0; run < RUNS; ++run) {
            quillon = std::min(quillon, run_quillon(repeat, self, quillon_answer));
            reference = std::min(reference, run_memory_reference(reference_answer));
        }
        std::printf("%-38s %12.4f %12.4f %8.3f%s\n", repeat.name, quillon, reference, quillon / reference,
                    quillon_answer == reference_answer ? "" : ("   answers differ: " + quillon_answer + " / " +
                                                              reference_answer).c_str());
    }
    std::printf("geometric mean of the ratios against Lua: %.3f\n", std::exp(log_sum / count));
    return 0;
}
