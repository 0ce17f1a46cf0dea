// The function registry.
#include "code/function_registry.h"

#include "code/code_tree.h"
#include "code/script.h"

namespace quillon {

FunctionRegistry& function_registry()
{
    static FunctionRegistry s_registry;
    return s_registry;
}

std::int32_t FunctionRegistry::register_function(std::string_view name, FunctionHandler handler,
                                                 std::int32_t argument_count)
{
    auto index = static_cast<std::int32_t>(m_entries.size());
    m_entries.push_back(BuiltinFunction {std::string(name.substr(0, 64)), handler, argument_count});
    m_lookup.try_emplace(m_entries.back().name, index);
    return index;
}

void FunctionRegistry::clear()
{
    m_entries.clear();
    m_lookup.clear();
}

std::optional<std::int32_t> FunctionRegistry::find(std::string_view name) const
{
    if (auto found = m_lookup.find(std::string(name)); found != m_lookup.end())
        return found->second;
    if (std::int32_t script = scripts().find(name); script >= 0)
        return FIRST_SCRIPT_INDEX + script;
    return std::nullopt;
}

std::int32_t FunctionRegistry::argument_count(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return NO_FUNCTION;
    return m_entries[index].argument_count;
}

std::string FunctionRegistry::name_of(std::int32_t index) const
{
    if (index >= FIRST_SCRIPT_INDEX)
        return scripts().name_of(index - FIRST_SCRIPT_INDEX);
    if (index >= 0 && static_cast<std::size_t>(index) < m_entries.size())
        return m_entries[index].name;
    return "<undefined>";
}

}  // namespace quillon
