// Finding files as a game written for Windows expects: masks with "*" and "?" that ignore letter case, and
// the attribute bits of that system made from what this one knows about a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// The attribute bits.
enum FileAttribute : std::uint32_t {
    ATTRIBUTE_READ_ONLY = 1,   // the owner may not write it
    ATTRIBUTE_HIDDEN = 2,      // its name starts with a point
    ATTRIBUTE_SYSTEM = 4,      // neither a regular file nor a folder: devices, pipes, sockets
    ATTRIBUTE_VOLUME_ID = 8,   // never set here
    ATTRIBUTE_DIRECTORY = 16,
    ATTRIBUTE_ARCHIVE = 32,    // every regular file
};

// The bits of the file or folder at this path; none when it cannot be examined.
std::optional<std::uint32_t> file_attributes(const std::filesystem::path& path);

// Whether a name (UTF-8) matches a mask: "*" any run of characters, "?" one character, letters in any case;
// "*.*" matches every name, with a point or without.
bool name_matches_mask(const std::string& name, const std::string& mask);

// One search: the names in a folder that match a mask, sorted by byte order, "." and ".." first where the mask
// takes them. Files with the hidden, system or directory bit are found only when the wanted attributes include
// one of their bits; all others are always found.
class FileSearch {
public:
    // Starts a search for a mask (a folder path, then a name with wildcards); false when nothing matches.
    bool start(const std::filesystem::path& folder, const std::string& mask, std::uint32_t wanted);
    // The next name, none when the search has run out.
    std::optional<std::string> next();

private:
    std::vector<std::string> m_names;  // the matches, in the order they are given
    std::size_t m_next = 0;
};

}  // namespace quillon
