// Executer: evaluates expression nodes and runs statement nodes of a code tree.
#include "code/executer.h"

#include "code/builtin_variables.h"
#include "code/code_unit.h"
#include "code/errors.h"
#include "code/function_registry.h"
#include "code/host.h"
#include "code/messages.h"
#include "code/operators.h"
#include "code/script.h"
#include "code/stack_guard.h"
#include "code/token.h"
#include "code/variable_names.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace quillon {

CVariableList& global_variables()
{
    static CVariableList s_globals;
    return s_globals;
}

namespace {

enum class Outcome { normal, error, exit, break_loop, continue_loop };

// Where a variable reference points: target, variable id and array index.
struct Place {
    std::int32_t target;  // a Target, an object index or an instance id
    std::int32_t id;      // variable id
    std::int32_t index;   // array index, first times 32000 plus second
    std::int32_t slot;    // the temporaries' slot of the id, or -1
};

using LocalSlot = CVariableList::Entry;  // a temporary; key 0 until it is first written

// The operators that reals meet most, done in place; false sends the pair to binary_operation,
// which also gives the messages.
[[gnu::always_inline]] inline bool real_operation(std::int32_t code, double& a, double b)
{
    switch (code) {
    case OP_PLUS: a += b; return true;
    case OP_MINUS: a -= b; return true;
    case OP_MULTIPLY: a *= b; return true;
    case OP_DIVIDE:
        if (b == 0)
            return false;
        a /= b;
        return true;
    case OP_LESS: a = a - b < 0 ? 1 : 0; return true;
    case OP_LESS_EQUAL: a = a - b <= 0 ? 1 : 0; return true;
    case OP_GREATER: a = a - b > 0 ? 1 : 0; return true;
    case OP_GREATER_EQUAL: a = a - b >= 0 ? 1 : 0; return true;
    case OP_EQUAL:
    case OP_EQUAL_EQUAL: a = a - b == 0 ? 1 : 0; return true;
    case OP_NOT_EQUAL: a = a - b != 0 ? 1 : 0; return true;
    case OP_DIV:
        if (b == 0)
            return false;
        a = static_cast<double>(round_to_int32(std::trunc(a / b)));
        return true;
    case OP_MOD:
        if (b == 0)
            return false;
        a = a - std::trunc(a / b) * b;
        return true;
    case OP_AND: a = is_true(a) && is_true(b) ? 1 : 0; return true;
    case OP_OR: a = is_true(a) || is_true(b) ? 1 : 0; return true;
    default: return false;
    }
}

std::int32_t compound_operator(std::int32_t assignment)
{
    switch (assignment) {
    case TOKEN_ADD_ASSIGN: return OP_PLUS;
    case TOKEN_SUBTRACT_ASSIGN: return OP_MINUS;
    case TOKEN_MULTIPLY_ASSIGN: return OP_MULTIPLY;
    case TOKEN_DIVIDE_ASSIGN: return OP_DIVIDE;
    case TOKEN_OR_ASSIGN: return OP_BIT_OR;
    case TOKEN_AND_ASSIGN: return OP_BIT_AND;
    default: return OP_BIT_XOR;  // TOKEN_XOR_ASSIGN
    }
}

// The compound assignments that reals meet most, done in place; false sends them the general way (the bit
// operators among them have no real fast path).
[[gnu::always_inline]] inline bool compound_real(std::int32_t assignment, double& a, double b)
{
    return real_operation(compound_operator(assignment), a, b);
}

bool same_value(const Value& a, const Value& b)
{
    if (a.kind != b.kind)
        return false;
    return a.is_real() ? a.real == b.real : a.string == b.string;
}

// The temporaries of nested runs, one frame per depth, reused so that runs do not allocate.
class FramePool {
public:
    LocalSlot* acquire(std::size_t slots)
    {
        std::size_t depth = m_depth++;
        if (slots == 0)
            return nullptr;
        if (depth >= m_frames.size())
            m_frames.resize(depth + 1);
        std::vector<LocalSlot>& frame = m_frames[depth];
        frame.resize(slots);
        return frame.data();
    }
    void release(std::size_t slots)
    {
        --m_depth;
        if (slots != 0)
            m_frames[m_depth].clear();
    }
    std::size_t depth() const { return m_depth; }

private:
    std::vector<std::vector<LocalSlot>> m_frames;  // by run depth, for runs that have temporaries
    std::size_t m_depth = 0;                       // runs in progress
};

FramePool s_frames;
long long s_loop_budget = -1;  // iterations left to all loops together; negative for no limit

class Run {
public:
    Run(ScriptInstance* self, ScriptInstance* other, LocalSlot* locals, const CCode& code)
        : m_self(self), m_other(other), m_locals(locals), m_code(code)
    {
    }

    // The stored value a plain variable node reads, when it can be read in place; none otherwise.
    [[gnu::always_inline]] const Value* direct(const CodeNode& node)
    {
        switch (node.exec) {
        case EXEC_LOCAL: return m_locals[node.slot].key != 0 ? &m_locals[node.slot].value : nullptr;
        case EXEC_SELF_STORED: return m_self->m_variables.find(node.op, 0);
        case EXEC_ARGUMENT: return &script_arguments().get(node.op - VARIABLE_ARGUMENT0);
        case EXEC_GLOBAL: return global_variables().find(node.op, 0);
        case EXEC_GENERIC: return node.kind == NODE_CONSTANT ? &node.value : nullptr;
        default: return nullptr;
        }
    }

    // The value of a node that is only used as a number, without building a Value. False when that
    // takes more (a string, a call, a missing variable, a failing operation); the caller then evaluates
    // the node in full, which repeats nothing, since this path only reads.
    bool number(const CodeNode& node, double& out)
    {
        if (!node.numeric) {
            out = node.value.real;
            return node.kind == NODE_CONSTANT && node.value.is_real();
        }
        if (node.program >= 0)
            return run_program(m_code.numeric_steps() + node.program, out);
        switch (node.exec) {
        case EXEC_LOCAL:
        case EXEC_SELF_STORED:
        case EXEC_ARGUMENT:
        case EXEC_GLOBAL: {
            const Value* value = direct(node);
            if (!value || !value->is_real())
                return false;
            out = value->real;
            return true;
        }
        case EXEC_SELF_BUILTIN: return m_self->get_builtin(node.op, out);
        case EXEC_BINARY_CONSTANT: {
            // A temporary on the left, the commonest shape in loops, is read here.
            const CodeNode& left = node.children[0];
            if (const Value* value = direct(left)) {
                if (!value->is_real())
                    return false;
                out = value->real;
            } else if (!number(left, out)) {
                return false;
            }
            return real_operation(node.op, out, node.children[1].value.real);
        }
        case EXEC_FIXED_TARGET: return node.target == TARGET_LOCAL && local_element(node, out);
        case EXEC_GENERIC: break;
        default: return false;
        }
        switch (node.kind) {
        case NODE_CONSTANT:
            out = node.value.real;
            return node.value.is_real();
        case NODE_BINARY: {
            double right;
            return operand(node.children[0], out) && operand(node.children[1], right) &&
                   real_operation(node.op, out, right);
        }
        case NODE_UNARY:
            if (!number(node.children[0], out))
                return false;
            if (node.op == OP_MINUS)
                out = -out;
            else if (node.op == OP_NOT)
                out = is_true(out) ? 0 : 1;
            else if (node.op == OP_BIT_NOT)
                out = static_cast<double>(~round_to_int64(out));
            return true;
        default: return false;
        }
    }

    // A plain read combined with a real constant, computed in place; false for any other node or
    // when the read is not a real or the operation fails.
    [[gnu::always_inline]] bool constant_operation(const CodeNode& node, double& out)
    {
        if (node.exec != EXEC_BINARY_CONSTANT)
            return false;
        const Value* left = direct(node.children[0]);
        if (!left || !left->is_real())
            return false;
        out = left->real;
        return real_operation(node.op, out, node.children[1].value.real);
    }

    // A node's number, reading a plain variable or constant in place.
    [[gnu::always_inline]] bool operand(const CodeNode& node, double& out)
    {
        if (const Value* value = direct(node)) {
            out = value->real;
            return value->is_real();
        }
        return number(node, out);
    }

    // Runs a numeric program; false as soon as a read is not a real or an operator fails.
    bool run_program(const NumericStep* step, double& out)
    {
        double stack[NUMERIC_STACK];
        int top = -1;
        for (;; ++step) {
            switch (step->kind) {
            case STEP_END: out = stack[0]; return true;
            case STEP_CONSTANT: stack[++top] = step->constant; break;
            case STEP_LOCAL: {
                const LocalSlot& local = m_locals[step->operand];
                if (local.key == 0 || !local.value.is_real())
                    return false;
                stack[++top] = local.value.real;
                break;
            }
            case STEP_SELF: {
                const Value* value = m_self->m_variables.find(step->operand, 0);
                if (!value || !value->is_real())
                    return false;
                stack[++top] = value->real;
                break;
            }
            case STEP_ARGUMENT: {
                const Value& value = script_arguments().get(step->operand);
                if (!value.is_real())
                    return false;
                stack[++top] = value.real;
                break;
            }
            case STEP_SELF_BUILTIN:
                if (!m_self->get_builtin(step->operand, stack[++top]))
                    return false;
                break;
            case STEP_GLOBAL: {
                const Value* value = global_variables().find(step->operand, 0);
                if (!value || !value->is_real())
                    return false;
                stack[++top] = value->real;
                break;
            }
            case STEP_ADD: stack[top - 1] += stack[top]; --top; break;
            case STEP_SUBTRACT: stack[top - 1] -= stack[top]; --top; break;
            case STEP_MULTIPLY: stack[top - 1] *= stack[top]; --top; break;
            case STEP_OPERATOR:
                if (!real_operation(step->operand, stack[top - 1], stack[top]))
                    return false;
                --top;
                break;
            case STEP_ADD_CONSTANT: stack[top] += step->constant; break;
            case STEP_SUBTRACT_CONSTANT: stack[top] -= step->constant; break;
            case STEP_MULTIPLY_CONSTANT: stack[top] *= step->constant; break;
            case STEP_OPERATOR_CONSTANT:
                if (!real_operation(step->operand, stack[top], step->constant))
                    return false;
                break;
            case STEP_UNARY: {
                double& value = stack[top];
                if (step->operand == OP_MINUS)
                    value = -value;
                else if (step->operand == OP_NOT)
                    value = is_true(value) ? 0 : 1;
                else if (step->operand == OP_BIT_NOT)
                    value = static_cast<double>(~round_to_int64(value));
                break;
            }
            }
        }
    }

    // The flat element index of the numeric indices after the node's first child; false when one is not a
    // number in 0 .. ROW_LENGTH - 1 (callers then take the general path, which reports).
    [[gnu::always_inline]] bool numeric_index(const CodeNode& node, std::int64_t& index)
    {
        index = 0;
        for (std::size_t i = 1; i < node.children.size(); ++i) {
            double part;
            if (!operand(node.children[i], part))
                return false;
            std::int64_t rounded = round_to_int64(part);
            if (rounded < 0 || rounded >= CVariableList::ROW_LENGTH)
                return false;
            index = index * CVariableList::ROW_LENGTH + rounded;
        }
        return true;
    }

    // An element of a temporary array, read as a number; false when anything is amiss.
    bool local_element(const CodeNode& node, double& out)
    {
        std::int64_t index = 0;
        if (!numeric_index(node, index))
            return false;
        const LocalSlot& local = m_locals[node.slot];
        const Value* value = local.key != 0 ? CVariableList::find_in(local, static_cast<std::int32_t>(index)) : nullptr;
        if (!value || !value->is_real())
            return false;
        out = value->real;
        return true;
    }

    // Evaluates an expression node into dest; false after an error.
    bool eval(const CodeNode& node, Value& dest)
    {
        switch (node.exec) {
        case EXEC_LOCAL:
            if (const LocalSlot& local = m_locals[node.slot]; local.key != 0) {
                dest = local.value;
                return true;
            }
            return read(Place {node.target, node.op, 0, node.slot}, node, dest);
        case EXEC_SELF_STORED:
            if (const Value* found = m_self->m_variables.find(node.op, 0)) {
                dest = *found;
                return true;
            }
            return read(Place {node.target, node.op, 0, -1}, node, dest);
        case EXEC_ARGUMENT: dest = script_arguments().get(node.op - VARIABLE_ARGUMENT0); return true;
        case EXEC_SELF_BUILTIN:
            // As the variable's getter: the real, the other part of dest left as it was.
            if (double real; m_self->get_builtin(node.op, real)) {
                dest.set_real(real);
                return true;
            }
            return read(Place {node.target, node.op, 0, -1}, node, dest);
        case EXEC_GLOBAL:
            if (const Value* found = global_variables().find(node.op, 0)) {
                dest = *found;
                return true;
            }
            return read(Place {node.target, node.op, 0, -1}, node, dest);
        case EXEC_BINARY_CONSTANT: return binary_constant(node, dest);
        case EXEC_CALL_BUILTIN: return call_builtin(node, dest);
        case EXEC_CALL_SCRIPT: dest.set_real(0); return call_script(node, dest);
        default: break;
        }
        switch (node.kind) {
        case NODE_CONSTANT: dest = node.value; return true;
        case NODE_SIMPLE_VARIABLE: return read(Place {node.target, node.op, 0, node.slot}, node, dest);
        case NODE_VARIABLE: return indexed(node, dest);
        case NODE_BINARY: return binary(node, dest);
        case NODE_UNARY: return unary(node, dest);
        default: return fail(node.position, message::SUBEXPRESSION_EXPECTED);
        }
    }

    [[gnu::noinline]] bool binary_constant(const CodeNode& node, Value& dest)
    {
        if (const Value* left = direct(node.children[0]))
            dest = *left;
        else if (!eval(node.children[0], dest))
            return false;
        const CodeNode& right = node.children[1];
        if (dest.is_real() && real_operation(node.op, dest.real, right.value.real))
            return true;
        return check(binary_operation(node.op, dest, right.value), right.position);
    }

    // A numeric operator node computed as a number; its value keeps the other slot of its leftmost
    // operand, as operators leave it.
    bool numeric_value(const CodeNode& node, Value& dest)
    {
        double real;
        if (!number(node, real))
            return false;
        const CodeNode* leaf = &node;
        while (leaf->kind == NODE_BINARY || leaf->kind == NODE_UNARY)
            leaf = &leaf->children[0];
        const Value* origin = leaf->kind == NODE_CONSTANT ? &leaf->value : direct(*leaf);
        if (origin)
            dest = *origin;
        else if (!eval(*leaf, dest))
            return false;
        dest.set_real(real);
        return true;
    }

    [[gnu::noinline]] bool binary(const CodeNode& node, Value& dest)
    {
        if (node.numeric && numeric_value(node, dest))
            return true;
        if (!eval(node.children[0], dest))
            return false;
        Value right;
        if (!eval(node.children[1], right))
            return false;
        if (dest.is_real() && right.is_real() && real_operation(node.op, dest.real, right.real))
            return true;
        return check(binary_operation(node.op, dest, right), node.children[1].position);
    }

    [[gnu::noinline]] bool unary(const CodeNode& node, Value& dest)
    {
        if (node.numeric && numeric_value(node, dest))
            return true;
        if (!eval(node.children[0], dest))
            return false;
        return check(unary_operation(node.op, dest), node.children[0].position);
    }

    [[gnu::noinline]] bool indexed(const CodeNode& node, Value& dest)
    {
        Place place;
        return locate(node, place) && read(place, node, dest);
    }

    // Runs a statement node; every statement of the run shares the result value.
    Outcome run(const CodeNode& node, Value& result)
    {
        switch (node.kind) {
        case NODE_CALL:
            return (node.exec == EXEC_CALL_SCRIPT ? call_script(node, result) : call_builtin(node, result))
                       ? Outcome::normal
                       : Outcome::error;
        case NODE_BLOCK: return block(node.children.data(), node.children.size(), result);
        case NODE_VAR: return Outcome::normal;
        case NODE_ASSIGN: {
            // A compound assignment of a number to an existing real temporary, own or global variable.
            const CodeNode& variable = node.children[0];
            const CodeNode& expression = node.children[1];
            if (node.op != TOKEN_ASSIGN && variable.exec == EXEC_SELF_BUILTIN) {
                // Nothing is written unless the whole assignment succeeds this way; otherwise it runs again
                // the general way, which repeats nothing since this only read.
                double combined;
                double operand_value;
                if (m_self->get_builtin(variable.op, combined) && operand(expression, operand_value) &&
                    compound_real(node.op, combined, operand_value) && m_self->set_builtin(variable.op, combined)) {
                    result.set_real(combined);
                    return Outcome::normal;
                }
            }
            if (node.op != TOKEN_ASSIGN &&
                (variable.exec == EXEC_LOCAL || variable.exec == EXEC_SELF_STORED || variable.exec == EXEC_GLOBAL)) {
                Value* existing = const_cast<Value*>(direct(variable));
                const Value* leaf = direct(expression);
                double operand = leaf ? leaf->real : 0;
                if (existing && existing->is_real() && (leaf ? leaf->is_real() : number(expression, operand)) &&
                    compound_real(node.op, existing->real, operand)) {
                    result = *existing;
                    return Outcome::normal;
                }
            }
            return assign(node, result);
        }
        case NODE_IF: {
            double real;
            if (!constant_operation(node.children[0], real) && !number(node.children[0], real))
                return if_statement(node, result);
            if (real > 0.5)
                return run(node.children[1], result);
            return node.children.size() > 2 ? run(node.children[2], result) : Outcome::normal;
        }
        case NODE_WHILE: return while_statement(node, result);
        case NODE_DO: return do_statement(node, result);
        case NODE_FOR: return for_statement(node, result);
        case NODE_REPEAT: return repeat_statement(node, result);
        case NODE_EXIT: return Outcome::exit;
        case NODE_BREAK: return Outcome::break_loop;
        case NODE_CONTINUE: return Outcome::continue_loop;
        case NODE_RETURN: {
            const CodeNode& value = node.children[0];
            if (value.numeric && value.kind == NODE_BINARY && numeric_value(value, result))
                return Outcome::exit;
            return eval(value, result) ? Outcome::exit : Outcome::error;
        }
        case NODE_WITH: return with_statement(node, result);
        case NODE_SWITCH: return switch_statement(node, result);
        case NODE_CASE: return failed(node.position, message::CASE_OUTSIDE_SWITCH);
        case NODE_DEFAULT: return failed(node.position, message::DEFAULT_OUTSIDE_SWITCH);
        default: return failed(node.position, message::STATEMENT_EXPECTED);
        }
    }

    // Runs a loop body; a block's statements run without another dispatch.
    Outcome body(const CodeNode& node, Value& result)
    {
        if (node.kind == NODE_BLOCK)
            return block(node.children.data(), node.children.size(), result);
        return run(node, result);
    }

    Outcome block(const CodeNode* statements, std::size_t count, Value& result)
    {
        for (std::size_t i = 0; i < count; ++i)
            if (Outcome outcome = run(statements[i], result); outcome != Outcome::normal)
                return outcome;
        return Outcome::normal;
    }

private:
    [[gnu::noinline]] bool fail(std::int32_t position, std::string_view text)
    {
        m_code.error(position, text);
        return false;
    }
    Outcome failed(std::int32_t position, std::string_view text)
    {
        fail(position, text);
        return Outcome::error;
    }
    bool check(const char* failure, std::int32_t position) { return !failure || fail(position, failure); }

    // Counts one round of a loop against the loop limit.
    bool next_round(const CodeNode& node)
    {
        return s_loop_budget < 0 || s_loop_budget-- > 0 || fail(node.position, message::LOOP_LIMIT);
    }

    // Evaluates a condition that must be a real; false after an error.
    bool condition(const CodeNode& node, std::int32_t position, const char* not_real, double& real)
    {
        if (constant_operation(node, real) || number(node, real))
            return true;
        Value value;
        if (!eval(node, value))
            return false;
        if (!value.is_real())
            return fail(position, not_real);
        real = value.real;
        return true;
    }

    // The place of an array element with a constant object and numeric indices in range; false
    // leaves everything, messages included, to locate().
    [[gnu::always_inline]] bool fixed_place(const CodeNode& node, Place& place)
    {
        std::int64_t index = 0;
        if (node.exec != EXEC_FIXED_TARGET || !numeric_index(node, index))
            return false;
        place = Place {node.target, node.op, static_cast<std::int32_t>(index), node.slot};
        return true;
    }

    // 1. The object expression gives the target; 2. the indices give the array index.
    [[gnu::noinline]] bool locate(const CodeNode& node, Place& place)
    {
        if (node.kind == NODE_SIMPLE_VARIABLE) {
            place = Place {node.target, node.op, 0, node.slot};
            return true;
        }
        if (node.exec == EXEC_FIXED_TARGET) {
            place = Place {node.target, node.op, 0, node.slot};
        } else {
            Value object;
            if (!eval(node.children[0], object))
                return false;
            if (!object.is_real())
                return fail(node.children[0].position, message::WRONG_VARIABLE_INDEX);
            place = Place {round_to_int32(object.real), node.op, 0, node.slot};
        }
        for (std::size_t i = 1; i < node.children.size(); ++i) {
            const CodeNode& index_node = node.children[i];
            double real;
            if (!operand(index_node, real)) {
                Value index;
                if (!eval(index_node, index))
                    return false;
                if (!index.is_real())
                    return fail(index_node.position, message::WRONG_ARRAY_INDEX);
                real = index.real;
            }
            std::int64_t rounded = round_to_int64(real);
            if (rounded < 0)
                return fail(index_node.position, message::NEGATIVE_ARRAY_INDEX);
            if (rounded >= CVariableList::ROW_LENGTH)
                return fail(index_node.position, message::ARRAY_INDEX_TOO_BIG);
            place.index = place.index * CVariableList::ROW_LENGTH + static_cast<std::int32_t>(rounded);
        }
        return true;
    }

    static ScriptInstance* first_alive(int count, ScriptInstance* (*at)(int, int), int object)
    {
        for (int i = 0; i < count; ++i)
            if (ScriptInstance* instance = at(object, i); instance && !instance->m_destroyed)
                return instance;
        return nullptr;
    }
    static ScriptInstance* room_instance(int, int index) { return host().instance_at(index); }
    static ScriptInstance* object_instance(int object, int index) { return host().object_instance_at(object, index); }

    // The instance a read of this target means, or none.
    ScriptInstance* read_instance(std::int32_t target)
    {
        switch (target) {
        case TARGET_DEFAULT:
        case TARGET_SELF: return m_self;
        case TARGET_OTHER: return m_other;
        case TARGET_ALL: return first_alive(host().instance_count(), room_instance, 0);
        default: break;
        }
        if (target >= FIRST_INSTANCE_ID) {
            ScriptInstance* instance = host().find_instance(target);
            return instance && !instance->m_destroyed ? instance : nullptr;
        }
        if (target >= 0)
            return first_alive(host().object_instance_count(target), object_instance, target);
        return nullptr;
    }

    [[gnu::noinline]] bool read(const Place& place, const CodeNode& node, Value& dest)
    {
        bool found = false;
        if (place.target == TARGET_LOCAL) {
            const Value* value = place.slot >= 0 && m_locals[place.slot].key != 0
                                     ? CVariableList::find_in(m_locals[place.slot], place.index)
                                     : nullptr;
            if ((found = value != nullptr))
                dest = *value;
        }
        else if (place.target == TARGET_GLOBAL)
            found = global_variables().get(place.id, place.index, dest);
        else if (ScriptInstance* instance = read_instance(place.target))
            found = builtin_variables().read(instance, place.id, place.index, dest);
        if (found)
            return true;
        if (errors().m_settings.uninitialised_as_zero) {
            dest.set_real(0);
            return true;
        }
        std::string text = message::UNKNOWN_VARIABLE + variable_names().name_of(place.id);
        if (place.index != 0)
            text += message::OR_INDEX_OUT_OF_BOUNDS;
        return fail(node.position, text);
    }

    // Writes to every alive instance of a list; the outcome is that of the last one written.
    template <typename At>
    static bool write_each(int count, At at, const Place& place, const Value& value)
    {
        bool written = true;
        for (int i = 0; i < count; ++i)
            if (ScriptInstance* instance = at(i); instance && !instance->m_destroyed)
                written = builtin_variables().write(instance, place.id, place.index, value);
        return written;
    }

    [[gnu::noinline]] bool write(const Place& place, const Value& value)
    {
        switch (place.target) {
        case TARGET_LOCAL: {
            if (place.slot < 0)
                return false;
            LocalSlot& local = m_locals[place.slot];
            Value* element = CVariableList::element_in(local, place.index);
            if (!element)
                return false;
            local.key = place.id;
            *element = value;
            return true;
        }
        case TARGET_GLOBAL: return global_variables().set(place.id, place.index, value);
        case TARGET_DEFAULT:
        case TARGET_SELF: return builtin_variables().write(m_self, place.id, place.index, value);
        case TARGET_OTHER: return builtin_variables().write(m_other, place.id, place.index, value);
        case TARGET_ALL:
            return write_each(host().instance_count(), [](int i) { return host().instance_at(i); }, place, value);
        default: break;
        }
        if (place.target >= FIRST_INSTANCE_ID) {
            ScriptInstance* instance = host().find_instance(place.target);
            return !instance || instance->m_destroyed || builtin_variables().write(instance, place.id, place.index, value);
        }
        if (place.target >= 0) {
            std::int32_t object = place.target;
            return write_each(host().object_instance_count(object),
                              [object](int i) { return host().object_instance_at(object, i); }, place, value);
        }
        return false;
    }

    [[gnu::noinline]] Outcome assign(const CodeNode& node, Value& result)
    {
        const CodeNode& variable = node.children[0];
        const CodeNode& expression = node.children[1];
        Place place;
        if (variable.kind == NODE_SIMPLE_VARIABLE)
            place = Place {variable.target, variable.op, 0, variable.slot};
        else if (!fixed_place(variable, place) && !locate(variable, place))
            return Outcome::error;
        // A plain variable or constant is read in place; it is copied into the result before anything
        // is written. A numeric tree assigned with `=` goes straight into the result.
        Value evaluated;
        const Value* assigned = direct(expression);
        if (!assigned && node.op == TOKEN_ASSIGN && expression.numeric && numeric_value(expression, result)) {
            assigned = &result;
        } else if (!assigned) {
            if (!eval(expression, evaluated))
                return Outcome::error;
            assigned = &evaluated;
        }
        if (node.op == TOKEN_ASSIGN) {
            if (assigned != &result)
                result = *assigned;
        } else {
            // Reals meeting in an existing temporary or own variable combine in place.
            if (variable.exec == EXEC_LOCAL || variable.exec == EXEC_SELF_STORED || variable.exec == EXEC_GLOBAL) {
                Value* existing = const_cast<Value*>(direct(variable));
                if (existing && existing->is_real() && assigned->is_real() &&
                    compound_real(node.op, existing->real, assigned->real)) {
                    result = *existing;
                    return Outcome::normal;
                }
            }
            if (!read(place, variable, result))
                return Outcome::error;
            if (!check(binary_operation(compound_operator(node.op), result, *assigned), expression.position))
                return Outcome::error;
        }
        // The instance's own variables are written directly, and so are the built-in ones it keeps; everything
        // else goes through write().
        if (variable.exec == EXEC_SELF_BUILTIN && m_self->set_builtin(place.id, result.real))
            return Outcome::normal;
        Value* element = nullptr;
        if (place.target == TARGET_DEFAULT && place.id >= FIRST_STORED_VARIABLE) {
            element = m_self->m_variables.element(place.id, place.index);
        } else if (place.target == TARGET_LOCAL && place.slot >= 0) {
            element = CVariableList::element_in(m_locals[place.slot], place.index);
            if (element)
                m_locals[place.slot].key = place.id;
        } else {
            return write(place, result) ? Outcome::normal : failed(node.position, message::CANNOT_ASSIGN);
        }
        if (!element)
            return failed(node.position, message::ARRAY_TOO_LARGE);
        *element = result;
        return Outcome::normal;
    }

    [[gnu::noinline]] bool call_builtin(const CodeNode& node, Value& dest)
    {
        ArgumentFrame arguments;
        for (const CodeNode& argument : node.children) {
            if (const Value* value = direct(argument))
                arguments.push(*value);
            else if (!eval(argument, arguments.next()))
                return false;
        }
        Value returned;
        FunctionCall call {m_self, m_other, arguments.count(), arguments.data(), returned, node.op};
        function_registry().at(node.op).handler(call);
        dest = std::move(returned);
        return true;
    }

    [[gnu::noinline]] bool call_script(const CodeNode& node, Value& dest)
    {
        ArgumentFrame arguments;
        for (const CodeNode& argument : node.children) {
            double real;
            if (const Value* value = direct(argument)) {
                arguments.push(*value);
            } else if (constant_operation(argument, real)) {
                // The result keeps the other slot of the plain read, as the operator would.
                arguments.push(*direct(argument.children[0]));
                arguments.set(arguments.count() - 1).real = real;
            } else if (!eval(argument, arguments.next())) {
                return false;
            }
        }
        return scripts().call(node.op - FIRST_SCRIPT_INDEX, m_self, m_other, arguments, dest);
    }

    [[gnu::noinline]] Outcome if_statement(const CodeNode& node, Value& result)
    {
        double real;
        if (!condition(node.children[0], node.position, message::EXPRESSION_EXPECTED, real))
            return Outcome::error;
        if (real > 0.5)
            return run(node.children[1], result);
        return node.children.size() > 2 ? run(node.children[2], result) : Outcome::normal;
    }

    [[gnu::noinline]] Outcome while_statement(const CodeNode& node, Value& result)
    {
        while (true) {
            double real;
            if (!condition(node.children[0], node.position, message::BOOLEAN_EXPECTED, real))
                return Outcome::error;
            if (!is_true(real))
                return Outcome::normal;
            if (!next_round(node))
                return Outcome::error;
            Outcome outcome = body(node.children[1], result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome == Outcome::exit || outcome == Outcome::error)
                return outcome;
        }
    }

    [[gnu::noinline]] Outcome do_statement(const CodeNode& node, Value& result)
    {
        while (true) {
            if (!next_round(node))
                return Outcome::error;
            Outcome outcome = body(node.children[0], result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome == Outcome::exit || outcome == Outcome::error)
                return outcome;
            double real;
            if (!condition(node.children[1], node.position, message::BOOLEAN_EXPECTED, real))
                return Outcome::error;
            if (is_true(real))
                return Outcome::normal;
        }
    }

    [[gnu::noinline]] Outcome for_statement(const CodeNode& node, Value& result)
    {
        Value scratch;
        Outcome outcome = run(node.children[0], scratch);
        while (outcome == Outcome::normal) {
            double real;
            if (!condition(node.children[1], node.position, message::EXPRESSION_EXPECTED, real))
                return Outcome::error;
            if (!is_true(real))
                return Outcome::normal;
            if (!next_round(node))
                return Outcome::error;
            outcome = body(node.children[3], result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome == Outcome::exit || outcome == Outcome::error)
                return outcome;
            outcome = run(node.children[2], scratch);
        }
        return outcome == Outcome::exit || outcome == Outcome::error ? outcome : Outcome::normal;
    }

    [[gnu::noinline]] Outcome repeat_statement(const CodeNode& node, Value& result)
    {
        double real;
        if (!condition(node.children[0], node.position, message::REPEAT_COUNT_NUMBER, real))
            return Outcome::error;
        std::int64_t count = round_to_int64(real);
        for (std::int64_t i = 0; i < count; ++i) {
            if (!next_round(node))
                return Outcome::error;
            Outcome outcome = body(node.children[1], result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome == Outcome::exit || outcome == Outcome::error)
                return outcome;
        }
        return Outcome::normal;
    }

    // Runs the body with self set to the instance and other to the old self.
    Outcome run_for(ScriptInstance* instance, const CodeNode& body, Value& result)
    {
        ScriptInstance* saved_self = m_self;
        ScriptInstance* saved_other = m_other;
        m_self = instance;
        m_other = saved_self;
        Outcome outcome = run(body, result);
        m_self = saved_self;
        m_other = saved_other;
        return outcome;
    }

    // Visits the alive entries of a list whose length is taken now; stops early if it shrinks.
    template <typename Count, typename At>
    Outcome run_for_each(Count count_now, At at, const CodeNode& body, Value& result)
    {
        int count = count_now();
        for (int i = 0; i < count && i < count_now(); ++i) {
            ScriptInstance* instance = at(i);
            if (!instance || instance->m_destroyed)
                continue;
            Outcome outcome = run_for(instance, body, result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome == Outcome::exit || outcome == Outcome::error)
                return outcome;
        }
        return Outcome::normal;
    }

    [[gnu::noinline]] Outcome with_statement(const CodeNode& node, Value& result)
    {
        Value object;
        if (!eval(node.children[0], object))
            return Outcome::error;
        if (!object.is_real())
            return failed(node.position, message::OBJECT_ID_EXPECTED);
        std::int32_t target = round_to_int32(object.real);
        const CodeNode& body = node.children[1];
        switch (target) {
        case TARGET_LOCAL: return failed(node.position, message::WITH_LOCAL);
        case TARGET_GLOBAL: return failed(node.position, message::WITH_GLOBAL);
        case TARGET_NOONE: return Outcome::normal;
        case TARGET_ALL:
            return run_for_each([] { return host().instance_count(); }, [](int i) { return host().instance_at(i); },
                                body, result);
        case TARGET_OTHER: return run_for(m_other, body, result);
        case TARGET_SELF:
        case TARGET_DEFAULT: return run_for(m_self, body, result);
        default: break;
        }
        if (target < TARGET_LOCAL)
            return Outcome::normal;
        if (target >= FIRST_INSTANCE_ID) {
            ScriptInstance* instance = host().find_instance(target);
            return instance && !instance->m_destroyed ? run_for(instance, body, result) : Outcome::normal;
        }
        return run_for_each([target] { return host().object_instance_count(target); },
                            [target](int i) { return host().object_instance_at(target, i); }, body, result);
    }

    [[gnu::noinline]] Outcome switch_statement(const CodeNode& node, Value& result)
    {
        Value selector;
        if (!eval(node.children[0], selector))
            return Outcome::error;
        // 1. The first label that matches: a default at once, a case when kind and value are equal.
        std::size_t match = 0;
        for (std::size_t i = 1; i < node.children.size() && !match; ++i) {
            const CodeNode& child = node.children[i];
            if (child.kind == NODE_DEFAULT) {
                match = i;
            } else if (child.kind == NODE_CASE) {
                Value label;
                if (!eval(child.children[0], label))
                    return Outcome::error;
                if (same_value(label, selector))
                    match = i;
            }
        }
        if (!match)
            return Outcome::normal;
        // 2. Everything after it, passing over further labels.
        for (std::size_t i = match + 1; i < node.children.size(); ++i) {
            const CodeNode& child = node.children[i];
            if (child.kind == NODE_CASE || child.kind == NODE_DEFAULT)
                continue;
            Outcome outcome = run(child, result);
            if (outcome == Outcome::break_loop)
                return Outcome::normal;
            if (outcome != Outcome::normal)
                return outcome;
        }
        return Outcome::normal;
    }

    ScriptInstance* m_self;           // the instance the code runs for
    ScriptInstance* m_other;          // the other instance
    LocalSlot* m_locals;              // the temporaries of this run, by slot
    const CCode& m_code;              // the unit being run, for errors
};

}  // namespace

namespace {

// Runs compiled program or expression code for two instances, the pending error already cleared.
bool run_code(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result)
{
    // Nested runs (script calls, code executed from code) stop before the stack runs out. One run
    // takes far less stack than the guard's margin, so every eighth level is checked.
    if ((s_frames.depth() & 7) == 7 && stack_nearly_exhausted()) {
        code.error(1, message::RECURSION_TOO_DEEP);
        return false;
    }
    std::size_t slots = code.local_ids().size();
    Run run(self, other, s_frames.acquire(slots), code);
    const CodeNode& root = code.root();
    bool succeeded = true;
    if (code.is_expression())
        succeeded = run.eval(root, result);
    else if (root.kind == NODE_BLOCK)
        succeeded = run.block(root.children.data(), root.children.size(), result) != Outcome::error;
    else if (root.kind != NODE_EMPTY_PROGRAM)
        succeeded = (code.error(root.position, message::NOT_A_PROGRAM), false);
    s_frames.release(slots);
    return succeeded;
}

}  // namespace

bool execute(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result)
{
    // 1. A run starts with no pending error.
    errors().clear_code_error();
    // 2. Only compiled code runs.
    if (!code.compiled()) {
        code.error(1, message::EXECUTING_UNCOMPILED);
        return false;
    }
    // 3. A constant expression needs no instance.
    if (code.kind() == CCode::CONSTANT_EXPRESSION) {
        result = code.constant();
        return true;
    }
    if (!self || !other) {
        code.error(1, message::EXECUTING_FOR_NIL);
        return false;
    }
    // 4. The run, with temporaries of its own.
    return run_code(self, other, code, result);
}

bool ScriptList::call(std::int32_t index, ScriptInstance* self, ScriptInstance* other, ArgumentFrame& arguments,
                      Value& result) const
{
    // 1. Only a present, compiled script runs.
    const CScript* called = script(index);
    if (!called || !called->code() || !self || !other)
        return false;
    // 2. and 3. The arguments become the slots in use; those the call did not pass are real 0.
    ArgumentFrame* caller_slots = use_script_arguments(&arguments);
    // 4. The run, as execute for a value does it: compiled program code needs none of its other checks.
    errors().clear_code_error();
    bool succeeded = run_code(self, other, *called->code(), result);
    // 5. A failure gives "ERROR" and names the script in front of the error.
    if (!succeeded) {
        result = Value(message::SCRIPT_FAILED);
        errors().prefix_code_error(message::IN_SCRIPT + m_slots[index].name + ":\r");
    }
    // 6. The caller's slots come back.
    use_script_arguments(caller_slots);
    return succeeded;
}

void set_loop_limit(long long iterations) { s_loop_budget = iterations; }
long long loop_limit() { return s_loop_budget; }

bool execute_reporting(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result)
{
    if (execute(self, other, code, result))
        return true;
    errors().report_in_context(errors().code_error_text(), false);
    errors().clear_code_error();
    return false;
}

bool execute_for_value(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result)
{
    if (execute(self, other, code, result))
        return true;
    result = Value(message::SCRIPT_FAILED);
    return false;
}

}  // namespace quillon
