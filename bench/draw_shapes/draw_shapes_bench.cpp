// Shape drawing speed: a draw event that draws, every frame, N filled rectangles, N outlined ellipses, N lines and
// N/10 strings of 20 characters (N = 100, 1,000 and 5,000), played by the runner headless without sleeping,
// against the same scene in pygame (Debian's python3-pygame) over SDL's dummy video driver. Then the cost of each
// part of the scene alone, and of the script loops that call nothing but a cheap built-in, to show what
// dominates.
#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "runner/runner.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace quillon;

namespace {

constexpr int COUNTS[] = {100, 1000, 5000};
constexpr double SECONDS = 1.0;   // one trial of each side
constexpr int TRIALS = 3;         // the best trial of each side counts; they alternate, so load hits both
constexpr int WARM_STEPS = 3;     // steps of the short run whose time is taken off the long one

// The process's own processor time: the machine may be shared, and time spent waiting for a turn on the
// processor says nothing about either side.
double cpu_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The parts of the scene, each a loop of N (text: N / 10) calls; `call` draws one item at (x, y).
struct ScenePart {
    const char* name;
    const char* setup;   // game code before the loop
    int divisor;         // the loop runs N / divisor times
    int step_x;          // item i lies at ((i * step_x) mod width, (i * step_y) mod height)
    int step_y;
    int width;
    int height;
    const char* call;    // the drawing call
};

constexpr ScenePart PARTS[] = {
    {"rectangles", "brush_style = 1; brush_color = make_color(40, 200, 60); pen_color = brush_color;", 1, 37, 53,
        600, 440, "draw_rectangle(x, y, x + 20, y + 14)"},
    {"ellipses", "brush_style = 0; pen_color = make_color(255, 255, 255);", 1, 41, 59, 600, 440,
        "draw_ellipse(x, y, x + 30, y + 20)"},
    {"lines", "pen_color = make_color(240, 220, 40);", 1, 43, 31, 600, 440, "draw_line(x, y, x + 40, y + 25)"},
    {"text", "", 10, 47, 29, 560, 460, "draw_text(x, y, 'Quillon shapes bench')"},
};

// The draw event's code: the parts asked for, each call replaced by `stand_in` when one is given.
std::string scene_code(int count, bool text, const char* only = nullptr, const char* stand_in = nullptr)
{
    std::string code;
    for (const ScenePart& part : PARTS) {
        if ((!text && std::string(part.name) == "text") || (only && std::string(part.name) != only))
            continue;
        code += std::string(part.setup) + "\nfor (i = 0; i < " + std::to_string(count / part.divisor)
            + "; i += 1) { x = (i * " + std::to_string(part.step_x) + ") mod " + std::to_string(part.width)
            + "; y = (i * " + std::to_string(part.step_y) + ") mod " + std::to_string(part.height) + "; "
            + (stand_in ? stand_in : part.call) + "; }\n";
    }
    return code;
}

GameBuilder scene(const std::string& draw_code)
{
    GameBuilder builder;
    builder.object("artist").on("draw", draw_code);
    builder.room("room").set("width", 640).set("height", 480).set("speed", 60).set("background_color", "#101830")
        .instance("artist", 0, 0);
    return builder;
}

// Plays the game headless without sleeping for some steps; the processor time it took, and what the message
// boxes said.
double play(const GameBuilder& builder, std::int64_t steps, std::string* messages = nullptr)
{
    std::filesystem::path file = std::filesystem::temp_directory_path()
        / ("bench_draw_shapes_" + std::to_string(::getpid()) + ".bin");
    builder.write(file);
    std::ostringstream said;
    std::unique_ptr<platform::Platform> platform = platform::create_platform("headless");
    static_cast<platform::HeadlessDisplay&>(*platform->display).keep_frames(false);
    platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(said);
    CommandLine command_line;
    command_line.game = file;
    command_line.headless = true;
    command_line.no_sleep = true;
    command_line.steps = steps;
    double start = cpu_seconds();
    {
        Runner runner(*platform, command_line);
        runner.run();
    }
    double elapsed = cpu_seconds() - start;
    std::filesystem::remove(file);
    if (messages)
        *messages = said.str();
    return elapsed;
}

// Frames per second of the draw event's code, without the time the runner takes to load and start the game.
double frames_per_second(const std::string& draw_code)
{
    // The start-up varies from run to run, so the longer run grows until its extra steps take a good part of a
    // trial.
    GameBuilder builder = scene(draw_code);
    double warm = play(builder, WARM_STEPS);
    std::int64_t more = 16;
    double extra = play(builder, WARM_STEPS + more) - warm;
    while (extra < SECONDS / 4) {
        more *= 4;
        extra = play(builder, WARM_STEPS + more) - warm;
    }
    return more / extra;
}

// Whether draw_text draws in this build (else it reports itself as not available and the text is left out).
bool text_available()
{
    std::string messages;
    play(scene("draw_text(0, 0, 'x')"), 1, &messages);
    return messages.find("not available") == std::string::npos;
}

// The pygame scene's frames per second, or a negative number when pygame cannot run.
double pygame_frames_per_second(int count, bool text)
{
    std::string command = "SDL_VIDEODRIVER=dummy /usr/bin/python3 " + std::string(QUILLON_PYGAME_SHAPES) + " "
        + std::to_string(count) + " " + std::to_string(SECONDS) + (text ? " 1" : " 0") + " 2>/dev/null";
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
    bool text = text_available();
    if (!text)
        std::printf("draw_text is not available in this build: the text strings are left out on both sides\n");
    std::printf("Frames per second of processor time, best of %d trials of about %.0f s each\n", TRIALS, SECONDS);
    std::printf("%-8s %16s %14s %8s\n", "N", "quillon fps", "pygame fps", "ratio");
    for (int count : COUNTS) {
        double ours = 0;
        double theirs = -1;
        for (int trial = 0; trial < TRIALS; ++trial) {
            ours = std::max(ours, frames_per_second(scene_code(count, text)));
            theirs = std::max(theirs, pygame_frames_per_second(count, text));
        }
        if (theirs > 0)
            std::printf("%-8d %16.1f %14.1f %7.2fx\n", count, ours, theirs, ours / theirs);
        else
            std::printf("%-8d %16.1f %14s %8s\n", count, ours, "(no pygame)", "-");
        std::fflush(stdout);
    }
    // What a frame of N = 5000 spends on: each part alone, and the same loops calling make_color instead.
    constexpr int COUNT = 5000;
    std::printf("\nMilliseconds per frame at N = %d, each part alone\n", COUNT);
    std::printf("%-12s %12s %22s\n", "part", "drawing", "loop with make_color");
    double empty = 1000 / frames_per_second("");
    std::printf("%-12s %12.3f\n", "(no code)", empty);
    for (const ScenePart& part : PARTS) {
        if (!text && std::string(part.name) == "text")
            continue;
        double drawing = 1000 / frames_per_second(scene_code(COUNT, text, part.name));
        double looping = 1000 / frames_per_second(scene_code(COUNT, text, part.name, "make_color(x, y, 0)"));
        std::printf("%-12s %12.3f %22.3f\n", part.name, drawing, looping);
    }
    return 0;
}
