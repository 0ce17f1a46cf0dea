// The names of one resource list, for turning references by name into indices and back.
#pragma once

#include "json_fields.h"
#include "support/resource_list.h"

namespace quillon {

class ResourceNames {
public:
    explicit ResourceNames(std::string kind) : m_kind(std::move(kind)) {}

    template<typename T>
    static ResourceNames of(std::string kind, const ResourceList<T>& list)
    {
        ResourceNames names(std::move(kind));
        for (int i = 0; i < list.count(); ++i)
            names.add(list.exists(i) ? std::optional(list.slot_name(i)) : std::nullopt);
        return names;
    }

    // A slot of the list; nothing for an empty one.
    void add(std::optional<std::string> name) { m_names.push_back(std::move(name)); }
    int count() const { return static_cast<int>(m_names.size()); }
    // The first existing slot with exactly this name, as the runner looks names up; -1 when there is none.
    int find(const std::string& name) const;

    // A reference in a record: null for none (-1), a name, or an index as a number.
    std::int32_t resolve(const Fields& fields, const std::string& key, const Json& value) const;
    // Reads an optional reference field into index.
    void get(Fields& fields, const std::string& key, std::int32_t& index) const;
    // The reference as written back: the name when it finds this very index, else the number.
    Json reference(std::int32_t index) const;

private:
    std::string m_kind;                              // "sprite", "object" ... for messages
    std::vector<std::optional<std::string>> m_names; // per slot, Windows-1252
};

}  // namespace quillon
