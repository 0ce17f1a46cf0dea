// The Math family: numbers, the random generator, points, and the table of the family with its strings.
#include "functions/args.h"
#include "functions/families.h"
#include "functions/random.h"
#include "functions/strings.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <numbers>

namespace quillon {

RandomGenerator& random_generator()
{
    static RandomGenerator s_generator;
    return s_generator;
}

void RandomGenerator::seed_from_clock()
{
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local {};
    localtime_r(&seconds, &local);
    auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    seed(static_cast<std::uint32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + milliseconds));
}

namespace {

double x(const FunctionCall& call) { return real_argument(call, 0); }
double y(const FunctionCall& call) { return real_argument(call, 1); }

// A result that is only defined on part of the reals: outside it, the named error and real 0.
void checked(FunctionCall& call, bool defined, double value, const char* name)
{
    if (defined && !std::isnan(value))
        call.result.set_real(value);
    else
        report_function_error(std::string("Error in function ") + name + "().");
}

void is_real(FunctionCall& call) { call.result.set_real(call.argument(0).is_real() ? 1 : 0); }
void is_string(FunctionCall& call) { call.result.set_real(call.argument(0).is_string() ? 1 : 0); }
void random(FunctionCall& call) { call.result.set_real(x(call) * random_generator().next()); }
void abs(FunctionCall& call) { call.result.set_real(std::fabs(x(call))); }
void round(FunctionCall& call) { call.result.set_real(static_cast<double>(round_to_int64(x(call)))); }
void floor(FunctionCall& call) { call.result.set_real(round_to_int32(std::floor(x(call)))); }
void ceil(FunctionCall& call) { call.result.set_real(round_to_int32(std::ceil(x(call)))); }
void sign(FunctionCall& call) { call.result.set_real(x(call) > 0 ? 1 : -1); }
void frac(FunctionCall& call) { call.result.set_real(x(call) - std::trunc(x(call))); }
void sqrt(FunctionCall& call) { checked(call, x(call) >= 0, std::sqrt(x(call)), "sqrt"); }
void sqr(FunctionCall& call) { call.result.set_real(x(call) * x(call)); }
void exp(FunctionCall& call) { call.result.set_real(std::exp(x(call))); }
void ln(FunctionCall& call) { checked(call, x(call) > 0, std::log(x(call)), "ln"); }
void log2(FunctionCall& call) { checked(call, x(call) > 0, std::log2(x(call)), "log2"); }
void log10(FunctionCall& call) { checked(call, x(call) > 0, std::log10(x(call)), "log10"); }
void sin(FunctionCall& call) { call.result.set_real(std::sin(x(call))); }
void cos(FunctionCall& call) { call.result.set_real(std::cos(x(call))); }
void tan(FunctionCall& call) { call.result.set_real(std::tan(x(call))); }
void arcsin(FunctionCall& call) { checked(call, std::fabs(x(call)) <= 1, std::asin(x(call)), "arcsin"); }
void arccos(FunctionCall& call) { checked(call, std::fabs(x(call)) <= 1, std::acos(x(call)), "arccos"); }
void arctan(FunctionCall& call) { call.result.set_real(std::atan(x(call))); }
void arctan2(FunctionCall& call) { checked(call, true, std::atan2(x(call), y(call)), "arctan2"); }
void degtorad(FunctionCall& call) { call.result.set_real(x(call) * std::numbers::pi / 180); }
void radtodeg(FunctionCall& call) { call.result.set_real(x(call) * 180 / std::numbers::pi); }

// n of 0 gives 1; x of 0 with positive n gives 0; an integral n multiplies (a reciprocal for negative
// n); any other n goes through e^(n ln x), which needs a positive x.
void power(FunctionCall& call)
{
    double base = x(call);
    double exponent = y(call);
    if (exponent == 0) {
        call.result.set_real(1);
        return;
    }
    if (base == 0 && exponent > 0) {
        call.result.set_real(0);
        return;
    }
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0) {
        auto count = static_cast<std::int64_t>(std::fabs(exponent));
        double product = 1;
        for (double factor = base; count > 0; count >>= 1, factor *= factor)
            if (count & 1)
                product *= factor;
        if (exponent < 0)
            checked(call, product != 0, 1 / product, "power");
        else
            call.result.set_real(product);
        return;
    }
    checked(call, base > 0, std::exp(exponent * std::log(base)), "power");
}

void logn(FunctionCall& call)
{
    double base = x(call);
    double value = y(call);
    bool defined = base > 0 && value > 0 && base != 1;
    checked(call, defined, defined ? std::log(value) / std::log(base) : 0, "logn");
}

void min(FunctionCall& call) { call.result.set_real(std::fmin(x(call), y(call))); }
void max(FunctionCall& call) { call.result.set_real(std::fmax(x(call), y(call))); }
void min3(FunctionCall& call) { call.result.set_real(std::fmin(std::fmin(x(call), y(call)), real_argument(call, 2))); }
void max3(FunctionCall& call) { call.result.set_real(std::fmax(std::fmax(x(call), y(call)), real_argument(call, 2))); }
void mean(FunctionCall& call) { call.result.set_real((x(call) + y(call)) / 2); }

void point_distance(FunctionCall& call)
{
    call.result.set_real(std::hypot(real_argument(call, 2) - x(call), real_argument(call, 3) - y(call)));
}

// Right is 0, up 90, left 180, down 270 (y grows downwards).
void point_direction(FunctionCall& call)
{
    double dx = real_argument(call, 2) - x(call);
    double dy = real_argument(call, 3) - y(call);
    if (dx == 0) {
        call.result.set_real(dy > 0 ? 270 : dy < 0 ? 90 : 0);
        return;
    }
    double angle = std::atan2(dy, dx) * 180 / std::numbers::pi;
    call.result.set_real(angle > 0 ? 360 - angle : -angle);
}

// ORDER: table positions 83 to 135.
constexpr FunctionEntry MATH_FUNCTIONS[] = {
    {"is_real", 1, is_real},
    {"is_string", 1, is_string},
    {"random", 1, random},
    {"abs", 1, abs},
    {"round", 1, round},
    {"floor", 1, floor},
    {"ceil", 1, ceil},
    {"sign", 1, sign},
    {"frac", 1, frac},
    {"sqrt", 1, sqrt},
    {"sqr", 1, sqr},
    {"exp", 1, exp},
    {"ln", 1, ln},
    {"log2", 1, log2},
    {"log10", 1, log10},
    {"sin", 1, sin},
    {"cos", 1, cos},
    {"tan", 1, tan},
    {"arcsin", 1, arcsin},
    {"arccos", 1, arccos},
    {"arctan", 1, arctan},
    {"arctan2", 2, arctan2},
    {"degtorad", 1, degtorad},
    {"radtodeg", 1, radtodeg},
    {"power", 2, power},
    {"logn", 2, logn},
    {"min", 2, min},
    {"max", 2, max},
    {"min3", 3, min3},
    {"max3", 3, max3},
    {"mean", 2, mean},
    {"real", 1, strings::real},
    {"string", 1, strings::string},
    {"string_format", 3, strings::string_format},
    {"chr", 1, strings::chr},
    {"ord", 1, strings::ord},
    {"string_length", 1, strings::string_length},
    {"string_pos", 2, strings::string_pos},
    {"string_copy", 3, strings::string_copy},
    {"string_char_at", 2, strings::string_char_at},
    {"string_delete", 3, strings::string_delete},
    {"string_insert", 3, strings::string_insert},
    {"string_lower", 1, strings::string_lower},
    {"string_upper", 1, strings::string_upper},
    {"string_repeat", 2, strings::string_repeat},
    {"string_letters", 1, strings::string_letters},
    {"string_digits", 1, strings::string_digits},
    {"string_lettersdigits", 1, strings::string_lettersdigits},
    {"string_replace", 3, strings::string_replace},
    {"string_replace_all", 3, strings::string_replace_all},
    {"string_count", 2, strings::string_count},
    {"point_distance", 4, point_distance},
    {"point_direction", 4, point_direction},
};

}  // namespace

std::span<const FunctionEntry> math_functions() { return MATH_FUNCTIONS; }

}  // namespace quillon
