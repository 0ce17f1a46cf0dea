// CDataFile: a file that a game carries inside its game file, with its record and its export and clean-up.
#include "support/data_file.h"

#include "support/compression.h"
#include "support/game_path.h"
#include "support/secure_mode.h"

namespace quillon {

namespace fs = std::filesystem;

bool CDataFile::read_record(CStream& stream)
{
    *this = CDataFile {};
    if (stream.ReadInt() != DATA_FILE_VERSION)
        return false;
    file_name = stream.ReadString();
    has_data = stream.ReadBool();
    if (has_data) {
        auto stored = stream.ReadBlockBytes();
        stored_contents.assign(stored.begin(), stored.end());
        contents = CStream(inflate_zlib(stored));
    }
    export_mode = stream.ReadInt();
    overwrite = stream.ReadBool();
    free_after_export = stream.ReadBool();
    remove_at_end = stream.ReadBool();
    return true;
}

void CDataFile::write_record(CStream& stream) const
{
    stream.WriteInt(DATA_FILE_VERSION);
    stream.WriteString(file_name);
    stream.WriteBool(has_data);
    if (has_data) {
        if (stored_contents.empty())
            stream.WriteCompressedBlock(contents.bytes());
        else
            stream.WriteBlock(stored_contents);
    }
    stream.WriteInt(export_mode);
    stream.WriteBool(overwrite);
    stream.WriteBool(free_after_export);
    stream.WriteBool(remove_at_end);
}

void CDataFile::set_contents(std::vector<std::uint8_t> bytes)
{
    contents = CStream(std::move(bytes));
    stored_contents = {};
    has_data = true;
}

void CDataFile::discard()
{
    contents = CStream {};
    stored_contents = {};
    has_data = false;
}

bool CDataFile::write_to(const fs::path& target) const
{
    if (!has_data)
        return false;
    std::error_code error;
    // A dangling link counts as an existing file too, so nothing is ever written through one unasked.
    if (fs::exists(fs::symlink_status(target, error)) && !overwrite)
        return false;
    try {
        return contents.save_to_file(target);
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<fs::path> CDataFile::export_path(const DataFileContext& context) const
{
    switch (export_mode) {
    case DATA_FILE_TO_TEMP_DIRECTORY:
    case DATA_FILE_AS_FONT:
        // Joined as text: a name that starts with a separator still lands inside the directory.
        return fs::path(context.temp_directory.native() + "/" + game_path(file_name).native());
    case DATA_FILE_TO_ITS_NAME:
        return game_path(file_name);
    default:
        return std::nullopt;
    }
}

bool CDataFile::export_at_start(const DataFileContext& context)
{
    // 1. Without data there is nothing to write.
    if (!has_data)
        return false;
    // 2. Files that are not exported keep their contents for a later datafile_export.
    if (export_mode == DATA_FILE_NOT_EXPORTED)
        return true;
    // 3. A game in secure mode may write only into the folders the runner chooses.
    if (context.secure_mode && names_a_folder(file_name)) {
        if (context.report_error)
            context.report_error("In secure mode you cannot export a data file to " + file_name);
        return false;
    }
    // 4. Write where the mode says; a font counts as exported only once the system took it.
    bool exported = false;
    if (auto target = export_path(context)) {
        exported = write_to(*target);
        if (exported && export_mode == DATA_FILE_AS_FONT)
            exported = context.register_font && context.register_font(*target);
    }
    // 5. Dropping the contents does not wait for a successful write.
    if (free_after_export)
        discard();
    return exported;
}

void CDataFile::clean_up(const DataFileContext& context) const
{
    if (!remove_at_end)
        return;
    // Secure mode never wrote to such a name, so it must not delete there either.
    if (context.secure_mode && names_a_folder(file_name))
        return;
    auto target = export_path(context);
    if (!target)
        return;
    if (export_mode == DATA_FILE_AS_FONT && context.unregister_font)
        context.unregister_font(*target);
    std::error_code ignored;
    fs::remove(*target, ignored);
}

void export_data_files(ResourceList<CDataFile>& files, const DataFileContext& context)
{
    for (int index = 0; index < files.count(); ++index) {
        if (CDataFile* file = files.get(index))
            file->export_at_start(context);
    }
}

void clean_up_data_files(const ResourceList<CDataFile>& files, const DataFileContext& context)
{
    for (int index = 0; index < files.count(); ++index) {
        if (const CDataFile* file = files.get(index))
            file->clean_up(context);
    }
}

}  // namespace quillon
