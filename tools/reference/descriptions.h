// The descriptions file: one line per function, variable, constant group, event and function family.
#pragma once

#include <istream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

// One line: "kind | names | arguments | text". Constants may name a group of several names, separated by spaces.
struct Description {
    std::string kind; // family, function, variable, constant or event
    std::vector<std::string> names; // one name, or the names of a constant group
    std::string arguments; // argument names, an array's indices, or a family's title
    std::string text; // the one-line description
    int line = 0; // its line in the file
};

class Descriptions {
public:
    // Reads the lines; blank lines and lines starting with '#' are skipped. Malformed lines become problems.
    explicit Descriptions(std::istream& in);

    // The line that describes this name of this kind, or null.
    const Description* find(const std::string& kind, const std::string& name) const;
    // Marks a name as known to the runner; unknown_names() then lists the described names never marked.
    void mark_known(const std::string& kind, const std::string& name) { m_known.insert({ kind, name }); }
    std::vector<std::string> unknown_names() const;

    const std::vector<std::string>& problems() const { return m_problems; }

private:
    std::vector<Description> m_entries; // in file order
    std::map<std::pair<std::string, std::string>, std::size_t> m_by_name; // (kind, name) -> entry
    std::set<std::pair<std::string, std::string>> m_known; // names the runner knows
    std::vector<std::string> m_problems; // malformed or repeated lines
};

} // namespace quillon
