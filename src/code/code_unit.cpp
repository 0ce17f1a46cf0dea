// CCode: the four phases of compiling, and the final pass over the tree.
#include "code/code_unit.h"

#include "code/builtin_variables.h"
#include "code/errors.h"
#include "code/lexer.h"
#include "code/messages.h"
#include "code/operators.h"
#include "code/parser.h"

#include <unordered_map>
#include <unordered_set>

namespace quillon {

void CCode::error(std::int32_t position, std::string_view message) const
{
    errors().code_error(m_text, is_expression(), position, message);
}

bool CCode::compile()
{
    if (m_compiled) {
        error(1, message::RECOMPILING);
        return false;
    }
    // 1. Tokens.
    std::vector<Token> tokens = tokenize(m_text);
    if (tokens.back().kind == TOKEN_UNRECOGNISED) {
        error(tokens.back().position, message::UNEXPECTED_SYMBOL);
        return false;
    }
    // 2. Names into functions, constants and variables.
    std::vector<CodeItem> items;
    if (!resolve_names(*this, tokens, items))
        return false;
    // 3. The tree.
    CodeNode root;
    if (!parse(*this, items, root))
        return false;
    // 4. Temporaries, targets and folding.
    if (!finish_tree(*this, root, m_local_ids))
        return false;
    if (m_kind == EXPRESSION && root.kind == NODE_CONSTANT)
        m_kind = CONSTANT_EXPRESSION;
    build_numeric_programs(root, m_numeric_steps);
    m_root = std::move(root);
    m_compiled = true;
    return true;
}

namespace {

class TreeFinisher {
public:
    TreeFinisher(const CCode& code, std::vector<std::int32_t>& local_ids) : m_code(code), m_local_ids(local_ids) {}

    // Depth first, children in order before their parent.
    bool visit(CodeNode& node)
    {
        for (CodeNode& child : node.children)
            if (!visit(child))
                return false;
        bool finished = true;
        switch (node.kind) {
        case NODE_VAR:
            for (const CodeNode& name : node.children)
                m_declared.insert(name.op);
            return true;
        case NODE_VARIABLE: finished = finish_variable(node); break;
        case NODE_UNARY: finished = fold_unary(node); break;
        case NODE_BINARY: finished = fold_binary(node); break;
        case NODE_CALL:
            node.exec = node.op >= FIRST_SCRIPT_INDEX ? EXEC_CALL_SCRIPT : EXEC_CALL_BUILTIN;
            return true;
        default: return true;
        }
        node.numeric = finished && is_numeric(node);
        return finished;
    }

private:
    // Whether the node's value comes from reads and operators alone, with every child numeric.
    static bool is_numeric(const CodeNode& node)
    {
        switch (node.kind) {
        case NODE_CONSTANT: return node.value.is_real();
        case NODE_SIMPLE_VARIABLE:
            return node.exec == EXEC_LOCAL || node.exec == EXEC_SELF_STORED || node.exec == EXEC_ARGUMENT ||
                   node.exec == EXEC_SELF_BUILTIN || node.exec == EXEC_GLOBAL;
        case NODE_VARIABLE:
            if (node.exec != EXEC_FIXED_TARGET || node.target != TARGET_LOCAL)
                return false;
            break;
        case NODE_UNARY:
        case NODE_BINARY: break;
        default: return false;
        }
        for (std::size_t i = node.kind == NODE_VARIABLE ? 1 : 0; i < node.children.size(); ++i) {
            const CodeNode& child = node.children[i];
            if (!child.numeric && !(child.kind == NODE_CONSTANT && child.value.is_real()))
                return false;
        }
        return true;
    }

    bool finish_variable(CodeNode& node)
    {
        CodeNode& object = node.children[0];
        if (object.kind != NODE_CONSTANT) {
            // The object is only known at run time and may turn out to be `local`.
            node.slot = slot_for(node.op);
            return true;
        }
        // A declared name without an object is a temporary of the run.
        if (object.value.is_real() && object.value.real == double(TARGET_DEFAULT) && m_declared.count(node.op))
            object.value.real = double(TARGET_LOCAL);
        if (object.value.is_real() && object.value.real == double(TARGET_LOCAL))
            node.slot = slot_for(node.op);
        if (node.children.size() > 1) {
            if (object.value.is_real()) {
                node.exec = EXEC_FIXED_TARGET;
                node.target = round_to_int32(object.value.real);
            }
            return true;
        }
        if (!object.value.is_real()) {
            m_code.error(object.position, message::LEFT_SIDE_NOT_REAL);
            return false;
        }
        node.kind = NODE_SIMPLE_VARIABLE;
        node.target = round_to_int32(object.value.real);
        node.children.clear();
        node.exec = simple_variable_path(node);
        return true;
    }

    static ExecKind simple_variable_path(const CodeNode& node)
    {
        if (node.target == TARGET_LOCAL)
            return EXEC_LOCAL;
        if (node.target == TARGET_GLOBAL)
            return EXEC_GLOBAL;
        if (node.target != TARGET_DEFAULT && node.target != TARGET_SELF)
            return EXEC_GENERIC;
        if (node.op >= FIRST_USER_VARIABLE)
            return EXEC_SELF_STORED;
        if (node.op >= VARIABLE_ARGUMENT0 && node.op < VARIABLE_ARGUMENT0 + MAX_ARGUMENTS)
            return EXEC_ARGUMENT;
        if (builtin_variables().kept_by_instance(node.op))
            return EXEC_SELF_BUILTIN;
        return EXEC_GENERIC;
    }

    std::int32_t slot_for(std::int32_t id)
    {
        auto [entry, added] = m_slots.try_emplace(id, static_cast<std::int32_t>(m_local_ids.size()));
        if (added)
            m_local_ids.push_back(id);
        return entry->second;
    }

    bool fold_unary(CodeNode& node)
    {
        CodeNode& operand = node.children[0];
        if (operand.kind != NODE_CONSTANT)
            return true;
        Value folded = operand.value;
        if (const char* failure = unary_operation(node.op, folded)) {
            m_code.error(operand.position, failure);
            return false;
        }
        make_constant(node, std::move(folded));
        return true;
    }

    bool fold_binary(CodeNode& node)
    {
        CodeNode& left = node.children[0];
        CodeNode& right = node.children[1];
        if (right.kind == NODE_CONSTANT && right.value.is_real() && left.kind != NODE_CONSTANT)
            node.exec = EXEC_BINARY_CONSTANT;
        if (left.kind != NODE_CONSTANT || right.kind != NODE_CONSTANT)
            return true;
        Value folded = left.value;
        if (const char* failure = binary_operation(node.op, folded, right.value)) {
            m_code.error(right.position, failure);
            return false;
        }
        make_constant(node, std::move(folded));
        return true;
    }

    static void make_constant(CodeNode& node, Value value)
    {
        node.kind = NODE_CONSTANT;
        node.exec = EXEC_GENERIC;
        node.numeric = false;
        node.op = 0;
        node.value = std::move(value);
        node.children.clear();
    }

    const CCode& m_code;                          // the unit, for errors
    std::unordered_set<std::int32_t> m_declared;  // ids declared with `var` so far in the walk
    std::vector<std::int32_t>& m_local_ids;       // by slot, the ids that can name a temporary
    std::unordered_map<std::int32_t, std::int32_t> m_slots;  // id -> slot
};

}  // namespace

bool finish_tree(const CCode& code, CodeNode& root, std::vector<std::int32_t>& local_ids)
{
    return TreeFinisher(code, local_ids).visit(root);
}

}  // namespace quillon
