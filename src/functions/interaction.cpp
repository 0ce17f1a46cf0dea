// The Interaction family: place and move tests, motion, distances, finding, making and changing instances,
// positions, rooms, the end, restart, loading and saving of the game, and sleeping.
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "world/game_loop.h"
#include "world/instance_queries.h"

namespace quillon {

namespace {

// The place tests and moves of self against the loop's collisions, when both are there.
struct SelfCollisions {
    CInstance* self; // the instance tested or moved
    Collisions* collisions; // the loop's collisions
    explicit operator bool() const { return collisions != nullptr; }
};
SelfCollisions self_collisions(const FunctionCall& call)
{
    CInstance* self = self_instance(call);
    return { self, self ? collisions_for(call) : nullptr };
}

void place_free(FunctionCall& call)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        set_bool_result(call, collisions->place_free(*self, real_argument(call, 0), real_argument(call, 1)));
}

void place_empty(FunctionCall& call)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        set_bool_result(call, collisions->place_empty(*self, real_argument(call, 0), real_argument(call, 1)));
}

void place_meeting(FunctionCall& call)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        set_bool_result(call,
            collisions->place_meeting(
                *self, real_argument(call, 0), real_argument(call, 1), selector_argument(call, 2, *self)));
}

void place_snapped(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        set_bool_result(call, is_on_grid(*self, real_argument(call, 0), real_argument(call, 1)));
}

void move_snap(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        snap_to_grid(*self, real_argument(call, 0), real_argument(call, 1));
}

void move_towards_point(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        move_towards(*self, real_argument(call, 0), real_argument(call, 1), real_argument(call, 2));
}

// Free of solid instances: up to contact with them; else out of them.
void move_contact(FunctionCall& call)
{
    auto [self, collisions] = self_collisions(call);
    if (!collisions)
        return;
    double direction = real_argument(call, 0);
    if (collisions->place_free(*self, self->x(), self->y()))
        collisions->move_contact(*self, direction, 1000, false);
    else
        collisions->move_outside(*self, direction, 1000, false);
}

void move_contact_with(FunctionCall& call, bool all)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        collisions->move_contact(*self, real_argument(call, 0), real_argument(call, 1), all);
}
void move_contact_solid(FunctionCall& call)
{
    move_contact_with(call, false);
}
void move_contact_all(FunctionCall& call)
{
    move_contact_with(call, true);
}

void move_outside_with(FunctionCall& call, bool all)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        collisions->move_outside(*self, real_argument(call, 0), real_argument(call, 1), all);
}
void move_outside_solid(FunctionCall& call)
{
    move_outside_with(call, false);
}
void move_outside_all(FunctionCall& call)
{
    move_outside_with(call, true);
}

void move_bounce_with(FunctionCall& call, bool all)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        collisions->bounce(*self, is_true(real_argument(call, 0)), all);
}
void move_bounce(FunctionCall& call)
{
    move_bounce_with(call, false);
}
void move_bounce_all(FunctionCall& call)
{
    move_bounce_with(call, true);
}

void motion_set(FunctionCall& call)
{
    if (CInstance* self = self_instance(call)) {
        self->set_direction(real_argument(call, 0));
        self->set_speed(real_argument(call, 1));
    }
}

void motion_add(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        self->add_motion(real_argument(call, 1), real_argument(call, 0));
}

void distance_to_point(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        call.result.set_real(distance_to_point(*self, real_argument(call, 0), real_argument(call, 1)));
}

void distance_to_object(FunctionCall& call)
{
    CInstance* self = self_instance(call);
    if (LiveRoom* room = self ? playing_room() : nullptr)
        call.result.set_real(distance_to_object(*room, *self, other_instance(call), integer_argument(call, 0)));
}

void instance_find(FunctionCall& call)
{
    if (LiveRoom* room = playing_room())
        set_instance_result(call, find_selected(*room, integer_argument(call, 0), integer_argument(call, 1)));
    else
        set_instance_result(call, nullptr);
}

// The selected instances not marked destroyed. Self (-1) and other (-2) count themselves, 1 or 0, also when
// they are not in the room (the temporary instance of room code) or an instance with their id follows them.
int counted_instances(const FunctionCall& call, const LiveRoom& room)
{
    std::int32_t selector = integer_argument(call, 0);
    if (selector == -1 || selector == -2) {
        const CInstance* instance = selector == -1 ? self_instance(call) : other_instance(call);
        return instance && !instance->m_destroyed ? 1 : 0;
    }
    return count_selected(room, selector);
}

void instance_exists(FunctionCall& call)
{
    if (LiveRoom* room = self_instance(call) ? playing_room() : nullptr)
        set_bool_result(call, counted_instances(call, *room) > 0);
}

void instance_number(FunctionCall& call)
{
    if (LiveRoom* room = self_instance(call) ? playing_room() : nullptr)
        call.result.set_real(counted_instances(call, *room));
}

void instance_position(FunctionCall& call)
{
    if (Collisions* collisions = self_instance(call) ? collisions_for(call) : nullptr)
        set_instance_result(call,
            collisions->instance_position(real_argument(call, 0), real_argument(call, 1), integer_argument(call, 2)));
}

void instance_nearest(FunctionCall& call)
{
    LiveRoom* room = playing_room();
    set_instance_result(call,
        room ? nearest_selected(*room, real_argument(call, 0), real_argument(call, 1), integer_argument(call, 2))
             : nullptr);
}

void instance_furthest(FunctionCall& call)
{
    LiveRoom* room = playing_room();
    set_instance_result(call,
        room ? furthest_selected(*room, real_argument(call, 0), real_argument(call, 1), integer_argument(call, 2))
             : nullptr);
}

void instance_place(FunctionCall& call)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        set_instance_result(call,
            collisions->instance_place(
                *self, real_argument(call, 0), real_argument(call, 1), integer_argument(call, 2)));
}

// A missing object is reported by the world; the result is then -4, no instance.
void instance_create(FunctionCall& call)
{
    World* world = World::installed();
    set_instance_result(call,
        world ? world->create_instance(integer_argument(call, 2), real_argument(call, 0), real_argument(call, 1))
              : nullptr);
}

void instance_copy(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        set_instance_result(call, World::installed()->copy_instance(*self, is_true(real_argument(call, 0))));
}

void instance_change(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->change_instance(*self, integer_argument(call, 0), is_true(real_argument(call, 1)));
}

void instance_destroy(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->destroy_instance(*self);
}

void instance_sprite(FunctionCall& call)
{
    if (CInstance* self = self_instance(call))
        World::installed()->set_sprite_checked(*self, integer_argument(call, 0));
}

void position_empty(FunctionCall& call)
{
    if (Collisions* collisions = self_instance(call) ? collisions_for(call) : nullptr)
        set_bool_result(
            call, !collisions->instance_position(real_argument(call, 0), real_argument(call, 1), SELECTOR_ALL));
}

void position_meeting(FunctionCall& call)
{
    if (auto [self, collisions] = self_collisions(call); collisions)
        set_bool_result(call,
            collisions->instance_position(
                real_argument(call, 0), real_argument(call, 1), selector_argument(call, 2, *self))
                != nullptr);
}

void position_destroy(FunctionCall& call)
{
    if (Collisions* collisions = World::installed() ? collisions_for(call) : nullptr)
        collisions->destroy_at(real_argument(call, 0), real_argument(call, 1));
}

void position_change(FunctionCall& call)
{
    if (Collisions* collisions = World::installed() ? collisions_for(call) : nullptr)
        collisions->change_at(
            real_argument(call, 0), real_argument(call, 1), integer_argument(call, 2), is_true(real_argument(call, 3)));
}

void room_goto(FunctionCall& call)
{
    if (World* world = World::installed())
        world->go_to_room(integer_argument(call, 0), world->transition().kind);
}

void room_goto_previous(FunctionCall&)
{
    if (World* world = World::installed())
        world->go_to_previous_room();
}

void room_goto_next(FunctionCall&)
{
    if (World* world = World::installed())
        world->go_to_next_room();
}

void room_previous(FunctionCall& call)
{
    World* world = World::installed();
    call.result.set_real(world ? world->previous_room(integer_argument(call, 0)) : -1);
}

void room_next(FunctionCall& call)
{
    World* world = World::installed();
    call.result.set_real(world ? world->next_room(integer_argument(call, 0)) : -1);
}

void room_restart(FunctionCall&)
{
    if (World* world = World::installed())
        world->restart_room();
}

void game_end(FunctionCall&)
{
    if (World* world = World::installed())
        world->set_pending_change(CHANGE_END_GAME);
}

void game_restart(FunctionCall&)
{
    if (World* world = World::installed())
        world->set_pending_change(CHANGE_RESTART);
}

void game_load(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->request_load(string_argument(call, 0).str());
}

void game_save(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->save(string_argument(call, 0).str());
}

void sleep(FunctionCall& call)
{
    sleep_for(call, real_argument(call, 0));
}

constexpr FunctionEntry INTERACTION_FUNCTIONS[] = {
    { "place_free", 2, place_free },
    { "place_empty", 2, place_empty },
    { "place_meeting", 3, place_meeting },
    { "place_snapped", 2, place_snapped },
    { "move_snap", 2, move_snap },
    { "move_towards_point", 3, move_towards_point },
    { "move_contact", 1, move_contact },
    { "move_contact_solid", 2, move_contact_solid },
    { "move_contact_all", 2, move_contact_all },
    { "move_outside_solid", 2, move_outside_solid },
    { "move_outside_all", 2, move_outside_all },
    { "move_bounce", 1, move_bounce },
    { "move_bounce_all", 1, move_bounce_all },
    { "motion_set", 2, motion_set },
    { "motion_add", 2, motion_add },
    { "distance_to_point", 2, distance_to_point },
    { "distance_to_object", 1, distance_to_object },
    { "instance_find", 2, instance_find },
    { "instance_exists", 1, instance_exists },
    { "instance_number", 1, instance_number },
    { "instance_position", 3, instance_position },
    { "instance_nearest", 3, instance_nearest },
    { "instance_furthest", 3, instance_furthest },
    { "instance_place", 3, instance_place },
    { "instance_create", 3, instance_create },
    { "instance_copy", 1, instance_copy },
    { "instance_change", 2, instance_change },
    { "instance_destroy", 0, instance_destroy },
    { "instance_sprite", 1, instance_sprite },
    { "position_empty", 2, position_empty },
    { "position_meeting", 3, position_meeting },
    { "position_destroy", 2, position_destroy },
    { "position_change", 4, position_change },
    { "room_goto", 1, room_goto },
    { "room_goto_previous", 0, room_goto_previous },
    { "room_goto_next", 0, room_goto_next },
    { "room_previous", 1, room_previous },
    { "room_next", 1, room_next },
    { "room_restart", 0, room_restart },
    { "game_end", 0, game_end },
    { "game_restart", 0, game_restart },
    { "game_load", 1, game_load },
    { "game_save", 1, game_save },
    { "sleep", 1, sleep },
};

} // namespace

std::span<const FunctionEntry> interaction_functions()
{
    return INTERACTION_FUNCTIONS;
}

} // namespace quillon
