// What the world's built-in handlers share: the world, self and other of a call, the relative flag, the game
// loop's collisions, and the built-ins and variables of other services that the actions go through.
#pragma once

#include "functions/args.h"
#include "world/collision.h"
#include "world/world.h"

#include <cstdint>
#include <initializer_list>

namespace quillon {

class GameLoop;

// Self of a call while a world is installed (code then only ever runs for the world's instances); else none.
inline CInstance* self_instance(const FunctionCall& call)
{
    return World::installed() ? static_cast<CInstance*>(call.self) : nullptr;
}
inline CInstance* other_instance(const FunctionCall& call)
{
    return World::installed() ? static_cast<CInstance*>(call.other) : nullptr;
}
// The room being played, none outside a game.
inline LiveRoom* playing_room()
{
    World* world = World::installed();
    return world ? world->current_room() : nullptr;
}

inline bool relative_flag()
{
    World* world = World::installed();
    return world && world->relative();
}
// Argument i as a coordinate: with the relative flag, taken from self's x (or y).
inline double relative_x(const FunctionCall& call, int i, const CInstance& self)
{
    return real_argument(call, i) + (relative_flag() ? self.x() : 0);
}
inline double relative_y(const FunctionCall& call, int i, const CInstance& self)
{
    return real_argument(call, i) + (relative_flag() ? self.y() : 0);
}

// A service the call needs is missing: the function reports itself as not available.
void report_not_available(const FunctionCall& call);
// An argument the function cannot use: "Wrong argument to <name>()."
void report_wrong_argument(const FunctionCall& call);
// No window shows in exclusive graphics mode.
bool windows_suppressed();
// The keys and clicks that closed a window do not reach the game.
void forget_input();
// The game loop, and its collisions; without a loop the call is reported as not available and none is given.
GameLoop* loop_for(const FunctionCall& call);
Collisions* collisions_for(const FunctionCall& call);

// The selector of argument i, where -1 stands for self's id and -2 for other's.
std::int32_t selector_argument(const FunctionCall& call, int i, const CInstance& self);

// An instance result: its id, or -4 for none.
inline void set_instance_result(FunctionCall& call, const CInstance* instance)
{
    call.result.set_real(instance ? instance->m_id : -4);
}
inline void set_bool_result(FunctionCall& call, bool value)
{
    call.result.set_real(value ? 1 : 0);
}

// A built-in of a service, looked up by name on first use. The actions reach sounds, drawing and highscores
// through these, so that they behave exactly as scripts calling them (and report themselves in the same way
// while the service is missing).
class ServiceFunction {
public:
    explicit constexpr ServiceFunction(const char* name)
        : m_name(name)
    {
    }
    // Calls it for the same self and other; its result, real 0 when the built-in is not registered.
    Value operator()(const FunctionCall& call, std::initializer_list<Value> arguments);

private:
    const char* m_name; // the built-in's name
    std::int32_t m_index = -1; // its function index, once found
};

// A built-in variable of a service (the pen, brush, font and caption), looked up by name on first use.
class ServiceVariable {
public:
    explicit constexpr ServiceVariable(const char* name)
        : m_name(name)
    {
    }
    Value get(const FunctionCall& call);
    void set(const FunctionCall& call, const Value& value);

private:
    std::int32_t id();

    const char* m_name; // the variable's name
    std::int32_t m_id = -1; // its id, once found
};

// Sleeps round(milliseconds) on the game's clock; negative times do not sleep.
void sleep_for(const FunctionCall& call, double milliseconds);

} // namespace quillon
