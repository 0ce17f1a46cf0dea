// Text files and the registry: 1,000,000 lines written and read back by game code against Lua 5.4's io.write
// and io.lines on the same lines, and 10,000 registry values written and read.
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "functions/files.h"
#include "functions/table.h"
#include "platform/registry_store.h"

#include <lua.hpp>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr int RUNS = 3;

// Both languages write "line number N" and a carriage return and line feed per line, then count the lines read.
constexpr const char* WRITE_PROGRAM =
    "var i; file_open_write('lines.txt'); for (i = 0; i < 1000000; i += 1) {"
    " file_write_string('line number ' + string(i)); file_writeln() } file_close(); return 0";
constexpr const char* READ_PROGRAM =
    "var n, s; n = 0; file_open_read('lines.txt'); while (!file_eof()) {"
    " s = file_read_string(); file_readln(); n += 1 } file_close(); return n";
constexpr const char* LUA_WRITE =
    "local f = io.open('lua_lines.txt', 'wb') io.output(f) for i = 0, 999999 do"
    " io.write('line number ' .. i) io.write('\\r\\n') end f:close() return 0";
constexpr const char* LUA_READ = "local n = 0 for s in io.lines('lua_lines.txt') do n = n + 1 end return n";

constexpr const char* REGISTRY_WRITES =
    "var i; for (i = 0; i < 10000; i += 1) registry_write_real('value' + string(i), i); return 0";
constexpr const char* REGISTRY_READS =
    "var i, s; s = 0; for (i = 0; i < 10000; i += 1) s += registry_read_real('value' + string(i)); return s";

// Wall time: the system's part of file work counts as much as the program's.
double seconds_now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double process_seconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double run_game_code(const char* program, ScriptInstance& self, double& answer)
{
    CCode code(program, false);
    if (!code.compile()) {
        std::fprintf(stderr, "compile error: %s\n", errors().code_error_text().c_str());
        std::exit(1);
    }
    Value result;
    double start = seconds_now();
    execute(&self, &self, code, result);
    double elapsed = seconds_now() - start;
    answer = result.real;
    return elapsed;
}

double run_lua(const char* program, double& answer)
{
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    double start = seconds_now();
    int status = luaL_dostring(state, program);
    double elapsed = seconds_now() - start;
    answer = status == LUA_OK ? lua_tonumber(state, -1) : -1;
    if (status != LUA_OK)
        std::fprintf(stderr, "lua: %s\n", lua_tostring(state, -1));
    lua_close(state);
    return elapsed;
}

}  // namespace

int main()
{
    fs::path folder = fs::temp_directory_path() / ("quillon_bench_files_" + std::to_string(getpid()));
    fs::create_directories(folder / "config");
    fs::current_path(folder);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    register_builtin_functions(function_registry(), {file_functions()});
    ScriptInstance self;

    std::printf("%-40s %10s %10s %8s\n", "workload (best of 3, seconds)", "quillon", "lua", "ratio");
    double total_quillon = 0;
    double total_lua = 0;
    struct Pair {
        const char* name;
        const char* quillon;
        const char* lua;
    };
    for (Pair pair : {Pair {"write 1,000,000 lines", WRITE_PROGRAM, LUA_WRITE},
                      Pair {"read 1,000,000 lines", READ_PROGRAM, LUA_READ}}) {
        double quillon = 1e9;
        double lua = 1e9;
        double quillon_answer = 0;
        double lua_answer = 0;
        for (int run = 0; run < RUNS; ++run) {
            quillon = std::min(quillon, run_game_code(pair.quillon, self, quillon_answer));
            lua = std::min(lua, run_lua(pair.lua, lua_answer));
        }
        total_quillon += quillon;
        total_lua += lua;
        std::printf("%-40s %10.4f %10.4f %8.3f%s\n", pair.name, quillon, lua, quillon / lua,
                    quillon_answer == lua_answer ? "" : "   answers differ");
    }
    std::printf("%-40s %10.4f %10.4f %8.3f   (bar: 2.0)\n", "text files in all", total_quillon, total_lua,
                total_quillon / total_lua);
    bool same_bytes = fs::file_size("lines.txt") == fs::file_size("lua_lines.txt");
    std::printf("files of the same size: %s\n", same_bytes ? "yes" : "NO");

    // The registry's figures in wall time and in the processor time of this process (the system's work
    // included), which other work on the machine does not stretch.
    double answer = 0;
    double cpu_start = process_seconds();
    double writes = run_game_code(REGISTRY_WRITES, self, answer);
    double cpu_writes = process_seconds() - cpu_start;
    cpu_start = process_seconds();
    double reads = run_game_code(REGISTRY_READS, self, answer);
    double cpu_reads = process_seconds() - cpu_start;
    std::printf("registry, 10,000 writes: %.4f s, %.0f per second (processor: %.0f per second; bar: 10000)\n",
                writes, 10000 / writes, 10000 / cpu_writes);
    std::printf("registry, 10,000 reads:  %.4f s, %.0f per second (processor: %.0f per second)%s\n", reads,
                10000 / reads, 10000 / cpu_reads, answer == 49995000 ? "" : "   values differ");
    platform::close_user_registry();
    fs::current_path("/");
    fs::remove_all(folder);
    return 0;
}
