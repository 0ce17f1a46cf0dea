// FolderListing: folders and filtered files of a folder, sorted as choosers show them; filter texts parsed.
#include "dialogs/folder_listing.h"

#include "support/ascii_case.h"
#include "support/file_search.h"
#include "support/win1252.h"

#include <algorithm>

namespace quillon {

namespace fs = std::filesystem;

namespace {

std::string_view trimmed(std::string_view text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Before: letter case ignored first, byte order between names that differ only in case.
bool sorts_before(const FolderEntry& a, const FolderEntry& b)
{
    if (a.folder != b.folder)
        return a.folder;
    std::string lower_a = ascii_lower(a.name);
    std::string lower_b = ascii_lower(b.name);
    return lower_a != lower_b ? lower_a < lower_b : a.name < b.name;
}

}  // namespace

fs::path normal_folder(const fs::path& folder)
{
    std::error_code error;
    fs::path absolute = fs::absolute(folder.empty() ? fs::path(".") : folder, error);
    if (error)
        absolute = folder;
    absolute = absolute.lexically_normal();
    // "a/b/" and "a/b" are the same folder; the root keeps its separator.
    if (absolute.has_relative_path() && absolute.filename().empty())
        absolute = absolute.parent_path();
    return absolute;
}

std::vector<FileFilter> parse_file_filter(std::string_view text)
{
    std::vector<FileFilter> filters;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t label_end = text.find('|', start);
        if (label_end == std::string_view::npos)
            break;
        std::size_t patterns_end = std::min(text.find('|', label_end + 1), text.size());
        FileFilter filter {std::string(text.substr(start, label_end - start)), {}};
        std::string_view patterns = text.substr(label_end + 1, patterns_end - label_end - 1);
        while (!patterns.empty()) {
            std::size_t end = std::min(patterns.find(';'), patterns.size());
            if (std::string_view pattern = trimmed(patterns.substr(0, end)); !pattern.empty())
                filter.patterns.push_back(win1252_to_utf8(pattern));
            patterns.remove_prefix(std::min(end + 1, patterns.size()));
        }
        filters.push_back(std::move(filter));
        start = patterns_end + 1;
    }
    return filters;
}

bool filter_passes(const FileFilter& filter, const std::string& name)
{
    return filter.patterns.empty()
        || std::ranges::any_of(filter.patterns, [&](const std::string& pattern) { return name_matches_mask(name, pattern); });
}

bool FolderListing::read(const fs::path& folder, bool files, const FileFilter* filter)
{
    m_folder = normal_folder(folder);
    m_entries.clear();
    std::error_code error;
    fs::directory_iterator entries(m_folder, error);
    if (error)
        return false;
    for (fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        std::error_code kind_error;
        bool is_folder = entries->is_directory(kind_error);
        if (!is_folder && (!files || !entries->is_regular_file(kind_error) || (filter && !filter_passes(*filter, name))))
            continue;
        m_entries.push_back({utf8_to_win1252(name), entries->path(), is_folder});
    }
    std::sort(m_entries.begin(), m_entries.end(), sorts_before);
    return true;
}

fs::path parent_folder(const fs::path& folder) { return folder.has_relative_path() ? folder.parent_path() : folder; }

bool folder_within(const fs::path& folder, const fs::path& root)
{
    auto [root_end, folder_at] = std::mismatch(root.begin(), root.end(), folder.begin(), folder.end());
    return root_end == root.end();
}

std::string game_name_of(const fs::path& path) { return utf8_to_win1252(path.string()); }

}  // namespace quillon
