// FolderBrowser: moving through folders in a chooser and showing where it is.
#include "dialogs/folder_browser.h"

#include "dialogs/form_widgets.h"
#include "support/game_path.h"

#include <algorithm>

namespace quillon {

namespace fs = std::filesystem;

FolderBrowser::FolderBrowser(bool files, fs::path root)
    : m_files(files)
    , m_root(normal_folder(root))
{
}

bool FolderBrowser::open(const fs::path& folder)
{
    FolderListing listing;
    m_readable = listing.read(folder, m_files, m_filter);
    if (!folder_within(listing.folder(), m_root))
        m_readable = listing.read(m_root, m_files, m_filter);
    m_listing = std::move(listing);
    show_listing();
    return m_readable;
}

void FolderBrowser::refresh()
{
    std::string name = selected() ? selected()->name : std::string();
    open(fs::path(folder()));
    const std::vector<FolderEntry>& entries = m_listing.entries();
    auto at = std::ranges::find(entries, name, &FolderEntry::name);
    if (at != entries.end())
        m_list.select(static_cast<int>(at - entries.begin()));
}

bool FolderBrowser::up()
{
    fs::path from = folder();
    fs::path above = parent_folder(from);
    if (above == from || !folder_within(above, m_root))
        return false;
    open(above);
    const std::vector<FolderEntry>& entries = m_listing.entries();
    auto at = std::ranges::find(entries, from.filename(), [](const FolderEntry& entry) { return entry.path.filename(); });
    if (at != entries.end())
        m_list.select(static_cast<int>(at - entries.begin()));
    return true;
}

bool FolderBrowser::open_selected()
{
    const FolderEntry* entry = selected();
    if (!entry || !entry->folder)
        return false;
    open(fs::path(entry->path));
    return true;
}

const FolderEntry* FolderBrowser::selected() const
{
    int row = m_list.selected();
    return row >= 0 && row < static_cast<int>(m_listing.entries().size()) ? &m_listing.entries()[row] : nullptr;
}

void FolderBrowser::show_listing()
{
    std::vector<ListRow> rows;
    rows.reserve(m_listing.entries().size());
    for (const FolderEntry& entry : m_listing.entries())
        rows.push_back({entry.name, entry.folder});
    m_list.set_rows(std::move(rows));
}

void FolderBrowser::paint_path(SurfaceCanvas& canvas, const SurfaceRect& box) const
{
    TextField field;
    field.set_text(game_name_of(folder()), false);
    paint_text_field(canvas, text_engine(), box, field, {.background = DIALOG_FACE, .focused = false});
}

fs::path existing_folder(std::string_view text)
{
    if (text.empty())
        return {};
    fs::path path = find_game_path(text);
    std::error_code error;
    return fs::is_directory(path, error) ? path : fs::path();
}

}  // namespace quillon
