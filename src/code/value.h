// Value: the one datum of game code, a real or a byte string; truth and rounding rules.
#pragma once

#include "code/script_string.h"

#include <cmath>
#include <cstdint>

namespace quillon {

class CStream;

enum class ValueKind : std::int32_t { real = 0, string = 1 };

// All three parts always exist. The part that the kind does not name keeps whatever it held: setters
// of built-in variables read it (a string literal's real is 0, a number literal's string is empty).
struct Value {
    ValueKind kind = ValueKind::real;  // which part is the value
    double real = 0.0;                 // the number when kind is real
    ScriptString string;               // the text when kind is string

    Value() = default;
    Value(double number) : real(number) {}
    Value(ScriptString text) : kind(ValueKind::string), string(std::move(text)) {}
    Value(const char* text) : kind(ValueKind::string), string(text) {}

    bool is_real() const { return kind == ValueKind::real; }
    bool is_string() const { return kind == ValueKind::string; }
    void set_real(double number)
    {
        kind = ValueKind::real;
        real = number;
    }
    void set_string(ScriptString text)
    {
        kind = ValueKind::string;
        string = std::move(text);
    }

    // Stored form: kind, real and string, all three whatever the kind.
    void save(CStream& stream) const;
    void load(CStream& stream);
};

// A real is true at 0.5 or more; only the `if` statement asks for more than 0.5.
inline bool is_true(double real) { return real >= 0.5; }

// Nearest integer, halves to even, saturated to the 64-bit range (NaN gives 0).
inline std::int64_t round_to_int64(double real)
{
    // Adding and taking away 1.5 * 2^52 rounds halves to even for any magnitude below 2^51, without a
    // library call; larger magnitudes go through nearbyint.
    constexpr double SHIFT = 6755399441055744.0;
    if (real > -2251799813685248.0 && real < 2251799813685248.0) {
        return static_cast<std::int64_t>((real + SHIFT) - SHIFT);
    }
    if (!(real == real))
        return 0;
    double rounded = std::nearbyint(real);
    if (rounded >= 9223372036854775807.0)
        return INT64_MAX;
    if (rounded <= -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<std::int64_t>(rounded);
}

// Rounded as above and saturated to 32 bits, for indices, counts and resource numbers.
inline std::int32_t round_to_int32(double real)
{
    std::int64_t wide = round_to_int64(real);
    return wide > INT32_MAX ? INT32_MAX : wide < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(wide);
}

}  // namespace quillon
