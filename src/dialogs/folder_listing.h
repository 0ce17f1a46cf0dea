// FolderListing: what a file or directory chooser shows of a folder (its folders, then the files that the
// chosen filter lets through, each sorted regardless of letter case), and the filters that games describe as
// "label|pattern;pattern|label|pattern".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One choice of a filter.
struct FileFilter {
    std::string label;                  // Windows-1252 bytes, as the game wrote it
    std::vector<std::string> patterns;  // "*" and "?" wildcards, UTF-8; empty lets every file through
};

// The choices of a filter text: labels and pattern lists alternate, patterns are separated by ";" and may have
// spaces around them. A label without patterns at the end is left out; so no filter text has no choices.
std::vector<FileFilter> parse_file_filter(std::string_view text);
// Whether the file's name (UTF-8) passes: it matches one of the patterns, letter case ignored.
bool filter_passes(const FileFilter& filter, const std::string& name);

struct FolderEntry {
    std::string name;             // as the game sees it: Windows-1252 bytes
    std::filesystem::path path;   // the entry in the file system
    bool folder = false;          // a folder (or a link to one), else a regular file
};

class FolderListing {
public:
    // Lists the folder (made absolute): its folders, then, when files are wanted, the files that the filter
    // lets through (every file without one). Names that start with a point are hidden, as are entries that are
    // neither files nor folders. False, with nothing listed, when the folder cannot be read.
    bool read(const std::filesystem::path& folder, bool files, const FileFilter* filter);

    const std::filesystem::path& folder() const { return m_folder; }
    const std::vector<FolderEntry>& entries() const { return m_entries; }

private:
    std::filesystem::path m_folder;      // absolute, without "." or ".." parts
    std::vector<FolderEntry> m_entries;  // folders first, then files
};

// The folder made absolute, without "." or ".." parts and without a separator at its end.
std::filesystem::path normal_folder(const std::filesystem::path& folder);
// The folder above, the root staying itself.
std::filesystem::path parent_folder(const std::filesystem::path& folder);
// Whether the folder is the root or lies below it (both absolute and normal).
bool folder_within(const std::filesystem::path& folder, const std::filesystem::path& root);
// A path of the file system as a game sees it: Windows-1252 bytes.
std::string game_name_of(const std::filesystem::path& path);

}  // namespace quillon
