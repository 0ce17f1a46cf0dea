// The names of one resource list, for turning references by name into indices and back.
#include "resource_names.h"

#include "support/win1252.h"

namespace quillon {

int ResourceNames::find(const std::string& name) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_names[i] && *m_names[i] == name)
            return i;
    }
    return -1;
}

std::int32_t ResourceNames::resolve(const Fields& fields, const std::string& key, const Json& value) const
{
    if (value.is_null())
        return -1;
    if (value.is_number())
        return fields.to_int(value, key);
    std::string name = fields.to_string(value, key);
    int index = find(name);
    if (index < 0)
        fields.fail(key, "unknown " + m_kind + " \"" + win1252_to_utf8(name) + "\"");
    return index;
}

void ResourceNames::get(Fields& fields, const std::string& key, std::int32_t& index) const
{
    if (const Json* value = fields.take(key))
        index = resolve(fields, key, *value);
}

Json ResourceNames::reference(std::int32_t index) const
{
    if (index == -1)
        return nullptr;
    if (index >= 0 && index < count() && m_names[index] && find(*m_names[index]) == index)
        return game_text(*m_names[index]);
    return index;
}

}  // namespace quillon
