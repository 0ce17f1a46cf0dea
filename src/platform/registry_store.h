// RegistryStore: the player's values kept between runs (the games' own values, highscores, preferences), as
// keys under four roots with named values of three kinds, in one SQLite database per user.
//
// Every value is committed as it is written, in write-ahead-log mode, so a process killed at any moment loses
// no value written before and leaves the store readable, and several games can write at once. When the store
// cannot be opened or written (locked, read-only, corrupt), the failure is reported once and the values are
// kept in memory for the rest of the run: the game goes on and reads back what it wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {

// The roots, numbered as games select them.
enum class RegistryRoot : int { current_user = 0, local_machine = 1, classes_root = 2, users = 3 };

// The kinds of value, numbered as the registry of the games' home system numbers them.
enum class RegistryKind : int { string = 1, binary = 3, integer = 4 };

struct RegistryValue {
    RegistryKind kind = RegistryKind::string;
    std::string bytes;  // a string's bytes, a binary value's bytes, an integer as 4 bytes, little-endian
};

class RegistryStore {
public:
    using ReportFailure = std::function<void(const std::string& message)>;

    // The store in this file; it and its folder are made by the first write when missing. `report` hears the
    // first failure only.
    RegistryStore(const std::filesystem::path& file, ReportFailure report);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Keys are paths of names separated by "\"; a leading or doubled "\" does not count. Keys and value names
    // compare without regard to ASCII letter case. False when the value is only kept in memory.
    bool write(RegistryRoot root, std::string_view key, std::string_view name, const RegistryValue& value);
    std::optional<RegistryValue> read(RegistryRoot root, std::string_view key, std::string_view name);

    bool write_string(RegistryRoot root, std::string_view key, std::string_view name, std::string_view text);
    bool write_real(RegistryRoot root, std::string_view key, std::string_view name, double value);
    bool write_integer(RegistryRoot root, std::string_view key, std::string_view name, std::int32_t value);
    // A value of another kind reads as none.
    std::optional<std::string> read_string(RegistryRoot root, std::string_view key, std::string_view name);
    std::optional<double> read_real(RegistryRoot root, std::string_view key, std::string_view name);
    std::optional<std::int32_t> read_integer(RegistryRoot root, std::string_view key, std::string_view name);

    // Whether a failure sent the writes to memory.
    bool failed() const { return m_failed; }

private:
    class Database;
    void open_disk();
    void fail(const std::string& what);

    std::filesystem::path m_file;
    ReportFailure m_report;
    std::unique_ptr<Database> m_disk;    // the file; null when it cannot be opened
    std::unique_ptr<Database> m_memory;  // the values written since a failure
    bool m_failed = false;
};

// The store of the user who runs the program: registry.sqlite in $XDG_CONFIG_HOME/quillon/ (an absolute path),
// else in ~/.config/quillon/.
std::filesystem::path user_registry_file();

// The user's store, opened on first use; its failure goes to standard error.
RegistryStore& user_registry();
// Closes the user's store, so that the next use opens the file that the environment then names.
void close_user_registry();

}  // namespace quillon::platform
