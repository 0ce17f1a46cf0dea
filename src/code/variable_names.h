// The global table of variable names, which gives every name used in code its variable id.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class VariableNames {
public:
    // A built-in variable's index, else 100000 plus the name's position, adding it when new.
    std::int32_t find_or_add(std::string_view name);
    // The name of a variable id, or "<unknown built-in variable>" / "<unknown variable>".
    std::string name_of(std::int32_t id) const;
    std::size_t size() const { return m_names.size(); }

private:
    std::vector<std::string> m_names;                         // names in order of first appearance
    std::unordered_map<std::string, std::int32_t> m_lookup;   // name -> position in m_names
};

// Shared by all code; it only grows while the runner runs.
VariableNames& variable_names();

}  // namespace quillon
