// One step of the game loop: the special keys, then the events, motion and collisions in their fixed order.
#include "world/game_loop.h"

#include "world/save_game.h"

namespace quillon {

namespace {

constexpr int FIRST_DISPATCHED_KEY = 8;   // keys below and above are tracked but get no events
constexpr int LAST_DISPATCHED_KEY = 127;
constexpr int KEY_NONE = 0;               // the keyboard events of no key and of any key
constexpr int KEY_ANY = 1;

constexpr int STEP_NUMBER_NORMAL = 0;
constexpr int STEP_NUMBER_BEGIN = 1;
constexpr int STEP_NUMBER_END = 2;

constexpr int OTHER_OUTSIDE = 0;
constexpr int OTHER_BOUNDARY = 1;

// Mouse event numbers: per button (left, right, middle) held, pressed and released; the rest.
constexpr int MOUSE_HELD[] = {0, 1, 2};
constexpr int MOUSE_PRESSED[] = {4, 5, 6};
constexpr int MOUSE_RELEASED[] = {7, 8, 9};
constexpr int MOUSE_NO_BUTTON = 3;
constexpr int MOUSE_ENTER = 10;
constexpr int MOUSE_LEAVE = 11;
constexpr int MOUSE_GLOBAL_PRESSED = 12;
constexpr int MOUSE_GLOBAL_RELEASED = 13;

// Joystick event numbers (mouse events) of joystick 1 and 2: left, right, up, down, then buttons 1 to 8.
constexpr int JOYSTICK_LEFT[] = {16, 31};
constexpr int JOYSTICK_BUTTON_1[] = {21, 36};
constexpr int JOYSTICK_EVENT_BUTTONS = 8;

}  // namespace

void GameLoop::step()
{
    LiveRoom* room = m_world.current_room();
    if (!room)
        return;
    // 1. A frozen game does nothing while its window is inactive.
    if (m_settings.freeze_when_inactive && !m_input.active)
        return;
    // 2. The special keys; F6 may have replaced the room.
    special_keys();
    room = m_world.current_room();
    // 3. Where every instance starts the step.
    for (int i = 0, count = room->instance_count(); i < count; ++i) {
        CInstance& instance = *room->instance(i);
        instance.xprevious = instance.x();
        instance.yprevious = instance.y();
    }
    // 4. Begin step.
    perform_for_list(m_lists.step(STEP_NUMBER_BEGIN), EVENT_STEP, STEP_NUMBER_BEGIN);
    if (cut_short())
        return;
    // 5. Time lines.
    for (int i = 0, count = room->instance_count(); i < count; ++i)
        m_world.advance_time_line(*room->instance(i));
    if (cut_short())
        return;
    // 6. Alarms, 7. the keyboard, 8. joysticks, 9. the mouse.
    alarms();
    if (cut_short())
        return;
    keyboard();
    if (cut_short())
        return;
    joysticks();
    if (cut_short())
        return;
    mouse();
    if (cut_short())
        return;
    // 10. Step.
    perform_for_list(m_lists.step(STEP_NUMBER_NORMAL), EVENT_STEP, STEP_NUMBER_NORMAL);
    if (cut_short())
        return;
    // 11. Motion of every instance, marked ones included.
    for (int i = 0, count = room->instance_count(); i < count; ++i)
        m_world.move_instance(*room->instance(i));
    if (cut_short())
        return;
    // 12. Outside room and intersect boundary, 13. collisions.
    outside_and_boundary();
    if (cut_short())
        return;
    m_collisions.collision_stage(m_lists.collisions());
    if (cut_short())
        return;
    // 14. End step.
    perform_for_list(m_lists.step(STEP_NUMBER_END), EVENT_STEP, STEP_NUMBER_END);
    // 15. The marked instances go.
    room->remove_marked();
    m_collisions.forget_room();
    // 16. The room is drawn, 17. its backgrounds scroll, 18. every instance animates.
    if (m_hooks.draw_room)
        m_hooks.draw_room();
    room->scroll_backgrounds();
    for (int i = 0, count = room->instance_count(); i < count; ++i)
        m_world.animate_instance(*room->instance(i));
    // 19. The debug window, 20. and the keys and buttons that went down are now old news.
    if (m_hooks.update_debug_window)
        m_hooks.update_debug_window();
    m_input.clear_went_down();
}

// Only the first key that applies, and only when the game allows it.
void GameLoop::special_keys()
{
    int key = m_input.keyboard_lastkey;
    const GameSettings& s = m_settings;
    if (key == KEY_F1 && s.f1_shows_information && !s.exclusive_graphics) {
        m_input.keyboard_lastkey = 0;
        if (m_hooks.show_game_information)
            m_hooks.show_game_information();
        m_input.clear_keys();
    } else if (key == KEY_ESCAPE && s.escape_ends_game) {
        m_input.keyboard_lastkey = 0;
        request_end_game();
    } else if (key == KEY_F4 && s.f4_switches_screen_mode) {
        m_input.keyboard_lastkey = 0;
        if (m_hooks.toggle_full_screen)
            m_hooks.toggle_full_screen();
    } else if (key == KEY_F5 && s.f5_saves_f6_loads) {
        m_input.keyboard_lastkey = 0;
        save(quick_save_name(m_world.game_id()));
    } else if (key == KEY_F6 && s.f5_saves_f6_loads) {
        m_input.keyboard_lastkey = 0;
        load(quick_save_name(m_world.game_id()));
    }
}

// Each object of the list in order, each of its instances in array order; an instance added to a later
// object's list during the walk is reached.
void GameLoop::perform_for_list(const std::vector<std::int32_t>& objects, int kind, std::int32_t number)
{
    LiveRoom& room = *m_world.current_room();
    for (std::int32_t object : objects)
        for (int i = 0; i < room.object_count(object); ++i)
            if (CInstance& instance = *room.object_instance(object, i); !instance.m_destroyed)
                m_world.perform_event_for(instance, &instance, kind, number);
}

// The mouse event to the instances of the list whose shape covers (inside) or does not cover the point.
void GameLoop::perform_under(const std::vector<std::int32_t>& objects, int number, double x, double y, bool inside)
{
    LiveRoom& room = *m_world.current_room();
    for (std::int32_t object : objects)
        for (int i = 0; i < room.object_count(object); ++i)
            if (CInstance& instance = *room.object_instance(object, i);
                !instance.m_destroyed && m_collisions.point_inside(instance, x, y) == inside)
                m_world.perform_event_for(instance, &instance, EVENT_MOUSE, number);
}

void GameLoop::alarms()
{
    LiveRoom& room = *m_world.current_room();
    for (int alarm = 0; alarm < INSTANCE_ALARM_COUNT; ++alarm)
        for (std::int32_t object : m_lists.alarm(alarm))
            for (int i = 0; i < room.object_count(object); ++i) {
                CInstance& instance = *room.object_instance(object, i);
                if (instance.m_destroyed || instance.alarms[alarm] < 0)
                    continue;
                if (--instance.alarms[alarm] == 0)
                    m_world.perform_event_for(instance, &instance, EVENT_ALARM, alarm);
            }
}

void GameLoop::keyboard()
{
    // 1. Keys down (held ones too when continuous), then no key or any key.
    bool any = false;
    for (int code = FIRST_DISPATCHED_KEY; code <= LAST_DISPATCHED_KEY; ++code) {
        std::uint8_t state = m_input.keys[code].state;
        if ((state & WENT_DOWN) || (keyboard_continuous && state != 0)) {
            any = true;
            perform_for_list(m_lists.key(EVENT_KEYBOARD, code), EVENT_KEYBOARD, code);
        }
    }
    int summary = any ? KEY_ANY : KEY_NONE;
    perform_for_list(m_lists.key(EVENT_KEYBOARD, summary), EVENT_KEYBOARD, summary);
    // 2. Presses, then 3. releases, each with its no key or any key.
    for (int kind : {EVENT_KEY_PRESS, EVENT_KEY_RELEASE}) {
        any = false;
        for (int code = FIRST_DISPATCHED_KEY; code <= LAST_DISPATCHED_KEY; ++code) {
            bool& due = kind == EVENT_KEY_PRESS ? m_input.keys[code].pressed : m_input.keys[code].released;
            if (!due)
                continue;
            any = true;
            perform_for_list(m_lists.key(kind, code), kind, code);
            due = false;
        }
        summary = any ? KEY_ANY : KEY_NONE;
        perform_for_list(m_lists.key(kind, summary), kind, summary);
    }
}

// Joystick 1, then 2, when it can be read: the directions its stick is pushed to, then its buttons 1 to 8 that
// are down, to every instance of the objects that have the event, wherever the mouse is.
void GameLoop::joysticks()
{
    for (int number = 1; number <= platform::JOYSTICKS; ++number) {
        const JoystickState& joystick = m_input.joystick(number);
        if (!joystick.plugged)
            continue;
        int left = JOYSTICK_LEFT[number - 1];
        auto perform = [this](int event) { perform_for_list(m_lists.mouse(event), EVENT_MOUSE, event); };
        if (joystick.left())
            perform(left);
        if (joystick.right())
            perform(left + 1);
        if (joystick.up())
            perform(left + 2);
        if (joystick.down())
            perform(left + 3);
        for (int button = 0; button < JOYSTICK_EVENT_BUTTONS; ++button)
            if (joystick.buttons & (1u << button))
                perform(JOYSTICK_BUTTON_1[number - 1] + button);
    }
}

void GameLoop::mouse()
{
    // 1. The position of the last step and the current one, read through the regions as they are now.
    double previous_x = m_mouse_x;
    double previous_y = m_mouse_y;
    m_input.read_mouse();
    m_mouse_x = m_input.mouse_x;
    m_mouse_y = m_input.mouse_y;
    m_input.mouse_xprevious = previous_x;
    m_input.mouse_yprevious = previous_y;
    // 2. Buttons held (or down now when continuous) to the instances under the mouse, else no button.
    bool any = false;
    for (int button = platform::MOUSE_LEFT; button <= platform::MOUSE_MIDDLE; ++button) {
        std::uint8_t state = m_input.buttons[button].state;
        if ((state & WENT_DOWN) || (mouse_continuous && state != 0)) {
            any = true;
            int number = MOUSE_HELD[button - 1];
            perform_under(m_lists.mouse(number), number, m_mouse_x, m_mouse_y, true);
        }
    }
    if (!any)
        perform_under(m_lists.mouse(MOUSE_NO_BUTTON), MOUSE_NO_BUTTON, m_mouse_x, m_mouse_y, true);
    // 3. Presses and 4. releases under the mouse, each followed by its global event to everyone.
    for (int button = platform::MOUSE_LEFT; button <= platform::MOUSE_MIDDLE; ++button) {
        ButtonState& state = m_input.buttons[button];
        if (!state.pressed)
            continue;
        perform_under(m_lists.mouse(MOUSE_PRESSED[button - 1]), MOUSE_PRESSED[button - 1], m_mouse_x, m_mouse_y, true);
        perform_for_list(m_lists.mouse(MOUSE_GLOBAL_PRESSED), EVENT_MOUSE, MOUSE_GLOBAL_PRESSED);
        state.pressed = false;
    }
    for (int button = platform::MOUSE_LEFT; button <= platform::MOUSE_MIDDLE; ++button) {
        ButtonState& state = m_input.buttons[button];
        if (!state.released)
            continue;
        perform_under(m_lists.mouse(MOUSE_RELEASED[button - 1]), MOUSE_RELEASED[button - 1], m_mouse_x, m_mouse_y,
                      true);
        perform_for_list(m_lists.mouse(MOUSE_GLOBAL_RELEASED), EVENT_MOUSE, MOUSE_GLOBAL_RELEASED);
        state.released = false;
    }
    // 5. Enter for those under the mouse now and not before, 6. leave for the opposite.
    LiveRoom& room = *m_world.current_room();
    for (int number : {MOUSE_ENTER, MOUSE_LEAVE})
        for (std::int32_t object : m_lists.mouse(number))
            for (int i = 0; i < room.object_count(object); ++i) {
                CInstance& instance = *room.object_instance(object, i);
                bool now = m_collisions.point_inside(instance, m_mouse_x, m_mouse_y);
                bool before = m_collisions.point_inside(instance, previous_x, previous_y);
                if (!instance.m_destroyed && (number == MOUSE_ENTER ? now && !before : before && !now))
                    m_world.perform_event_for(instance, &instance, EVENT_MOUSE, number);
            }
}

void GameLoop::outside_and_boundary()
{
    LiveRoom& room = *m_world.current_room();
    for (std::int32_t object : m_lists.outside())
        for (int i = 0; i < room.object_count(object); ++i) {
            CInstance& instance = *room.object_instance(object, i);
            bool touches = instance.bbox_right() >= 0 && instance.bbox_left() <= room.width
                           && instance.bbox_bottom() >= 0 && instance.bbox_top() <= room.height;
            if (!instance.m_destroyed && !touches)
                m_world.perform_event_for(instance, &instance, EVENT_OTHER, OTHER_OUTSIDE);
        }
    for (std::int32_t object : m_lists.boundary())
        for (int i = 0; i < room.object_count(object); ++i) {
            CInstance& instance = *room.object_instance(object, i);
            bool inside = instance.bbox_left() >= 0 && instance.bbox_right() <= room.width
                          && instance.bbox_top() >= 0 && instance.bbox_bottom() <= room.height;
            if (!instance.m_destroyed && !inside)
                m_world.perform_event_for(instance, &instance, EVENT_OTHER, OTHER_BOUNDARY);
        }
}

}  // namespace quillon
