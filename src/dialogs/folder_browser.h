// FolderBrowser: the part that file and directory choosers share: the folder shown, its listing in a list
// view, going into a folder and up (never above a root), and a line that shows the folder's path.
#pragma once

#include "dialogs/folder_listing.h"
#include "dialogs/list_view.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quillon {

class FolderBrowser {
public:
    // Files are listed (through the filter, when there is one) or only folders. Going up stops at the root.
    FolderBrowser(bool files, std::filesystem::path root);

    // Shows the folder (kept inside the root); false when it cannot be read, which shows it empty.
    bool open(const std::filesystem::path& folder);
    // Lists the folder shown again, the same row staying selected where it can.
    void refresh();
    // Goes to the folder above; false at the root. The folder come from is selected in the listing.
    bool up();
    // Opens the folder of the selected row; false when no folder row is selected.
    bool open_selected();
    void set_filter(const FileFilter* filter) { m_filter = filter; }

    const std::filesystem::path& folder() const { return m_listing.folder(); }
    // The selected entry, none when nothing is selected.
    const FolderEntry* selected() const;
    bool readable() const { return m_readable; }
    ListView& list() { return m_list; }
    const ListView& list() const { return m_list; }

    // The folder's path in a sunken box, its end in sight when it is too long.
    void paint_path(SurfaceCanvas& canvas, const SurfaceRect& box) const;

private:
    void show_listing();

    bool m_files;                  // files are listed as well as folders
    std::filesystem::path m_root;  // nothing above it is shown; "/" lets the whole file system be browsed
    const FileFilter* m_filter = nullptr;  // the files let through; none lets all through
    FolderListing m_listing;       // the folder shown
    ListView m_list;               // its rows
    bool m_readable = true;        // the folder could be read
};

// The folder a game names (Windows-1252, either separator, any letter case); empty when it names none.
std::filesystem::path existing_folder(std::string_view text);

}  // namespace quillon
