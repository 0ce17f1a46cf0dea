// Numeric programs: operator trees of reads and reals flattened into steps for a small stack machine.
#pragma once

#include "code/code_tree.h"

#include <cstdint>
#include <vector>

namespace quillon {

enum NumericStepKind : std::uint8_t {
    STEP_END,               // the value is the one left on the stack
    STEP_CONSTANT,          // push `constant`
    STEP_LOCAL,             // push the temporary in slot `operand`
    STEP_SELF,              // push self's own variable `operand`
    STEP_ARGUMENT,          // push argument slot `operand`
    STEP_SELF_BUILTIN,      // push the built-in variable `operand` that self keeps
    STEP_GLOBAL,            // push the global variable `operand`
    STEP_ADD,               // the two top values combined; the common operators have steps of their own
    STEP_SUBTRACT,
    STEP_MULTIPLY,
    STEP_OPERATOR,          // any other binary operator, `operand` being its code
    STEP_ADD_CONSTANT,      // the top value combined with `constant`
    STEP_SUBTRACT_CONSTANT,
    STEP_MULTIPLY_CONSTANT,
    STEP_OPERATOR_CONSTANT,
    STEP_UNARY,             // unary operator `operand` on the top value
};

struct NumericStep {
    NumericStepKind kind;   // what the step does
    std::int32_t operand;   // slot, variable id, argument slot or operator code
    double constant;        // the constant of STEP_CONSTANT and the *_CONSTANT steps
};

// Most values a program keeps at once; deeper trees keep the tree walk.
inline constexpr int NUMERIC_STACK = 16;

// Gives every numeric operator tree that is not part of a larger one a program in `steps`.
void build_numeric_programs(CodeNode& root, std::vector<NumericStep>& steps);

}  // namespace quillon
