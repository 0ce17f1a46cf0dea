// The global table of variable names.
#include "code/variable_names.h"

#include "code/builtin_variables.h"
#include "code/code_tree.h"
#include "code/messages.h"

namespace quillon {

VariableNames& variable_names()
{
    static VariableNames s_names;
    return s_names;
}

std::int32_t VariableNames::find_or_add(std::string_view name)
{
    if (std::int32_t builtin = builtin_variables().find(name); builtin >= 0)
        return builtin;
    auto [entry, added] = m_lookup.try_emplace(std::string(name), static_cast<std::int32_t>(m_names.size()));
    if (added)
        m_names.emplace_back(name);
    return FIRST_USER_VARIABLE + entry->second;
}

std::string VariableNames::name_of(std::int32_t id) const
{
    if (id < FIRST_USER_VARIABLE) {
        if (id >= 0 && static_cast<std::size_t>(id) < builtin_variables().size())
            return builtin_variables().at(id).name;
        return message::UNKNOWN_BUILTIN_NAME;
    }
    std::size_t position = static_cast<std::size_t>(id - FIRST_USER_VARIABLE);
    return position < m_names.size() ? m_names[position] : message::UNKNOWN_VARIABLE_NAME;
}

}  // namespace quillon
