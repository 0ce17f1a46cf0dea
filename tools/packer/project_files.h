// Where the files of a project folder come from and go to: a folder on disk, or files held in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// A project's files by their path relative to the project folder, with '/' between the parts.
using ProjectFiles = std::map<std::string, std::vector<std::uint8_t>>;

// Read access to a project; paths are relative with '/' separators.
class ProjectSource {
public:
    virtual ~ProjectSource() = default;
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path) const = 0;
    virtual bool exists(const std::string& path) const = 0;
    // Every file of the project, leaving out hidden files and folders (a name starting with '.').
    virtual std::vector<std::string> list() const = 0;
};

class FolderSource : public ProjectSource {
public:
    explicit FolderSource(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) const override;
    bool exists(const std::string& path) const override;
    std::vector<std::string> list() const override;

private:
    std::filesystem::path m_folder;  // the project folder
};

class MemorySource : public ProjectSource {
public:
    explicit MemorySource(const ProjectFiles& files) : m_files(files) {}
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) const override;
    bool exists(const std::string& path) const override { return m_files.contains(path); }
    std::vector<std::string> list() const override;

private:
    const ProjectFiles& m_files;  // owned by the caller
};

std::vector<std::uint8_t> bytes_of(std::string_view text);
std::string text_of(const std::vector<std::uint8_t>& bytes);

// Writes the files into a new folder that must not exist yet or be empty. Everything goes into a temporary
// folder beside it first, which is renamed at the end, so a failure leaves nothing half-written behind.
// Throws PackError.
void write_project_folder(const ProjectFiles& files, const std::filesystem::path& folder);

// Writes a file through a temporary name in the same folder and a rename. Throws PackError.
void write_file_atomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace quillon
