// Runner: takes a game from process start through loading and preparation to its end, in order.
#pragma once

#include "dialogs/debug_commands.h"
#include "platform/drivers.h"
#include "runner/command_line.h"
#include "runner/game_file.h"
#include "runner/language_setup.h"
#include "runner/screenshots.h"
#include "runner/scripted_input.h"
#include "support/temp_dir.h"

#include <functional>
#include <fstream>
#include <memory>

namespace quillon {

class LoadingWindow;
class World;
class RoomDrawer;
class GameLoop;
class LoopVariables;
class Graphics;
class DebugSession;
class SoundSystem;
class FormHost;

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
    // The game file's bytes, built in memory (from a project folder), to play instead of a file.
    void set_game_data(CStream data) { m_game_data = std::move(data); }
    // Asked before every step; once it says so, the game ends as game_end() would (a watched project changed).
    void set_stop_request(std::function<bool()> request) { m_stop_request = std::move(request); }
    // Leaves the game's window open at the end, for the next game played in it.
    void keep_window_open() { m_keep_window = true; }
    // Whether the game ended because the stop request asked for it.
    bool stopped_on_request() const { return m_stopped_on_request; }
    // Debugger commands to carry out step by step (debug mode).
    void set_debug_commands(DebugCommands commands) { m_debug_commands = std::move(commands); }

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
    void show_frame(bool draw);
    std::int64_t current_step() const;
    bool debug_mode() const { return m_game.debug() || m_command_line.debug; }
    std::unique_ptr<DebugSession> make_debug_session(GameLoop& loop);
    void end();
    void show_message(std::string_view text);
    DataFileContext data_file_context();
    bool prepare_sounds();

    platform::Platform& m_platform;           // the services of the window system, or their headless stand-ins
    CommandLine m_command_line;               // what the user asked for
    TempDirectory m_temp;                     // the process's temporary directory
    GameFile m_game;                          // everything the game file holds
    std::optional<ScriptedInput> m_scripted_input;  // --input
    std::optional<CStream> m_game_data;             // the game file built in memory, when there is one
    std::function<bool()> m_stop_request;     // ends the game from outside when it says so
    bool m_stopped_on_request = false;        // the stop request ended the game
    bool m_keep_window = false;               // the window outlives this game
    Screenshots m_screenshots;                // --screenshot
    RunnerHost m_host;                        // the language's host under the world
    std::unique_ptr<LoopVariables> m_loop_variables;  // keyboard, mouse and fps variables, under the world
    std::unique_ptr<World> m_world;           // the running game, made once the game is loaded
    std::unique_ptr<Graphics> m_graphics;     // the screen, image sheets and masks, made while preparing
    std::unique_ptr<RoomDrawer> m_drawer;     // draws the current room, made with the graphics
    GameLoop* m_loop = nullptr;               // the loop while the game plays
    std::unique_ptr<platform::Display> m_loading_display;  // the loading window's own window
    std::unique_ptr<LoadingWindow> m_loading;  // open from loading until the game is ready
    std::optional<DebugCommands> m_debug_commands;  // --debug-commands
    std::ofstream m_debug_output;             // --debug-output, open while the game plays
    std::unique_ptr<FormHost> m_forms;        // the runner's own dialogs, in windows or answered by script
    std::unique_ptr<SoundSystem> m_sounds;    // the sounds at play, made while preparing
};

}  // namespace quillon
