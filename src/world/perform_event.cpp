// Perform event: finding an event through the parents and running its actions with their flow.
#include "world/world.h"

#include "code/code_unit.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/script.h"
#include "code/stack_guard.h"

#include <algorithm>

namespace quillon {

namespace {

// Returned instead of an action index when the event is to stop.
constexpr int END_OF_EVENT = 10000000;

// Events that perform themselves without end, or blocks nested without end in a hostile file, would run
// the stack out; the game stops with this instead.
constexpr const char* NESTED_TOO_DEEPLY = "Events and action blocks nest too deeply: the game stops.";

}  // namespace

void World::perform_event(CInstance* self, CInstance* other, std::int32_t object, int kind, std::int32_t number)
{
    // 1. Nothing runs while a room change, restart, load or end waits.
    if (m_pending_change != CHANGE_NONE)
        return;
    // 2. The event of the object or of its nearest ancestor that has one.
    const CEvent* event = m_tree.find_event(object, kind, number);
    if (!event)
        return;
    // 3. The current event names the object the lookup started from, for messages and event_inherited.
    ErrorContext saved = errors().m_context;
    errors().m_context = ErrorContext {object, kind, number, 0};
    // 4. The actions, then the caller's current event again.
    run_actions(*event, self, other);
    errors().m_context = saved;
}

void World::perform_event_for_all(int kind, std::int32_t number)
{
    if (!m_current)
        return;
    // Instances created by these events are not visited.
    int count = m_current->instance_count();
    for (int i = 0; i < count; ++i) {
        CInstance* instance = m_current->instance(i);
        if (!instance->m_destroyed)
            perform_event(instance, instance, instance->object_index, kind, number);
    }
}

void World::perform_moment(CInstance& instance, std::int32_t time_line, int moment)
{
    const CTimeLine* line = m_time_lines.get(time_line);
    if (m_pending_change != CHANGE_NONE || !line || moment < 0 || moment >= static_cast<int>(line->moments.size()))
        return;
    const Moment& fired = line->moments[moment];
    ErrorContext saved = errors().m_context;
    errors().m_context = ErrorContext {time_line, ErrorContext::TIME_LINE_EVENT, fired.step, 0};
    run_actions(fired.event, &instance, &instance);
    errors().m_context = saved;
}

void World::perform_inherited(CInstance* self, CInstance* other)
{
    const ErrorContext& current = errors().m_context;
    if (current.event_type == ErrorContext::TIME_LINE_EVENT)
        return;
    std::int32_t parent = m_tree.parent(current.object);
    if (parent >= 0)
        perform_event(self, other, parent, current.event_type, current.event_number);
}

void World::run_actions(const CEvent& event, CInstance* self, CInstance* other)
{
    const std::vector<CAction>& actions = event.actions;
    int count = static_cast<int>(actions.size());
    for (int i = 0; i < count && m_pending_change == CHANGE_NONE;)
        i = execute_at(actions, i, self, other);
}

// Runs the action at index (a block, a repeat or a question with what it governs) and gives the index
// of the action that comes next, or END_OF_EVENT.
int World::execute_at(const std::vector<CAction>& actions, int index, CInstance* self, CInstance* other)
{
    int count = static_cast<int>(actions.size());
    if (index < 0 || index >= count || m_pending_change != CHANGE_NONE)
        return END_OF_EVENT;
    errors().m_context.action = index;
    if (stack_nearly_exhausted()) {
        errors().report_in_context(NESTED_TOO_DEEPLY, true);
        m_pending_change = CHANGE_STOP;
        return END_OF_EVENT;
    }
    const CAction& action = actions[index];
    // 1. A block runs up to its end block.
    if (action.kind == ACTION_BEGIN_BLOCK) {
        int next = index + 1;
        while (next < count && actions[next].kind != ACTION_END_BLOCK) {
            next = execute_at(actions, next, self, other);
            if (next == END_OF_EVENT)
                return END_OF_EVENT;
        }
        return next < count ? next + 1 : END_OF_EVENT;
    }
    // 2. A repeat runs the next action or block as often as its count says, then goes on after it.
    if (action.kind == ACTION_REPEAT) {
        Value arguments[ACTION_MAX_ARGUMENTS];
        evaluate_arguments(action, self, other, arguments);
        std::int64_t repeats = round_to_int64(arguments[0].real);
        for (std::int64_t n = 0; n < repeats && m_pending_change == CHANGE_NONE; ++n) {
            if (execute_at(actions, index + 1, self, other) == END_OF_EVENT)
                return END_OF_EVENT;
            errors().m_context.action = index;
        }
        return skip_at(actions, index + 1);
    }
    // 3. A question runs or skips the next action, then the action after an else that follows.
    if (action.is_question) {
        bool answer = perform_action(action, self, other);
        int next = answer ? execute_at(actions, index + 1, self, other) : skip_at(actions, index + 1);
        if (next < count && actions[next].kind == ACTION_ELSE)
            next = answer ? skip_at(actions, next + 1) : execute_at(actions, next + 1, self, other);
        return next;
    }
    // 4. Exit stops the event.
    if (action.kind == ACTION_EXIT)
        return END_OF_EVENT;
    // 5. Anything else runs on its own; an else or end block met here does nothing.
    if (action.kind != ACTION_ELSE && action.kind != ACTION_END_BLOCK)
        perform_action(action, self, other);
    return index + 1;
}

// The index after the action at index: a block with everything in it, a question or repeat with the action
// it governs. An else is never passed over here; the question that skipped looks for it. The walk keeps
// its place in a loop rather than by recursion, so that long chains and deep nesting cannot run the stack out.
int World::skip_at(const std::vector<CAction>& actions, int index) const
{
    int count = static_cast<int>(actions.size());
    int open_blocks = 0;    // blocks entered whose end block has not been reached
    bool governed = false;  // the action at index is skipped whole for a question or repeat before it
    while (index >= 0 && index < count) {
        const CAction& action = actions[index++];
        // 1. Between the actions of a block, its end block closes it.
        if (open_blocks > 0 && !governed && action.kind == ACTION_END_BLOCK) {
            if (--open_blocks == 0)
                return index;
            continue;
        }
        // 2. A block is entered, 3. a question or repeat takes the next action along, 4. anything else is done.
        governed = false;
        if (action.kind == ACTION_BEGIN_BLOCK)
            ++open_blocks;
        else if (action.is_question || action.kind == ACTION_REPEAT)
            governed = true;
        else if (open_blocks == 0)
            return index;
    }
    return END_OF_EVENT;
}

// Runs the action for whom it applies to. A question's answer is true only when it is true for all of them
// (and for none at all); NOT then inverts that whole answer.
bool World::perform_action(const CAction& action, CInstance* self, CInstance* other)
{
    bool answer;
    if (!action.applies_to_used || action.applies_to == APPLIES_TO_SELF)
        answer = run_action(action, self, other);
    else if (action.applies_to == APPLIES_TO_OTHER)
        answer = run_action(action, other, self);
    else if (action.applies_to < 0 || action.applies_to >= m_objects.count() || !m_current)
        return true;  // applies to nobody: a question answers yes, NOT or not
    else
        answer = run_for_object(action, other);
    return answer != action.negate;
}

// Runs the action for each instance of the object and its descendants, as self with the caller's other; a
// question stops at the first instance that answers no. Instances the action creates are not visited.
bool World::run_for_object(const CAction& action, CInstance* other)
{
    int count = m_current->descendants_count(action.applies_to);
    for (int i = 0; i < count; ++i) {
        CInstance* target = m_current->descendant_instance(action.applies_to, i);
        if (!target->m_destroyed && !run_action(action, target, other) && action.is_question)
            return false;
    }
    return true;
}

void World::evaluate_arguments(const CAction& action, CInstance* self, CInstance* other, Value* into)
{
    int count = std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS);
    for (int i = 0; i < count; ++i)
        evaluate_argument(action, i, self, other, into[i]);
}

void World::evaluate_argument(const CAction& action, int index, CInstance* self, CInstance* other, Value& into)
{
    const ActionProgram& program = action.program;
    if (program.argument_codes[index])
        execute_reporting(self, other, *program.argument_codes[index], into);
    else
        into = program.constants[index];
}

// One run of the action for one self; gives the answer of a question before NOT.
bool World::run_action(const CAction& action, CInstance* self, CInstance* other)
{
    const ActionProgram& program = action.program;
    bool relative = action.may_be_relative && action.relative;
    Value result;
    if (program.code) {
        // A code action sees its arguments in the script argument slots, and leaves the caller's in place. The
        // frames make only the values in use: an action runs for every instance in every step.
        int count = std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS);
        bool saved_relative = m_relative;
        m_relative = relative;
        ArgumentFrame arguments;
        for (int i = 0; i < count; ++i)
            evaluate_argument(action, i, self, other, arguments.next());
        ArgumentFrame& slots = script_arguments();
        ArgumentFrame saved;
        for (int i = 0; i < count; ++i) {
            saved.push(slots.get(i));
            slots.set(i) = std::move(arguments.set(i));
        }
        execute_reporting(self, other, *program.code, result);
        ArgumentFrame& restored = script_arguments();
        for (int i = 0; i < count; ++i)
            restored.set(i) = std::move(saved.set(i));
        m_relative = saved_relative;
    } else if (program.function_index >= 0) {
        m_relative = relative;
        Value arguments[ACTION_MAX_ARGUMENTS];
        evaluate_arguments(action, self, other, arguments);
        const BuiltinFunction& function = function_registry().at(program.function_index);
        FunctionCall call {self, other, std::clamp(action.argument_count, 0, ACTION_MAX_ARGUMENTS), arguments,
                           result, program.function_index};
        function.handler(call);
    }
    return is_true(result.real);
}

}  // namespace quillon
