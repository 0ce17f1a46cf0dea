// Finding files as a game written for Windows expects.
#include "support/file_search.h"

#include "support/game_path.h"

#include <algorithm>

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t SPECIAL_ATTRIBUTES = ATTRIBUTE_HIDDEN | ATTRIBUTE_SYSTEM | ATTRIBUTE_VOLUME_ID
    | ATTRIBUTE_DIRECTORY;

std::uint32_t attributes_of(const fs::path& name, const fs::file_status& status)
{
    std::uint32_t bits = 0;
    if (fs::is_directory(status))
        bits |= ATTRIBUTE_DIRECTORY;
    else if (fs::is_regular_file(status))
        bits |= ATTRIBUTE_ARCHIVE;
    else
        bits |= ATTRIBUTE_SYSTEM;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        bits |= ATTRIBUTE_READ_ONLY;
    std::string text = name.filename().string();
    if (text.size() > 1 && text[0] == '.' && text != "..")
        bits |= ATTRIBUTE_HIDDEN;
    return bits;
}

// One UTF-8 character's length from its first byte.
std::size_t character_length(const std::string& text, std::size_t at)
{
    auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = byte < 0xC0 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

// Wildcard matching that goes back only to the last "*", so that no mask takes more than name length times mask
// length steps.
bool matches(const std::string& name, const std::string& mask)
{
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t star = std::string::npos;  // the mask just after the last "*" seen
    std::size_t resume = 0;                // where the name goes on when that "*" takes one more character
    while (n < name.size()) {
        std::size_t name_length = character_length(name, n);
        if (m < mask.size() && mask[m] == '*') {
            star = ++m;
            resume = n;
            continue;
        }
        if (m < mask.size()) {
            std::size_t mask_length = character_length(mask, m);
            if (mask[m] == '?' || equal_ignoring_letter_case(std::string_view(name).substr(n, name_length),
                                                              std::string_view(mask).substr(m, mask_length))) {
                n += name_length;
                m += mask[m] == '?' ? 1 : mask_length;
                continue;
            }
        }
        if (star == std::string::npos)
            return false;
        resume += character_length(name, resume);
        n = resume;
        m = star;
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

}  // namespace

std::optional<std::uint32_t> file_attributes(const fs::path& path)
{
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return std::nullopt;
    return attributes_of(path, status);
}

bool name_matches_mask(const std::string& name, const std::string& mask)
{
    return mask == "*.*" || matches(name, mask);
}

bool FileSearch::start(const fs::path& folder, const std::string& mask, std::uint32_t wanted)
{
    m_names.clear();
    m_next = 0;
    std::uint32_t excluded = SPECIAL_ATTRIBUTES & ~wanted;
    auto consider = [&](const std::string& name, const fs::path& path) {
        if (!name_matches_mask(name, mask))
            return;
        std::optional<std::uint32_t> bits = file_attributes(path);
        if (bits && (*bits & excluded) == 0)
            m_names.push_back(name);
    };
    fs::path where = folder.empty() ? fs::path(".") : folder;
    std::error_code error;
    fs::directory_iterator entries(where, error);
    if (error)
        return false;
    // A folder lists itself and its parent first, except the root, which has neither.
    fs::path canonical = fs::canonical(where, error);
    if (!error && canonical != canonical.root_path()) {
        consider(".", where);
        consider("..", where / "..");
    }
    std::size_t listed = m_names.size();
    for (fs::directory_iterator end; !error && entries != end; entries.increment(error))
        consider(entries->path().filename().string(), entries->path());
    std::sort(m_names.begin() + static_cast<std::ptrdiff_t>(listed), m_names.end());
    return !m_names.empty();
}

std::optional<std::string> FileSearch::next()
{
    if (m_next >= m_names.size())
        return std::nullopt;
    return m_names[m_next++];
}

}  // namespace quillon
