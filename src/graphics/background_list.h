// BackgroundList: the game's backgrounds with their image sheets, added, replaced and deleted at run time.
#pragma once

#include "graphics/background.h"
#include "graphics/image_sheets.h"
#include "support/resource_list.h"

#include <filesystem>
#include <string>

namespace quillon {

class BackgroundList {
public:
    BackgroundList(ResourceList<CBackground>& list, ImageSheets& sheets);

    bool exists(int index) const { return m_list.exists(index); }
    CBackground* get(int index) const { return m_list.get(index); }
    int count() const { return m_list.count(); }
    // "<undefined>" for an index without a background.
    std::string name(int index) const { return m_list.name(index); }
    int find(std::string_view name) const { return m_list.find(name); }

    // A new background named "__newbackground" and its index, at the end; -1 when the file gives nothing.
    int add(const std::filesystem::path& file, const BackgroundImport& import);
    // Loads the file into an existing background, keeping its name; a failed load leaves it as it was.
    bool replace(int index, const std::filesystem::path& file, const BackgroundImport& import);
    // Empties the slot for good: its sheet and background go, and the index is not given out again.
    bool remove(int index);

    // Frees every background's image once the sheets hold the pixels.
    void release_images();

private:
    ResourceList<CBackground>& m_list;   // the game's backgrounds
    ImageSheets& m_sheets;               // the drawable forms
};

}  // namespace quillon
