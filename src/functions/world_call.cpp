// What the world's built-in handlers share: the services of a game that plays, and their lookups.
#include "functions/world_call.h"

#include "code/builtin_variables.h"
#include "code/messages.h"
#include "functions/world_families.h"
#include "platform/clock.h"
#include "world/game_loop.h"
#include "world/instance_queries.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

PlayServices& play_services()
{
    static PlayServices s_services;
    return s_services;
}

void report_not_available(const FunctionCall& call)
{
    report_function_error(message::NOT_AVAILABLE + function_registry().at(call.index).name);
}

void report_wrong_argument(const FunctionCall& call)
{
    report_function_error("Wrong argument to " + function_registry().at(call.index).name + "().");
}

bool windows_suppressed()
{
    return errors().m_settings.exclusive_mode;
}

void forget_input()
{
    if (GameLoop* loop = play_services().loop)
        loop->input().clear();
}

GameLoop* loop_for(const FunctionCall& call)
{
    GameLoop* loop = play_services().loop;
    if (!loop)
        report_not_available(call);
    return loop;
}

Collisions* collisions_for(const FunctionCall& call)
{
    GameLoop* loop = loop_for(call);
    return loop ? &loop->collisions() : nullptr;
}

std::int32_t selector_argument(const FunctionCall& call, int i, const CInstance& self)
{
    std::int32_t selector = integer_argument(call, i);
    if (selector == -1)
        return self.m_id;
    if (selector == -2) {
        const CInstance* other = other_instance(call);
        return other ? other->m_id : SELECTOR_NONE;
    }
    return selector;
}

void sleep_for(const FunctionCall& call, double milliseconds)
{
    platform::Clock* clock = play_services().clock;
    if (!clock) {
        report_not_available(call);
        return;
    }
    std::int64_t rounded = std::clamp<std::int64_t>(round_to_int64(milliseconds), 0, UINT32_MAX);
    clock->sleep_ms(static_cast<std::uint32_t>(rounded));
}

Value ServiceFunction::operator()(const FunctionCall& call, std::initializer_list<Value> arguments)
{
    Value result;
    if (m_index < 0)
        m_index = function_registry().find(m_name).value_or(-1);
    if (m_index < 0 || m_index >= static_cast<std::int32_t>(function_registry().size()))
        return result;
    FunctionCall inner { call.self, call.other, static_cast<std::int32_t>(arguments.size()), arguments.begin(), result,
        m_index };
    function_registry().at(m_index).handler(inner);
    return result;
}

std::int32_t ServiceVariable::id()
{
    if (m_id < 0)
        m_id = builtin_variables().find(m_name);
    return m_id;
}

Value ServiceVariable::get(const FunctionCall& call)
{
    Value value;
    builtin_variables().read(call.self, id(), 0, value);
    return value;
}

void ServiceVariable::set(const FunctionCall& call, const Value& value)
{
    builtin_variables().write(call.self, id(), 0, value);
}

} // namespace quillon
