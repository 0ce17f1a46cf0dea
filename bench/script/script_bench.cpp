// Executer speed against Lua 5.4: the same workloads in both languages, run in one invocation.
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "code/script.h"
#include "functions/table.h"

#include <lua.hpp>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <string>

using namespace quillon;

namespace {

struct Workload {
    const char* name;          // what it measures
    const char* script_name;   // a script the program calls, or null
    const char* script;        // that script's code
    const char* program;       // the program, returning its result
    const char* lua;           // the same in Lua, returning its result
};

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
};

constexpr int RUNS = 3;

// Processor time of this thread, so that other work on the machine does not count.
double cpu_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Compiling counts on both sides, as Lua's time includes loading the chunk.
double run_quillon(const Workload& workload, ScriptInstance& self, std::string& answer)
{
    double start = cpu_seconds();
    scripts().clear();
    if (workload.script_name) {
        scripts().add(workload.script_name, workload.script);
        scripts().compile_all();
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
    return elapsed;
}

double run_lua(const Workload& workload, std::string& answer)
{
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    double start = cpu_seconds();
    int status = luaL_dostring(state, workload.lua);
    double elapsed = cpu_seconds() - start;
    answer = status != LUA_OK ? std::string("error: ") + lua_tostring(state, -1) : std::to_string(lua_tonumber(state, -1));
    lua_close(state);
    return elapsed;
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
    std::printf("geometric mean of the ratios: %.3f\n", std::exp(log_sum / count));
    return 0;
}
