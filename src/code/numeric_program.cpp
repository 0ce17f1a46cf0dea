// Numeric programs: flattening numeric operator trees in postfix order.
#include "code/numeric_program.h"

#include "code/builtin_variables.h"
#include "code/operators.h"

namespace quillon {

namespace {

NumericStepKind binary_step(std::int32_t op, bool constant)
{
    switch (op) {
    case OP_PLUS: return constant ? STEP_ADD_CONSTANT : STEP_ADD;
    case OP_MINUS: return constant ? STEP_SUBTRACT_CONSTANT : STEP_SUBTRACT;
    case OP_MULTIPLY: return constant ? STEP_MULTIPLY_CONSTANT : STEP_MULTIPLY;
    default: return constant ? STEP_OPERATOR_CONSTANT : STEP_OPERATOR;
    }
}

// Appends the steps of the node; false when it holds something a program cannot read.
bool emit(const CodeNode& node, std::vector<NumericStep>& steps, int depth)
{
    if (depth >= NUMERIC_STACK)
        return false;
    switch (node.kind) {
    case NODE_CONSTANT:
        steps.push_back({STEP_CONSTANT, 0, node.value.real});
        return node.value.is_real();
    case NODE_SIMPLE_VARIABLE:
        if (node.exec == EXEC_LOCAL)
            steps.push_back({STEP_LOCAL, node.slot, 0});
        else if (node.exec == EXEC_SELF_STORED)
            steps.push_back({STEP_SELF, node.op, 0});
        else if (node.exec == EXEC_ARGUMENT)
            steps.push_back({STEP_ARGUMENT, node.op - VARIABLE_ARGUMENT0, 0});
        else if (node.exec == EXEC_SELF_BUILTIN)
            steps.push_back({STEP_SELF_BUILTIN, node.op, 0});
        else if (node.exec == EXEC_GLOBAL)
            steps.push_back({STEP_GLOBAL, node.op, 0});
        else
            return false;
        return true;
    case NODE_UNARY:
        if (!emit(node.children[0], steps, depth))
            return false;
        steps.push_back({STEP_UNARY, node.op, 0});
        return true;
    case NODE_BINARY: {
        const CodeNode& right = node.children[1];
        if (!emit(node.children[0], steps, depth))
            return false;
        if (right.kind == NODE_CONSTANT && right.value.is_real()) {
            steps.push_back({binary_step(node.op, true), node.op, right.value.real});
            return true;
        }
        if (!emit(right, steps, depth + 1))
            return false;
        steps.push_back({binary_step(node.op, false), node.op, 0});
        return true;
    }
    default: return false;
    }
}

}  // namespace

void build_numeric_programs(CodeNode& root, std::vector<NumericStep>& steps)
{
    // An operator on plain reads and constants is quicker to walk than to run as a program.
    auto plain = [](const CodeNode& node) { return node.kind == NODE_SIMPLE_VARIABLE || node.kind == NODE_CONSTANT; };
    bool single_step = root.kind == NODE_BINARY && plain(root.children[0]) && plain(root.children[1]);
    if (root.numeric && !single_step && (root.kind == NODE_BINARY || root.kind == NODE_UNARY)) {
        std::size_t start = steps.size();
        if (emit(root, steps, 0)) {
            steps.push_back({STEP_END, 0, 0});
            root.program = static_cast<std::int32_t>(start);
            return;
        }
        steps.resize(start);
    }
    for (CodeNode& child : root.children)
        build_numeric_programs(child, steps);
}

}  // namespace quillon
