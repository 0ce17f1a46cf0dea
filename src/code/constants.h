// Named constants: resource names first (through the host), then the fixed table of 205 names.
#pragma once

#include "code/value.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class Constants {
public:
    Constants();  // registers the fixed table in its order

    void register_constant(std::string_view name, double value);
    // A resource's index by name, else the first constant of that exact name.
    std::optional<Value> find(std::string_view name) const;
    std::size_t size() const { return m_names.size(); }
    const std::string& name_at(std::size_t index) const { return m_names[index]; }

private:
    std::vector<std::string> m_names;                        // in registration order
    std::vector<double> m_values;                            // parallel to m_names
    std::unordered_map<std::string, std::size_t> m_lookup;   // name -> first position
};

Constants& constants();

}  // namespace quillon
