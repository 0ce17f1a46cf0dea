// A native library for the external-function tests: reals, texts, a null text, eleven arguments, and a count of
// the calls that reached it.
#include <string>

namespace {
int s_calls = 0;
std::string s_text;
} // namespace

extern "C" {

double sample_add3(double a, double b, double c)
{
    ++s_calls;
    return a + b + c;
}

double sample_add5(double a, double b, double c, double d, double e)
{
    ++s_calls;
    return a + b + c + d + e;
}

const char* sample_greet(const char* name)
{
    ++s_calls;
    s_text = std::string("hello ") + name;
    return s_text.c_str();
}

double sample_weigh(const char* text, double factor)
{
    ++s_calls;
    return static_cast<double>(std::string(text).size()) * factor;
}

const char* sample_nothing()
{
    ++s_calls;
    return nullptr;
}

double sample_digits(
    double a, double b, double c, double d, double e, double f, double g, double h, double i, double j, double k)
{
    ++s_calls;
    double digits = 0;
    for (double digit : { a, b, c, d, e, f, g, h, i, j, k })
        digits = digits * 10 + digit;
    return digits;
}

double sample_calls()
{
    return s_calls;
}
}
