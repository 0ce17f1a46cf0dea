// Runner: takes a game from process start through loading and preparation to its end, in order.
#pragma once

#include "platform/drivers.h"
#include "runner/command_line.h"
#include "runner/game_file.h"
#include "runner/language_setup.h"
#include "runner/scripted_input.h"
#include "support/temp_dir.h"

#include <memory>

namespace quillon {

class LoadingWindow;
class World;
class RoomDrawer;
class GameLoop;
class LoopVariables;
class Graphics;
class SoundSystem;

// Exit statuses of quillon-runner.
constexpr int EXIT_NORMAL_END = 0;
constexpr int EXIT_LOAD_FAILED = 1;   // the game could not be loaded or prepared
constexpr int EXIT_FATAL_ERROR = 2;   // a fatal game error ended the game

class Runner {
public:
    Runner(platform::Platform& platform, CommandLine command_line);
    ~Runner();

    // Input to play into the game step by step, besides what the window system delivers.
    void set_scripted_input(ScriptedInput input) { m_scripted_input = std::move(input); }

    // Runs the whole life of the game and gives the exit status.
    int run();

    const GameFile& game() const { return m_game; }

private:
    bool LoadGame();
    void make_world();
    bool PrepareGame();
    void open_loading_window();
    void play();
    void show_room();
    void take_screenshots(std::int64_t step);
    void end();
    void show_message(std::string_view text);
    DataFileContext data_file_context();
    bool prepare_sounds();

    platform::Platform& m_platform;           // the services of the window system, or their headless stand-ins
    CommandLine m_command_line;               // what the user asked for
    TempDirectory m_temp;                     // the process's temporary directory
    GameFile m_game;                          // everything the game file holds
    std::optional<ScriptedInput> m_scripted_input;  // --input
    RunnerHost m_host;                        // the language's host under the world
    std::unique_ptr<LoopVariables> m_loop_variables;  // keyboard, mouse and fps variables, under the world
    std::unique_ptr<World> m_world;           // the running game, made once the game is loaded
    std::unique_ptr<Graphics> m_graphics;
    std::unique_ptr<RoomDrawer> m_drawer;     // draws the current room, made with the graphics
    GameLoop* m_loop = nullptr;               // the loop while the game plays     // the screen, image sheets and masks, made while preparing
    std::unique_ptr<platform::Display> m_loading_display;  // the loading window's own window
    std::unique_ptr<LoadingWindow> m_loading;  // open from loading until the game is ready
    std::unique_ptr<SoundSystem> m_sounds;    // the sounds at play, made while preparing
};

}  // namespace quillon
