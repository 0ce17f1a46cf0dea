// The Events family: performing events on demand and inherited events, for the function table.
#include "functions/events.h"

#include "world/world.h"

namespace quillon {

namespace {

// Every instance that code runs for is one of the world's.
CInstance* instance_of(ScriptInstance* instance) { return static_cast<CInstance*>(instance); }

void event_perform(FunctionCall& call)
{
    if (World* world = World::installed())
        world->perform_event(instance_of(call.self), instance_of(call.other), instance_of(call.self)->object_index,
                             integer_argument(call, 0), integer_argument(call, 1));
}

void event_user(FunctionCall& call)
{
    if (World* world = World::installed())
        world->perform_event(instance_of(call.self), instance_of(call.other), instance_of(call.self)->object_index,
                             EVENT_OTHER, OTHER_USER_0 + integer_argument(call, 0));
}

void event_perform_object(FunctionCall& call)
{
    if (World* world = World::installed())
        world->perform_event(instance_of(call.self), instance_of(call.other), integer_argument(call, 0),
                             integer_argument(call, 1), integer_argument(call, 2));
}

void action_inherited(FunctionCall& call)
{
    if (World* world = World::installed())
        world->perform_inherited(instance_of(call.self), instance_of(call.other));
}

constexpr FunctionEntry EVENT_FUNCTIONS[] = {
    {"event_perform", 2, event_perform},
    {"event_user", 1, event_user},
    {"event_perform_object", 3, event_perform_object},
    {"action_inherited", 0, action_inherited},
};

}  // namespace

std::span<const FunctionEntry> event_functions() { return EVENT_FUNCTIONS; }

}  // namespace quillon
