// GameLoop: runs a game step after step at the room's speed, carries out room changes, restarts, loads and the
// end, and feeds the keyboard, joysticks and mouse to the events.
#pragma once

#include "platform/clock.h"
#include "platform/input.h"
#include "support/settings.h"
#include "world/collision.h"
#include "world/dispatch_lists.h"
#include "world/input_state.h"
#include "world/world.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Virtual-key codes of the special keys.
constexpr int KEY_F1 = 112;
constexpr int KEY_F4 = 115;
constexpr int KEY_F5 = 116;
constexpr int KEY_F6 = 117;

// What the loop asks of the services above the world. Each hook may stay unset.
struct LoopHooks {
    std::function<void()> draw_room;                          // draws the room into the screen buffer
    std::function<void(std::int32_t transition_kind)> present;  // shows the drawn frame with the transition
    std::function<void()> wait_vertical_blank;                // the monitor's next refresh
    std::function<void()> show_game_information;              // F1
    std::function<void()> toggle_full_screen;                 // F4
    std::function<void()> update_debug_window;                // once per step while it is shown
    std::function<void(bool visible)> show_cursor;            // the mouse cursor over the window
    std::function<void()> seed_random;                        // a game starts: the random generator's seed
    // Window events besides the platform's own, appended before the step of that number runs (the first is 1).
    std::function<void(std::int64_t step, std::vector<platform::Event>& events)> more_events;
    // A step has run in a room of this speed (steps per second): sound moves on by one step's time.
    std::function<void(std::int32_t room_speed)> step_ended;
    // While the game waits for a key: appends the events held for later steps, as if their time had come;
    // false when no key can ever come (nothing is held and no player is at the keyboard).
    std::function<bool(std::vector<platform::Event>& events)> events_while_waiting;
};

// How a run goes: at most so many steps, with or without keeping the room speed.
struct LoopOptions {
    std::optional<std::int64_t> max_steps;  // the game ends (Room End, Game End) after this many steps
    bool no_sleep = false;                  // steps run back to back
};

class GameLoop {
public:
    GameLoop(World& world, const GameSettings& settings, const CollisionMasks& masks, platform::Clock& clock,
             platform::Input& input, LoopHooks hooks = {}, LoopOptions options = {});

    // Starts the game when it is not running, then runs steps until the game ends or is paused; a game that
    // ended is ended in order (Room End, Game End). Gives true when a fatal error stopped the game.
    bool run_game();
    // The loop returns after the current step; run_game goes on with the same game.
    void pause() { m_paused = true; }
    // A paused game is no longer paused; the next run_game goes on stepping it.
    void resume() { m_paused = false; }
    // One pass (step, frame, pending change) while running and paused.
    void single_step();
    // Ends a paused game; running and paused are cleared.
    void stop();
    bool running() const { return m_running; }
    bool paused() const { return m_paused; }
    bool ended_by_fatal_error() const { return m_fatal; }

    // Requests, carried out after the step.
    void request_end_game() { m_world.set_pending_change(CHANGE_END_GAME); }
    void request_restart() { m_world.set_pending_change(CHANGE_RESTART); }
    void request_load(const std::string& file_name);
    // At once; errors are reported non-fatally.
    bool save(const std::string& file_name);
    bool load(const std::string& file_name);

    // One step in its fixed order; a pending change cuts it short.
    void step();
    // Carries out the pending change; the loop leaves when it ends the game.
    void handle_pending_change();
    void start_game();
    void end_game();

    InputState& input() { return m_input; }
    // The window's messages while a built-in waits between steps: input is taken in, the game does not step.
    void handle_window_messages() { process_messages(false); }
    platform::Input& platform_input() { return m_platform_input; }
    // `keyboard_lastkey` becomes 0; then messages are handled, with a 50 ms sleep between, until a key sets it
    // again. The game does not step meanwhile.
    void wait_for_key();
    Collisions& collisions() { return m_collisions; }
    std::int32_t fps() const { return m_fps; }
    // The number of the step that runs, or of the last one between steps; 0 before the first step.
    std::int64_t steps_run() const { return m_steps_run; }

    // `show_cursor`: the default cursor over the window, or none; it stays for later games of the run.
    bool show_cursor() const { return m_show_cursor; }
    void set_show_cursor(bool shown);

    bool keyboard_continuous;      // `keyboard_continuous`: keyboard events while a key is held
    bool mouse_continuous;         // `mouse_continuous`: mouse events while a button is held
    bool secure_mode = false;      // saves may not name folders

private:
    void main_loop();
    void pass();
    void keep_room_speed(std::uint64_t now);
    void process_messages(bool before_step);
    void set_running(bool running);

    // The stages of a step.
    void special_keys();
    void perform_for_list(const std::vector<std::int32_t>& objects, int kind, std::int32_t number);
    void perform_under(const std::vector<std::int32_t>& objects, int number, double x, double y, bool inside);
    void alarms();
    void keyboard();
    void joysticks();
    void mouse();
    void outside_and_boundary();
    bool cut_short() const { return m_world.pending_change() != CHANGE_NONE; }

    World& m_world;                        // the game played
    const GameSettings& m_settings;        // the special keys, synchronisation, freezing, the cursor
    platform::Clock& m_clock;              // ticks and sleep
    platform::Input& m_platform_input;     // window events
    LoopHooks m_hooks;                     // services above the world
    bool m_show_cursor;                    // the cursor shows while the game runs
    LoopOptions m_options;                 // step limit and sleeping
    InputState m_input;                    // keys and buttons as events see them
    Collisions m_collisions;               // tests and the collision stage
    DispatchLists m_lists;                 // per event the objects that have it, built on first use
    std::vector<platform::Event> m_events; // window events of one poll, kept for its capacity
    std::string m_load_file;               // the file of the pending load
    bool m_running = false;                // a game is on
    bool m_paused = false;                 // the loop returns after the step
    bool m_fatal = false;                  // a fatal error stopped the game
    std::int32_t m_fps = 0;                // `fps`: passes in the last whole second
    std::int32_t m_pass_count = 0;         // passes in the current second
    std::uint64_t m_previous_tick = 0;     // when the last pass's time slot ended
    std::uint64_t m_second_mark = 0;       // when the current second began
    std::int64_t m_steps_run = 0;          // the step running or last run: passes begun since the program started
    double m_mouse_x = 0;                  // the mouse position at the last mouse stage
    double m_mouse_y = 0;
};

}  // namespace quillon
