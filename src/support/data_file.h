// CDataFile: a file that a game carries inside its game file, with its record and its export and clean-up.
#pragma once

#include "support/resource_list.h"
#include "support/stream.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

inline constexpr std::int32_t DATA_FILE_VERSION = 440;

// How a data file leaves the game file at the start of the game.
enum DataFileExportMode : std::int32_t {
    DATA_FILE_NOT_EXPORTED = 0,
    DATA_FILE_TO_TEMP_DIRECTORY = 1,
    DATA_FILE_TO_ITS_NAME = 2,
    DATA_FILE_AS_FONT = 3,  // into the temporary directory, then registered as a font for this process
};

// What export and clean-up need from the rest of the runner.
struct DataFileContext {
    std::filesystem::path temp_directory;  // where modes 1 and 3 write
    bool secure_mode = false;              // names with folders are refused
    std::function<void(const std::string& message)> report_error;  // a non-fatal game error
    std::function<bool(const std::filesystem::path& file)> register_font;    // true when a font was added
    std::function<bool(const std::filesystem::path& file)> unregister_font;  // true when a font was removed
};

struct CDataFile {
    std::string file_name;                    // Windows-1252 bytes; a plain name, or a path with '\' or '/'
    bool has_data = false;                    // whether the contents are (still) held
    CStream contents;                         // the file's bytes
    std::vector<std::uint8_t> stored_contents;  // the compressed bytes as the game file stored them, if read
    std::int32_t export_mode = DATA_FILE_TO_TEMP_DIRECTORY;  // a DataFileExportMode, or any other stored value
    bool overwrite = false;                   // export even when a file of that name exists
    bool free_after_export = true;            // drop the contents once the start-of-game export has run
    bool remove_at_end = true;                // delete the exported file when the game ends

    // The record that follows the entry's name in the game file. False for a version other than 440;
    // a truncated or corrupt record throws StreamError.
    bool read_record(CStream& stream);
    // Writes the record back exactly as it was read; contents set with set_contents are compressed anew.
    void write_record(CStream& stream) const;

    // Holds `bytes` as the contents, forgetting any stored compressed form.
    void set_contents(std::vector<std::uint8_t> bytes);
    // Drops the contents; later writes write nothing.
    void discard();

    // Writes the contents to `target` when there are any and either no file of that name exists or
    // overwrite is set. False in every other case, also when writing fails.
    bool write_to(const std::filesystem::path& target) const;

    // The export at the start of the game; true when the file went out as its mode asks.
    bool export_at_start(const DataFileContext& context);
    // Deletes (and for fonts first unregisters) the exported file when remove at end is set, whether or not
    // this run wrote it.
    void clean_up(const DataFileContext& context) const;

private:
    std::optional<std::filesystem::path> export_path(const DataFileContext& context) const;
};

// Exports every existing data file in index order; the results are ignored.
void export_data_files(ResourceList<CDataFile>& files, const DataFileContext& context);
// Cleans up every existing data file in index order.
void clean_up_data_files(const ResourceList<CDataFile>& files, const DataFileContext& context);

}  // namespace quillon
