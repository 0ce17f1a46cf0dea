// CCode: the four phases of compiling, and the final pass over the tree.
#include "code/code_unit.h"

#include "code/errors.h"
#include "code/lexer.h"
#include "code/messages.h"
#include "code/operators.h"
#include "code/parser.h"

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
    if (!finish_tree(*this, root))
        return false;
    if (m_kind == EXPRESSION && root.kind == NODE_CONSTANT)
        m_kind = CONSTANT_EXPRESSION;
    m_root = std::move(root);
    m_compiled = true;
    return true;
}

namespace {

class TreeFinisher {
public:
    explicit TreeFinisher(const CCode& code) : m_code(code) {}

    // Depth first, children in order before their parent.
    bool visit(CodeNode& node)
    {
        for (CodeNode& child : node.children)
            if (!visit(child))
                return false;
        switch (node.kind) {
        case NODE_VAR:
            for (const CodeNode& name : node.children)
                m_declared.insert(name.op);
            return true;
        case NODE_VARIABLE: return finish_variable(node);
        case NODE_UNARY: return fold_unary(node);
        case NODE_BINARY: return fold_binary(node);
        default: return true;
        }
    }

private:
    bool finish_variable(CodeNode& node)
    {
        CodeNode& object = node.children[0];
        if (object.kind != NODE_CONSTANT)
            return true;
        // A declared name without an object is a temporary of the run.
        if (object.value.is_real() && object.value.real == double(TARGET_DEFAULT) && m_declared.count(node.op))
            object.value.real = double(TARGET_LOCAL);
        if (node.children.size() > 1)
            return true;
        if (!object.value.is_real()) {
            m_code.error(object.position, message::LEFT_SIDE_NOT_REAL);
            return false;
        }
        node.kind = NODE_SIMPLE_VARIABLE;
        node.target = round_to_int32(object.value.real);
        node.children.clear();
        return true;
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
        node.op = 0;
        node.value = std::move(value);
        node.children.clear();
    }

    const CCode& m_code;                          // the unit, for errors
    std::unordered_set<std::int32_t> m_declared;  // ids declared with `var` so far in the walk
};

}  // namespace

bool finish_tree(const CCode& code, CodeNode& root) { return TreeFinisher(code).visit(root); }

}  // namespace quillon
