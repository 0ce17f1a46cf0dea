// TempDirectory: the process's own temporary directory and the unique file names inside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string_view>
#include <vector>

namespace quillon {

// Shown once when no base directory could take the temporary directory; the program goes on without one.
inline constexpr std::string_view TEMP_DIR_FAILED_MESSAGE =
    "Failed to create temp dir. This can create serious problems with sounds, etc.";

// One directory for the whole run, named "qn_ttt_" and a random number below a base directory. The game data
// copy, sound files, load-on-use images and exported data files live in it; it is removed at process end.
class TempDirectory {
public:
    using MessageCallback = std::function<void(std::string_view message)>;

    // The seed drives every random number drawn for directory and file names; tests fix it.
    explicit TempDirectory(std::uint32_t seed = std::random_device {}());

    // The bases tried in order: the first of $temp, $TEMP, $tmp, $TMP and $TMPDIR that is set and not empty,
    // then /tmp, then the current directory.
    static std::vector<std::filesystem::path> default_bases();

    // Makes the directory below the first base that takes it (creating missing parents). When every base
    // fails, the message goes to `report_failure` and path() names the last directory tried.
    bool create(const MessageCallback& report_failure);
    bool create(const std::vector<std::filesystem::path>& bases, const MessageCallback& report_failure);

    // Deletes the files directly inside, then the directory itself; subfolders and their contents stay,
    // and then the directory stays too.
    void remove() const;

    const std::filesystem::path& path() const { return m_path; }

    // The directory, then "a", a random number from 0 to 99999 and the extension (which may be empty);
    // the number is drawn again while a file of that name exists.
    std::filesystem::path unique_file_name(std::string_view extension);

private:
    bool create_below(const std::filesystem::path& base);
    int draw_number();

    std::mt19937 m_random;         // source of the numbers in directory and file names
    std::filesystem::path m_path;  // the directory, or the last one tried when none could be made
};

}  // namespace quillon
