// The operators: type rules, results and messages.
#include "code/operators.h"

#include "code/messages.h"

#include <cstring>

namespace quillon {

namespace {

double from_int64(std::int64_t integer) { return static_cast<double>(integer); }

// Counts 0 to 63 shift the 64-bit pattern; every other count gives 0.
std::uint64_t shifted(std::int64_t value, double count, bool left)
{
    std::int64_t bits = round_to_int64(count);
    if (bits < 0 || bits > 63)
        return 0;
    auto pattern = static_cast<std::uint64_t>(value);
    return left ? pattern << bits : pattern >> bits;
}

// Byte-wise unsigned comparison; a prefix is smaller. Returns <0, 0 or >0.
int compare_strings(const ScriptString& a, const ScriptString& b)
{
    std::size_t common = a.size() < b.size() ? a.size() : b.size();
    int order = common ? std::memcmp(a.data(), b.data(), common) : 0;
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool holds(std::int32_t code, double difference)
{
    switch (code) {
    case OP_LESS: return difference < 0;
    case OP_LESS_EQUAL: return difference <= 0;
    case OP_GREATER_EQUAL: return difference >= 0;
    case OP_GREATER: return difference > 0;
    case OP_NOT_EQUAL: return difference != 0;
    default: return difference == 0;  // OP_EQUAL, OP_EQUAL_EQUAL
    }
}

const char* compare(std::int32_t code, Value& left, const Value& right)
{
    if (left.kind != right.kind)
        return message::CANNOT_COMPARE;
    double difference = left.is_real() ? left.real - right.real
                                       : static_cast<double>(compare_strings(left.string, right.string));
    left.set_real(holds(code, difference) ? 1.0 : 0.0);
    return nullptr;
}

const char* repeat_string(Value& left, const Value& right)
{
    std::int64_t count = round_to_int64(left.real);
    ScriptString repeated;
    if (count > 0 && !right.string.empty()) {
        if (static_cast<std::uint64_t>(count) > ScriptString::MAX_LENGTH / right.string.size())
            return message::STRING_TOO_LONG;
        repeated = ScriptString::repeated(right.string.view(), static_cast<std::size_t>(count));
    }
    left.set_string(std::move(repeated));
    return nullptr;
}

// Operators whose two operands must be reals; `code` selects the operation.
const char* arithmetic(std::int32_t code, double& a, double b)
{
    switch (code) {
    case OP_MINUS: a -= b; return nullptr;
    case OP_MULTIPLY: a *= b; return nullptr;
    case OP_DIVIDE:
        if (b == 0)
            return message::DIVISION_BY_ZERO;
        a /= b;
        return nullptr;
    case OP_DIV: {
        if (b == 0)
            return message::DIVISION_BY_ZERO;
        a = static_cast<double>(round_to_int32(std::trunc(a / b)));
        return nullptr;
    }
    case OP_MOD:
        if (b == 0)
            return message::MODULO_BY_ZERO;
        a = a - std::trunc(a / b) * b;
        return nullptr;
    case OP_AND: a = is_true(a) && is_true(b) ? 1 : 0; return nullptr;
    case OP_OR: a = is_true(a) || is_true(b) ? 1 : 0; return nullptr;
    case OP_XOR: a = is_true(a) != is_true(b) ? 1 : 0; return nullptr;
    case OP_BIT_OR: a = from_int64(round_to_int64(a) | round_to_int64(b)); return nullptr;
    case OP_BIT_AND: a = from_int64(round_to_int64(a) & round_to_int64(b)); return nullptr;
    case OP_BIT_XOR: a = from_int64(round_to_int64(a) ^ round_to_int64(b)); return nullptr;
    case OP_SHIFT_LEFT: a = from_int64(static_cast<std::int64_t>(shifted(round_to_int64(a), b, true))); return nullptr;
    case OP_SHIFT_RIGHT:
        a = from_int64(static_cast<std::int64_t>(shifted(round_to_int64(a), b, false)));
        return nullptr;
    default: return message::UNKNOWN_BINARY;
    }
}

const char* wrong_types(std::int32_t code)
{
    switch (code) {
    case OP_MINUS: return message::WRONG_SUBTRACT;
    case OP_MULTIPLY: return message::WRONG_MULTIPLY;
    case OP_DIVIDE: return message::WRONG_DIVIDE;
    case OP_DIV: return message::WRONG_DIV;
    case OP_MOD: return message::WRONG_MOD;
    case OP_AND: return message::WRONG_AND;
    case OP_OR: return message::WRONG_OR;
    case OP_XOR: return message::WRONG_XOR;
    case OP_BIT_OR: return message::WRONG_BIT_OR;
    case OP_BIT_AND: return message::WRONG_BIT_AND;
    case OP_BIT_XOR: return message::WRONG_BIT_XOR;
    case OP_SHIFT_LEFT: return message::WRONG_SHIFT_LEFT;
    case OP_SHIFT_RIGHT: return message::WRONG_SHIFT_RIGHT;
    default: return message::UNKNOWN_BINARY;
    }
}

}  // namespace

const char* unary_operation(std::int32_t code, Value& operand)
{
    if (code != OP_NOT && code != OP_PLUS && code != OP_MINUS && code != OP_BIT_NOT)
        return message::UNKNOWN_UNARY;
    if (!operand.is_real())
        return message::WRONG_UNARY;
    switch (code) {
    case OP_NOT: operand.real = is_true(operand.real) ? 0 : 1; break;
    case OP_MINUS: operand.real = -operand.real; break;
    case OP_BIT_NOT: operand.real = from_int64(~round_to_int64(operand.real)); break;
    default: break;  // unary plus
    }
    return nullptr;
}

const char* binary_operation(std::int32_t code, Value& left, const Value& right)
{
    switch (code) {
    case OP_PLUS:
        if (left.is_real() && right.is_real()) {
            left.real += right.real;
            return nullptr;
        }
        if (left.is_string() && right.is_string())
            return left.string.append(right.string) ? nullptr : message::STRING_TOO_LONG;
        return message::WRONG_ADD;
    case OP_MULTIPLY:
        if (left.is_real() && right.is_string())
            return repeat_string(left, right);
        break;
    case OP_EQUAL:
    case OP_EQUAL_EQUAL:
    case OP_NOT_EQUAL:
    case OP_LESS:
    case OP_LESS_EQUAL:
    case OP_GREATER_EQUAL:
    case OP_GREATER: return compare(code, left, right);
    default: break;
    }
    if (!left.is_real() || !right.is_real())
        return wrong_types(code);
    return arithmetic(code, left.real, right.real);
}

}  // namespace quillon
