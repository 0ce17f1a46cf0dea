// The function registry: every built-in function with its handler and argument count, found by name.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class ScriptInstance;

// One call of a built-in function, as its handler sees it.
struct FunctionCall {
    ScriptInstance* self;    // the instance the code runs for
    ScriptInstance* other;   // the other instance
    std::int32_t count;      // number of arguments given
    const Value* arguments;  // the count arguments given
    Value& result;           // starts as real 0
    std::int32_t index;      // the function index that was called

    // Argument i; real 0 beyond the ones given.
    const Value& argument(int i) const
    {
        static const Value s_zero;
        return i < count ? arguments[i] : s_zero;
    }
};

// Reads its arguments, writes its result and reports its own errors; it cannot stop the calling code.
using FunctionHandler = void (*)(FunctionCall& call);

struct BuiltinFunction {
    std::string name;              // at most 64 characters
    FunctionHandler handler;       // the behaviour
    std::int32_t argument_count;   // exact count, or -1 for any number from 0 to 16
};

class FunctionRegistry {
public:
    static constexpr std::int32_t ANY_COUNT = -1;
    static constexpr std::int32_t NO_FUNCTION = -100;

    // Appends an entry; its position is its function index.
    std::int32_t register_function(std::string_view name, FunctionHandler handler, std::int32_t argument_count);
    void clear();
    // Gives an entry another handler: a family that arrives later, or a tool that must keep a
    // built-in from reaching outside (the fuzzer and files).
    void set_handler(std::int32_t index, FunctionHandler handler) { m_entries[index].handler = handler; }

    // The first entry with this exact name; else a script of that name as 100000 + its index.
    std::optional<std::int32_t> find(std::string_view name) const;
    // The entry's count, or -100 outside the registry.
    std::int32_t argument_count(std::int32_t index) const;
    std::size_t size() const { return m_entries.size(); }
    const BuiltinFunction& at(std::int32_t index) const { return m_entries[index]; }
    // The name of a built-in function or script, for dumps and debugging.
    std::string name_of(std::int32_t index) const;

private:
    std::vector<BuiltinFunction> m_entries;                   // in registration order
    std::unordered_map<std::string, std::int32_t> m_lookup;   // name -> first index with it
};

FunctionRegistry& function_registry();

}  // namespace quillon
