// GameLoop: starting and ending games, the pending change, and the passes of the loop with their timing.
#include "world/game_loop.h"

#include "world/save_game.h"

#include <cmath>

namespace quillon {

GameLoop::GameLoop(World& world, const GameSettings& settings, const CollisionMasks& masks, platform::Clock& clock,
                   platform::Input& input, LoopHooks hooks, LoopOptions options)
    : keyboard_continuous(settings.keyboard_continuous)
    , mouse_continuous(settings.mouse_continuous)
    , m_world(world)
    , m_settings(settings)
    , m_clock(clock)
    , m_platform_input(input)
    , m_hooks(std::move(hooks))
    , m_show_cursor(settings.show_cursor)
    , m_options(options)
    , m_collisions(world, world.sprites(), masks)
{
}

void GameLoop::set_running(bool running)
{
    m_running = running;
    m_world.set_running(running);
}

bool GameLoop::run_game()
{
    if (!m_running) {
        set_running(true);
        start_game();
    }
    set_running(true);
    m_paused = false;
    main_loop();
    if (!m_running)
        end_game();
    return m_fatal;
}

void GameLoop::single_step()
{
    if (!m_running || !m_paused)
        return;
    pass();
    if (!m_running)
        end_game();
}

void GameLoop::stop()
{
    if (m_paused)
        end_game();
    set_running(false);
    m_paused = false;
}

void GameLoop::start_game()
{
    // 1. The dispatch lists, once per program run.
    if (!m_lists.built())
        m_lists.build(m_world.tree());
    // 2. The random generator's seed, then the cursor the game asks for.
    if (m_hooks.seed_random)
        m_hooks.seed_random();
    if (m_hooks.show_cursor)
        m_hooks.show_cursor(m_show_cursor);
    // 3. Global variables, counters, library code and the first room.
    m_collisions.forget_room();
    m_world.start_game();
    m_collisions.forget_room();
}

void GameLoop::set_show_cursor(bool shown)
{
    m_show_cursor = shown;
    if (m_hooks.show_cursor)
        m_hooks.show_cursor(shown);
}

void GameLoop::end_game()
{
    m_world.end_game_world();
    m_collisions.forget_room();
    if (m_hooks.show_cursor)
        m_hooks.show_cursor(true);
}

void GameLoop::request_load(const std::string& file_name)
{
    m_load_file = file_name;
    m_world.set_pending_change(CHANGE_LOAD);
}

bool GameLoop::save(const std::string& file_name) { return save_game(m_world, file_name, secure_mode); }

bool GameLoop::load(const std::string& file_name)
{
    bool loaded = load_game(m_world, file_name);
    if (loaded)
        m_collisions.forget_room();
    return loaded;
}

void GameLoop::handle_pending_change()
{
    std::int32_t change = m_world.pending_change();
    if (change == CHANGE_STOP || change == CHANGE_END_GAME) {
        m_fatal = m_fatal || change == CHANGE_STOP;
        set_running(false);
    } else if (change == CHANGE_LOAD) {
        m_world.set_pending_change(CHANGE_NONE);
        m_input.clear_keys();
        load(m_load_file);
    } else if (change == CHANGE_RESTART) {
        end_game();
        m_world.set_pending_change(CHANGE_NONE);
        start_game();
    } else if (change >= 0) {
        m_world.change_room(change);
        m_collisions.forget_room();
    }
}

void GameLoop::main_loop()
{
    // 1. A change may wait from before; the clock marks the start of the first slot and second.
    handle_pending_change();
    m_previous_tick = m_second_mark = m_clock.ticks_ms();
    m_pass_count = 0;
    // 2. Passes until the game ends or pauses.
    while (m_running && !m_paused)
        pass();
}

void GameLoop::pass()
{
    // 1. Window events, 2. the step, 3. the monitor's refresh when the game waits for it.
    process_messages(true);
    // The step is counted as it begins, so that frames shown while it runs belong to it.
    ++m_steps_run;
    step();
    if (m_hooks.step_ended) {
        LiveRoom* room = m_world.current_room();
        m_hooks.step_ended(room && room->speed > 0 ? room->speed : 1);
    }
    if (m_settings.wait_for_vertical_blank && m_hooks.wait_vertical_blank)
        m_hooks.wait_vertical_blank();
    // 4. The room speed is kept by sleeping out the rest of the slot, and 5. fps counts passes per second.
    std::uint64_t now = m_clock.ticks_ms();
    keep_room_speed(now);
    if (now / 1000 != m_second_mark / 1000) {
        m_fps = m_pass_count;
        m_pass_count = 0;
        m_second_mark = now;
    }
    // 6. The frame is shown unless a change waits; the transition is used up.
    if (m_world.pending_change() == CHANGE_NONE) {
        World::Transition transition = m_world.transition();
        if (m_hooks.present)
            m_hooks.present(transition.kind);
        transition.kind = 0;
        m_world.set_transition(transition);
    }
    // 7. The change, window events again; 8. the step limit ends the game as game_end would.
    handle_pending_change();
    process_messages(false);
    ++m_pass_count;
    if (m_options.max_steps && m_steps_run >= *m_options.max_steps)
        set_running(false);
}

// A step that took longer than its slot is not caught up. A room whose speed is not positive is set to 1.
void GameLoop::keep_room_speed(std::uint64_t now)
{
    LiveRoom* room = m_world.current_room();
    if (room && room->speed <= 0)
        room->speed = 1;
    std::int32_t speed = room ? room->speed : 1;
    // A sleep may end a little early, so the slot can still be running: elapsed may be negative.
    double elapsed = static_cast<double>(now) - static_cast<double>(m_previous_tick);
    std::int64_t wait = round_to_int64(1000.0 / speed - elapsed);
    if (m_options.no_sleep || wait <= 0) {
        m_previous_tick = now;
        return;
    }
    m_clock.sleep_ms(static_cast<std::uint32_t>(wait));
    m_previous_tick = now + static_cast<std::uint64_t>(wait);
}

void GameLoop::process_messages(bool before_step)
{
    m_events.clear();
    m_platform_input.poll(m_events);
    if (before_step && m_hooks.more_events)
        m_hooks.more_events(m_steps_run + 1, m_events);
    for (const platform::Event& event : m_events)
        m_input.apply(event);
    // The session ending ends the game.
    if (m_input.quit && m_world.pending_change() == CHANGE_NONE)
        m_world.set_pending_change(CHANGE_END_GAME);
}

void GameLoop::wait_for_key()
{
    constexpr std::uint32_t WAIT_SLICE_MS = 50;
    m_input.keyboard_lastkey = 0;
    for (;;) {
        process_messages(false);
        if (m_input.keyboard_lastkey != 0 || m_input.quit)
            return;
        if (m_hooks.events_while_waiting) {
            m_events.clear();
            bool more = m_hooks.events_while_waiting(m_events);
            for (const platform::Event& event : m_events)
                m_input.apply(event);
            if (m_input.keyboard_lastkey != 0 || !more)
                return;
        }
        m_clock.sleep_ms(WAIT_SLICE_MS);
    }
}

}  // namespace quillon
