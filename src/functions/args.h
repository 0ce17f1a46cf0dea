// Reading the arguments of a built-in call and reporting bad ones.
#pragma once

#include "code/errors.h"
#include "code/function_registry.h"
#include "code/value.h"

#include <cstdint>
#include <string>

namespace quillon {

// A name-to-handler entry of a family's table; a null handler means the family is not built yet.
struct FunctionEntry {
    const char* name;              // the built-in's name
    std::int32_t argument_count;   // exact count, or -1 for any
    FunctionHandler handler;       // the behaviour, or null
};

// The real slot of an argument, whatever its kind.
inline double real_argument(const FunctionCall& call, int index) { return call.argument(index).real; }
// The real slot rounded, halves to even, saturated to 32 bits.
inline std::int32_t integer_argument(const FunctionCall& call, int index)
{
    return round_to_int32(call.argument(index).real);
}
// The string slot of an argument, whatever its kind.
inline const ScriptString& string_argument(const FunctionCall& call, int index) { return call.argument(index).string; }

// A non-fatal error at the current place in the game; the function then carries on as documented.
inline void report_function_error(const std::string& text) { errors().report_in_context(text, false); }

}  // namespace quillon
