// The unary and binary operators of game code, shared by the executer and by constant folding.
#pragma once

#include "code/value.h"

#include <cstdint>

namespace quillon {

// Operator codes; the lexer gives operator tokens these kinds and the parser copies them into nodes.
enum Operator : std::int32_t {
    OP_EQUAL = 101,  // `=` inside an expression
    OP_AND = 201,
    OP_OR = 202,
    OP_NOT = 203,
    OP_LESS = 204,
    OP_LESS_EQUAL = 205,
    OP_EQUAL_EQUAL = 206,
    OP_NOT_EQUAL = 207,
    OP_GREATER_EQUAL = 208,
    OP_GREATER = 209,
    OP_PLUS = 210,
    OP_MINUS = 211,
    OP_MULTIPLY = 212,
    OP_DIVIDE = 213,
    OP_DIV = 214,
    OP_MOD = 215,
    OP_XOR = 216,
    OP_BIT_OR = 217,
    OP_BIT_AND = 218,
    OP_BIT_XOR = 219,
    OP_BIT_NOT = 220,
    OP_SHIFT_LEFT = 221,
    OP_SHIFT_RIGHT = 222,
};

// Replaces the operand by the result. Returns null on success, else the fixed message, and the
// operand is then unchanged.
const char* unary_operation(std::int32_t code, Value& operand);

// Replaces the left operand by the result and only reads the right one. Returns null on success,
// else the fixed message, and the left operand is then unchanged.
const char* binary_operation(std::int32_t code, Value& left, const Value& right);

}  // namespace quillon
