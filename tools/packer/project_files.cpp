// Where the files of a project folder come from and go to: a folder on disk, or files held in memory.
#include "project_files.h"

#include "pack_error.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

std::optional<std::vector<std::uint8_t>> FolderSource::read(const std::string& path) const
{
    std::ifstream in(m_folder / path, std::ios::binary);
    if (!in || fs::is_directory(m_folder / path))
        return std::nullopt;
    return std::vector<std::uint8_t> {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FolderSource::exists(const std::string& path) const
{
    std::error_code error;
    return fs::is_regular_file(m_folder / path, error);
}

namespace {

bool is_hidden(const std::string& path)
{
    return path.starts_with('.') || path.find("/.") != std::string::npos;
}

}  // namespace

std::vector<std::string> FolderSource::list() const
{
    // Symbolic links to folders are not followed, so a link loop cannot make the walk endless.
    std::vector<std::string> paths;
    std::error_code error;
    fs::recursive_directory_iterator walk(m_folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        std::string path = walk->path().lexically_relative(m_folder).generic_string();
        if (walk->is_directory(error) && is_hidden(path))
            walk.disable_recursion_pending();
        else if (walk->is_regular_file(error) && !is_hidden(path))
            paths.push_back(path);
    }
    return paths;
}

std::vector<std::string> MemorySource::list() const
{
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : m_files)
        if (!is_hidden(path))
            paths.push_back(path);
    return paths;
}

std::optional<std::vector<std::uint8_t>> MemorySource::read(const std::string& path) const
{
    auto found = m_files.find(path);
    if (found == m_files.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::uint8_t> bytes_of(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::string text_of(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

namespace {

fs::path temporary_beside(const fs::path& path)
{
    return path.parent_path() / (path.filename().string() + ".tmp-" + std::to_string(getpid()));
}

void save(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw PackError(path.string() + ": cannot write the file");
}

}  // namespace

void write_file_atomically(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    fs::path temporary = temporary_beside(path);
    std::error_code error;
    try {
        save(temporary, bytes);
    } catch (const PackError&) {
        fs::remove(temporary, error);
        throw PackError(path.string() + ": cannot write the file");
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        throw PackError(path.string() + ": cannot write the file");
    }
}

void write_project_folder(const ProjectFiles& files, const fs::path& folder)
{
    std::error_code error;
    if (fs::exists(folder, error) && !(fs::is_directory(folder, error) && fs::is_empty(folder, error)))
        throw PackError(folder.string() + ": already exists and is not an empty folder");
    fs::path temporary = temporary_beside(folder.has_filename() ? folder : folder.parent_path());
    fs::remove_all(temporary, error);
    try {
        for (const auto& [path, bytes] : files) {
            fs::create_directories((temporary / path).parent_path());
            save(temporary / path, bytes);
        }
        fs::remove(folder, error);  // an empty folder makes way for the finished one
        fs::rename(temporary, folder);
    } catch (const std::exception&) {
        fs::remove_all(temporary, error);
        throw PackError(folder.string() + ": cannot write the project folder");
    }
}

}  // namespace quillon
