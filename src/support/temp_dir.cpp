// TempDirectory: the process's own temporary directory and the unique file names inside it.
#include "support/temp_dir.h"

#include <cstdlib>
#include <string>

namespace quillon {

namespace fs = std::filesystem;

// Names are drawn from 100000 numbers; a bound on the draws keeps a directory crowded with our names from
// hanging the start-up.
static constexpr int MAX_NAME_DRAWS = 100000;

TempDirectory::TempDirectory(std::uint32_t seed) : m_random(seed) {}

// The directory the environment names for temporary files. Games were made where "temp" and "tmp" name it, in
// either case; TMPDIR is this system's own name and comes last.
static const char* environment_base()
{
    for (const char* name : {"temp", "TEMP", "tmp", "TMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return nullptr;
}

std::vector<fs::path> TempDirectory::default_bases()
{
    std::vector<fs::path> bases;
    if (const char* environment = environment_base())
        bases.emplace_back(environment);
    if (bases.empty() || bases.front() != "/tmp")
        bases.emplace_back("/tmp");
    std::error_code error;
    fs::path current = fs::current_path(error);
    bases.push_back(error ? fs::path(".") : current);
    return bases;
}

bool TempDirectory::create(const MessageCallback& report_failure) { return create(default_bases(), report_failure); }

bool TempDirectory::create(const std::vector<fs::path>& bases, const MessageCallback& report_failure)
{
    for (const fs::path& base : bases) {
        if (create_below(base))
            return true;
    }
    if (report_failure)
        report_failure(TEMP_DIR_FAILED_MESSAGE);
    return false;
}

int TempDirectory::draw_number() { return std::uniform_int_distribution<int>(0, 99999)(m_random); }

bool TempDirectory::create_below(const fs::path& base)
{
    std::error_code error;
    // Missing parents are made here; when that fails, creating the directory itself fails below.
    fs::create_directories(base, error);
    for (int draw = 0; draw < MAX_NAME_DRAWS; ++draw) {
        m_path = base / ("qn_ttt_" + std::to_string(draw_number()));
        // Creating the directory is also the test for its name: an existing directory is never taken over,
        // so no other user can hand us a directory they control.
        if (fs::create_directory(m_path, error)) {
            // Exported data files are the game's own; other users of a shared base have no business in them.
            fs::permissions(m_path, fs::perms::owner_all, error);
            return true;
        }
        if (error && error != std::errc::file_exists)
            return false;
    }
    return false;
}

void TempDirectory::remove() const
{
    std::error_code error;
    if (m_path.empty() || !fs::is_directory(m_path, error))
        return;
    for (fs::directory_iterator entry(m_path, error), end; !error && entry != end; entry.increment(error)) {
        if (entry->symlink_status(error).type() != fs::file_type::directory) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
    // Fails, as intended, while subfolders remain.
    fs::remove(m_path, error);
}

fs::path TempDirectory::unique_file_name(std::string_view extension)
{
    fs::path name;
    for (int draw = 0; draw < MAX_NAME_DRAWS; ++draw) {
        name = m_path / ("a" + std::to_string(draw_number()) + std::string(extension));
        std::error_code error;
        if (!fs::exists(fs::symlink_status(name, error)))
            break;
    }
    return name;
}

}  // namespace quillon
