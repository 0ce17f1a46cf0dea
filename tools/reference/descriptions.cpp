// The descriptions file: one line per function, variable, constant group, event and function family.
#include "descriptions.h"

#include <sstream>

namespace quillon {

namespace {

const char* const KINDS[] = { "family", "function", "variable", "constant", "event" };

std::string trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> fields_of(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|', start)) {
        fields.push_back(trimmed(line.substr(start, bar - start)));
        start = bar + 1;
    }
    fields.push_back(trimmed(line.substr(start)));
    return fields;
}

} // namespace

Descriptions::Descriptions(std::istream& in)
{
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        std::string place = "line " + std::to_string(number) + ": ";
        std::vector<std::string> fields = fields_of(line);
        if (fields.size() != 4) {
            m_problems.push_back(place + "expected four fields separated by '|'");
            continue;
        }
        bool kind_known = false;
        for (const char* kind : KINDS)
            kind_known = kind_known || fields[0] == kind;
        if (!kind_known) {
            m_problems.push_back(place + "unknown kind \"" + fields[0] + "\"");
            continue;
        }
        Description entry { fields[0], {}, fields[2], fields[3], number };
        std::istringstream names(fields[1]);
        for (std::string name; names >> name;)
            entry.names.push_back(name);
        if (entry.names.empty() || entry.text.empty()) {
            m_problems.push_back(place + "a name and a description are needed");
            continue;
        }
        if (entry.names.size() > 1 && entry.kind != "constant") {
            m_problems.push_back(place + "only constants are described in groups");
            continue;
        }
        for (const std::string& name : entry.names) {
            if (!m_by_name.insert({ { entry.kind, name }, m_entries.size() }).second)
                m_problems.push_back(place + entry.kind + " " + name + " is described twice");
        }
        m_entries.push_back(std::move(entry));
    }
}

const Description* Descriptions::find(const std::string& kind, const std::string& name) const
{
    auto found = m_by_name.find({ kind, name });
    return found == m_by_name.end() ? nullptr : &m_entries[found->second];
}

std::vector<std::string> Descriptions::unknown_names() const
{
    std::vector<std::string> names;
    for (const auto& [key, index] : m_by_name)
        if (!m_known.contains(key))
            names.push_back("line " + std::to_string(m_entries[index].line) + ": the runner knows no " + key.first + " "
                + key.second);
    return names;
}

} // namespace quillon
