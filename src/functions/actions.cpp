// The Action family: the built-ins that the actions of the standard libraries call, with the relative flag.
#include "code/builtin_variables.h"
#include "code/script.h"
#include "dialogs/highscore_settings.h"
#include "functions/font_description.h"
#include "functions/random.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/screen.h"
#include "support/hash_text.h"
#include "world/game_loop.h"
#include "world/instance_queries.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace quillon {

namespace {

// The two transition parameters of the room actions.
constexpr std::int32_t ACTION_TRANSITION_TIME = 1000;
constexpr std::int32_t ACTION_TRANSITION_STEPS = 40;

// A random integer from 0 to count - 1.
std::int64_t random_below(std::int64_t count)
{
    return static_cast<std::int64_t>(random_generator().next() * static_cast<double>(count));
}

// The comparison operation of the questions: 1 less than, 2 greater than, anything else equal to.
bool compare(double value, double with, const FunctionCall& call, int operation_index)
{
    switch (integer_argument(call, operation_index)) {
    case 1:
        return value < with;
    case 2:
        return value > with;
    default:
        return value == with;
    }
}

// An amount argument: with the relative flag added to the current value.
double amount(const FunctionCall& call, int i, double current)
{
    return real_argument(call, i) + (relative_flag() ? current : 0);
}

void action_move(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (!self)
        return;
    const ScriptString& directions = string_argument(call, 0);
    if (directions.size() != 9) {
        report_wrong_argument(call);
        return;
    }
    std::string_view chosen = directions.view();
    if (chosen.find('1') == std::string_view::npos)
        return;
    self->set_speed(amount(call, 1, self->speed()));
    // The middle position stops; the others are the eight directions, from down-left round the compass.
    constexpr double DIRECTIONS[9] = { 225, 270, 315, 180, 0, 0, 135, 90, 45 };
    std::int64_t position;
    do {
        position = random_below(9);
    } while (chosen[position] != '1');
    if (position == 4)
        self->set_speed(0);
    self->set_direction(DIRECTIONS[position]);
}

void action_reverse_xdir(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_hspeed(-self->hspeed());
}

void action_reverse_ydir(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_vspeed(-self->vspeed());
}

// Against every instance only when argument 1 is exactly 1, the library's "all"; else against solid ones.
void action_bounce(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (Collisions* collisions = self ? collisions_for(call) : nullptr)
        collisions->bounce(*self, is_true(real_argument(call, 0)), real_argument(call, 1) == 1);
}

void action_move_start(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_position(self->xstart, self->ystart);
}

void action_move_to(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_position(relative_x(call, 0, *self), relative_y(call, 1, *self));
}

// Up to 100 random places of the room, snapped down to the grid; the instance goes to the first free one.
void action_move_random(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    LiveRoom* room = playing_room();
    Collisions* collisions = self && room ? collisions_for(call) : nullptr;
    if (!collisions)
        return;
    double hsnap = real_argument(call, 0);
    double vsnap = real_argument(call, 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        double x = random_below(room->width);
        double y = random_below(room->height);
        if (hsnap > 0)
            x = hsnap * std::floor(x / hsnap);
        if (vsnap > 0)
            y = vsnap * std::floor(y / vsnap);
        if (collisions->place_free(*self, x, y)) {
            self->set_position(x, y);
            return;
        }
    }
}

void action_set_hspeed(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_hspeed(amount(call, 0, self->hspeed()));
}

void action_set_vspeed(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->set_vspeed(amount(call, 0, self->vspeed()));
}

void action_set_gravity(FunctionCall& call)
{
    if (CInstance* self = self_instance(call)) {
        self->gravity_direction = amount(call, 0, self->gravity_direction);
        self->gravity = amount(call, 1, self->gravity);
    }
}

void action_set_friction(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->friction = amount(call, 0, self->friction);
}

void action_set_motion(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (!self)
        return;
    if (relative_flag()) {
        self->add_motion(real_argument(call, 1), real_argument(call, 0));
        return;
    }
    self->set_direction(real_argument(call, 0));
    self->set_speed(real_argument(call, 1));
}

void action_snap(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        snap_to_grid(*self, real_argument(call, 0), real_argument(call, 1));
}

void action_move_point(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        move_towards(*self, relative_x(call, 0, *self), relative_y(call, 1, *self), real_argument(call, 2));
}

void action_path(FunctionCall& call)
{
    if (CInstance* self = self_instance(call)) {
        self->set_speed(real_argument(call, 1));
        self->path_index = integer_argument(call, 0);
        self->path_position = integer_argument(call, 2);
    }
}

void action_move_contact(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (Collisions* collisions = self ? collisions_for(call) : nullptr)
        collisions->move_contact(
            *self, real_argument(call, 0), real_argument(call, 1), is_true(real_argument(call, 2)));
}

void action_kill_object(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->destroy_instance(*self);
}

void action_create_object(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->create_instance(
            integer_argument(call, 0), relative_x(call, 1, *self), relative_y(call, 2, *self));
}

void action_change_object(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->change_instance(*self, integer_argument(call, 0), integer_argument(call, 1) > 0);
}

void action_kill_position(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (Collisions* collisions = self ? collisions_for(call) : nullptr)
        collisions->destroy_at(relative_x(call, 0, *self), relative_y(call, 1, *self));
}

void action_set_sprite(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (!self)
        return;
    World::installed()->set_sprite_checked(*self, integer_argument(call, 0));
    if (real_argument(call, 1) > 0)
        self->set_image_scale(real_argument(call, 1));
}

// The room actions give their transition the fixed parameters.
void use_action_transition(World& world, const FunctionCall& call, int kind_index)
{
    world.set_transition({ integer_argument(call, kind_index), ACTION_TRANSITION_TIME, ACTION_TRANSITION_STEPS });
}

void action_another_room(FunctionCall& call)
{
    if (World* world = World::installed()) {
        use_action_transition(*world, call, 1);
        world->go_to_room(integer_argument(call, 0), integer_argument(call, 1));
    }
}

void action_current_room(FunctionCall& call)
{
    if (World* world = World::installed()) {
        use_action_transition(*world, call, 0);
        world->restart_room();
    }
}

void action_previous_room(FunctionCall& call)
{
    if (World* world = World::installed()) {
        use_action_transition(*world, call, 0);
        world->go_to_previous_room();
    }
}

void action_next_room(FunctionCall& call)
{
    if (World* world = World::installed()) {
        use_action_transition(*world, call, 0);
        world->go_to_next_room();
    }
}

void action_if_previous_room(FunctionCall& call)
{
    if (World* world = World::installed())
        set_bool_result(call, world->current_room_index() != world->first_room());
}

void action_if_next_room(FunctionCall& call)
{
    if (World* world = World::installed())
        set_bool_result(call, world->current_room_index() != world->last_room());
}

void action_set_alarm(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (!self)
        return;
    int alarm = integer_argument(call, 1);
    // Added as reals, so that a sum beyond the integers stops at their end.
    double value = integer_argument(call, 0);
    if (relative_flag() && self->alarm(alarm) >= 0)
        value += self->alarm(alarm);
    self->set_alarm(alarm, round_to_int32(value));
}

void action_sleep(FunctionCall& call)
{
    if (is_true(real_argument(call, 1))) {
        if (play_services().redraw)
            play_services().redraw();
        else
            report_not_available(call);
    }
    sleep_for(call, real_argument(call, 0));
}

void action_set_timeline(FunctionCall& call)
{
    if (CInstance* self = self_instance(call)) {
        self->timeline_index = integer_argument(call, 0);
        self->timeline_position = integer_argument(call, 1);
    }
}

void action_set_timeline_position(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->timeline_position = integer_argument(call, 0) + (relative_flag() ? self->timeline_position : 0);
}

void action_end_game(FunctionCall&)
{
    if (World* world = World::installed())
        world->set_pending_change(CHANGE_END_GAME);
}

void action_restart_game(FunctionCall&)
{
    if (World* world = World::installed())
        world->set_pending_change(CHANGE_RESTART);
}

void action_save_game(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->save(string_argument(call, 0).str());
}

void action_load_game(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->request_load(string_argument(call, 0).str());
}

// Place empty when round(arg 2) is not 0, else place free, at the (relative) place.
bool free_at(FunctionCall& call, bool& answered)
{
    CInstance* self = self_instance(call);
    Collisions* collisions = self ? collisions_for(call) : nullptr;
    answered = collisions != nullptr;
    if (!answered)
        return false;
    double x = relative_x(call, 0, *self);
    double y = relative_y(call, 1, *self);
    return integer_argument(call, 2) != 0 ? collisions->place_empty(*self, x, y) : collisions->place_free(*self, x, y);
}

void action_if_empty(FunctionCall& call)
{
    bool answered = false;
    bool free = free_at(call, answered);
    if (answered)
        set_bool_result(call, free);
}

void action_if_collision(FunctionCall& call)
{
    bool answered = false;
    bool free = free_at(call, answered);
    if (answered)
        set_bool_result(call, !free);
}

void action_if(FunctionCall& call)
{
    call.result = call.argument(0);
}

void action_if_number(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    LiveRoom* room = playing_room();
    if (!self || !room)
        return;
    int count = count_selected(*room, selector_argument(call, 0, *self));
    set_bool_result(call, compare(count, real_argument(call, 1), call, 2));
}

void action_if_object(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (Collisions* collisions = self ? collisions_for(call) : nullptr)
        set_bool_result(call,
            collisions->place_meeting(
                *self, relative_x(call, 1, *self), relative_y(call, 2, *self), selector_argument(call, 0, *self)));
}

void action_if_dice(FunctionCall& call)
{
    double sides = real_argument(call, 0);
    set_bool_result(call, sides <= 1 || random_below(round_to_int64(1000 * sides)) < 1001);
}

void action_if_mouse(FunctionCall& call)
{
    GameLoop* loop = loop_for(call);
    if (!loop)
        return;
    const InputState& input = loop->input();
    int button = integer_argument(call, 0);
    bool pressed = button >= 1 && button <= 3 ? input.buttons[button].state != 0 : input.mouse_button == 0;
    set_bool_result(call, pressed);
}

void action_if_aligned(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        set_bool_result(call, is_on_grid(*self, real_argument(call, 0), real_argument(call, 1)));
}

// The script runs with self, other and the five arguments; its error is reported here with the event's place.
void action_execute_script(FunctionCall& call)
{
    ArgumentFrame arguments;
    for (int i = 1; i <= 5; ++i)
        arguments.push(call.argument(i));
    if (!scripts().call(integer_argument(call, 0), call.self, call.other, arguments, call.result)
        && errors().code_error_pending()) {
        report_function_error(errors().code_error_text());
        errors().clear_code_error();
    }
}

void action_if_variable(FunctionCall& call)
{
    set_bool_result(call, compare(real_argument(call, 0), real_argument(call, 1), call, 2));
}

// 1 windowed, 2 full screen, anything else the other of the two.
void action_fullscreen(FunctionCall& call)
{
    Screen* screen = play_services().screen;
    if (!screen) {
        report_not_available(call);
        return;
    }
    switch (integer_argument(call, 0)) {
    case 1:
        screen->set_full_screen(false);
        break;
    case 2:
        screen->set_full_screen(true);
        break;
    default:
        screen->toggle_full_screen();
        break;
    }
}

void action_message(FunctionCall& call)
{
    const auto& show = play_services().show_message;
    if (windows_suppressed())
        return;
    if (!show) {
        report_not_available(call);
        return;
    }
    std::string text;
    append_hash_text(string_argument(call, 0).view(), text);
    show(text);
    forget_input();
}

// Suppressed, the question counts as answered "Yes".
void action_if_question(FunctionCall& call)
{
    const auto& ask = play_services().ask_question;
    if (windows_suppressed()) {
        set_bool_result(call, true);
        return;
    }
    if (!ask) {
        report_not_available(call);
        return;
    }
    std::string text;
    append_hash_text(string_argument(call, 0).view(), text);
    set_bool_result(call, ask(text));
    forget_input();
}

void action_show_info(FunctionCall& call)
{
    const auto& show = play_services().show_game_information;
    if (windows_suppressed())
        return;
    if (!show) {
        report_not_available(call);
        return;
    }
    show();
    forget_input();
}

ServiceFunction s_sound_play("sound_play");
ServiceFunction s_sound_loop("sound_loop");
ServiceFunction s_sound_stop("sound_stop");
ServiceFunction s_sound_isplaying("sound_isplaying");
ServiceFunction s_highscore_show("highscore_show");
ServiceFunction s_highscore_clear("highscore_clear");

void action_sound(FunctionCall& call)
{
    ServiceFunction& play = is_true(real_argument(call, 1)) ? s_sound_loop : s_sound_play;
    play(call, { double(integer_argument(call, 0)) });
}

void action_end_sound(FunctionCall& call)
{
    s_sound_stop(call, { double(integer_argument(call, 0)) });
}

void action_if_sound(FunctionCall& call)
{
    set_bool_result(call, is_true(s_sound_isplaying(call, { double(integer_argument(call, 0)) }).real));
}

void action_highscore(FunctionCall& call)
{
    if (windows_suppressed())
        return;
    s_highscore_show(call, { double(game_counters().score) });
    forget_input();
}

// The table's look is set even when no window may show; a font that cannot be read is reported and left.
void action_highscore_show(FunctionCall& call)
{
    HighscoreSettings& settings = highscore_settings();
    settings.background = integer_argument(call, 0);
    settings.border = integer_argument(call, 1) == 1;
    settings.new_entry_color = integer_argument(call, 2);
    settings.other_color = integer_argument(call, 3);
    std::optional<FontDescription> font;
    if (call.argument(4).is_string())
        font = parse_font_description(string_argument(call, 4).view());
    if (!font) {
        report_wrong_argument(call);
    } else {
        if (!font->name.empty())
            settings.font_name = font->name;
        settings.font_size = font->size.value_or(settings.font_size);
        settings.font_style = font->style.value_or(settings.font_style);
    }
    action_highscore(call);
}
void action_highscore_clear(FunctionCall& call)
{
    s_highscore_clear(call, {});
}

ServiceVariable s_show_score("show_score");
ServiceVariable s_show_lives("show_lives");
ServiceVariable s_show_health("show_health");
ServiceVariable s_caption_score("caption_score");
ServiceVariable s_caption_lives("caption_lives");
ServiceVariable s_caption_health("caption_health");

// Written as the caption variables, so that the caption counts as set by the game.
void action_set_caption(FunctionCall& call)
{
    s_show_score.set(call, integer_argument(call, 0) == 1);
    s_caption_score.set(call, string_argument(call, 1));
    s_show_lives.set(call, integer_argument(call, 2) == 1);
    s_caption_lives.set(call, string_argument(call, 3));
    s_show_health.set(call, integer_argument(call, 4) == 1);
    s_caption_health.set(call, string_argument(call, 5));
}

// Score, lives and health are set as their built-in variables are, so running out performs the same events
// and a sum beyond the integers stops at their end.
void set_counter(FunctionCall& call, int variable, double value)
{
    builtin_variables().write(call.self, variable, 0, Value(value));
}

// round(argument 0), with the relative flag added to the current count.
double rounded_amount(const FunctionCall& call, std::int32_t current)
{
    return double(integer_argument(call, 0)) + (relative_flag() ? current : 0);
}

void action_set_score(FunctionCall& call)
{
    set_counter(call, VARIABLE_SCORE, rounded_amount(call, game_counters().score));
}

void action_if_score(FunctionCall& call)
{
    set_bool_result(call, compare(game_counters().score, real_argument(call, 0), call, 1));
}

void action_set_life(FunctionCall& call)
{
    set_counter(call, VARIABLE_LIVES, rounded_amount(call, game_counters().lives));
}

void action_if_life(FunctionCall& call)
{
    set_bool_result(call, compare(game_counters().lives, real_argument(call, 0), call, 1));
}

void action_set_health(FunctionCall& call)
{
    set_counter(call, VARIABLE_HEALTH, amount(call, 0, game_counters().health));
}

void action_if_health(FunctionCall& call)
{
    set_bool_result(call, compare(game_counters().health, real_argument(call, 0), call, 1));
}

constexpr FunctionEntry ACTION_FUNCTIONS[] = {
    { "action_move", 2, action_move },
    { "action_reverse_xdir", 0, action_reverse_xdir },
    { "action_reverse_ydir", 0, action_reverse_ydir },
    { "action_bounce", 2, action_bounce },
    { "action_move_start", 0, action_move_start },
    { "action_move_to", 2, action_move_to },
    { "action_move_random", 2, action_move_random },
    { "action_set_hspeed", 1, action_set_hspeed },
    { "action_set_vspeed", 1, action_set_vspeed },
    { "action_set_gravity", 2, action_set_gravity },
    { "action_set_friction", 1, action_set_friction },
    { "action_set_motion", 2, action_set_motion },
    { "action_snap", 2, action_snap },
    { "action_move_point", 3, action_move_point },
    { "action_path", 3, action_path },
    { "action_move_contact", 3, action_move_contact },
    { "action_kill_object", 0, action_kill_object },
    { "action_create_object", 3, action_create_object },
    { "action_change_object", 2, action_change_object },
    { "action_kill_position", 2, action_kill_position },
    { "action_set_sprite", 2, action_set_sprite },
    { "action_sound", 2, action_sound },
    { "action_end_sound", 2, action_end_sound },
    { "action_if_sound", 1, action_if_sound },
    { "action_another_room", 2, action_another_room },
    { "action_current_room", 1, action_current_room },
    { "action_previous_room", 1, action_previous_room },
    { "action_next_room", 1, action_next_room },
    { "action_if_previous_room", 0, action_if_previous_room },
    { "action_if_next_room", 0, action_if_next_room },
    { "action_set_alarm", 2, action_set_alarm },
    { "action_sleep", 2, action_sleep },
    { "action_set_timeline", 2, action_set_timeline },
    { "action_set_timeline_position", 1, action_set_timeline_position },
    { "action_message", 1, action_message },
    { "action_end_game", 0, action_end_game },
    { "action_restart_game", 0, action_restart_game },
    { "action_save_game", 1, action_save_game },
    { "action_load_game", 1, action_load_game },
    { "action_show_info", 0, action_show_info },
    { "action_if_empty", 3, action_if_empty },
    { "action_if_collision", 3, action_if_collision },
    { "action_if", 1, action_if },
    { "action_if_number", 3, action_if_number },
    { "action_if_object", 3, action_if_object },
    { "action_if_question", 1, action_if_question },
    { "action_if_dice", 1, action_if_dice },
    { "action_if_mouse", 1, action_if_mouse },
    { "action_if_aligned", 2, action_if_aligned },
    { "action_fullscreen", 1, action_fullscreen },
    { "action_execute_script", 6, action_execute_script },
    { "action_if_variable", 3, action_if_variable },
    { "action_set_score", 1, action_set_score },
    { "action_if_score", 2, action_if_score },
    { "action_highscore", 0, action_highscore },
    { "action_highscore_show", 5, action_highscore_show },
    { "action_highscore_clear", 0, action_highscore_clear },
    { "action_set_life", 1, action_set_life },
    { "action_if_life", 2, action_if_life },
    { "action_set_health", 1, action_set_health },
    { "action_if_health", 2, action_if_health },
    { "action_set_caption", 6, action_set_caption },
};

} // namespace

std::span<const FunctionEntry> action_functions()
{
    return ACTION_FUNCTIONS;
}

} // namespace quillon
