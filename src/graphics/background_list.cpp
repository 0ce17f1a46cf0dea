// BackgroundList: the game's backgrounds with their image sheets, added, replaced and deleted at run time.
#include "graphics/background_list.h"

namespace quillon {

BackgroundList::BackgroundList(ResourceList<CBackground>& list, ImageSheets& sheets)
    : m_list(list)
    , m_sheets(sheets)
{
}

int BackgroundList::add(const std::filesystem::path& file, const BackgroundImport& import)
{
    auto background = std::make_unique<CBackground>();
    if (!background->add_from_file(file, import))
        return -1;
    int index = m_list.count();
    m_list.add("__newbackground" + std::to_string(index), std::move(background));
    CBackground* added = m_list.get(index);
    m_sheets.build_background(index, added);
    added->release_image();
    return index;
}

bool BackgroundList::replace(int index, const std::filesystem::path& file, const BackgroundImport& import)
{
    // An emptied slot takes a fresh background first and keeps its name, whatever the outcome.
    if (index < 0 || index >= m_list.count())
        return false;
    CBackground* background = m_list.exists(index) ? m_list.get(index) : m_list.put(index, std::make_unique<CBackground>());
    bool loaded = background->add_from_file(file, import);
    if (loaded)
        m_sheets.build_background(index, background);
    background->release_image();
    return loaded;
}

bool BackgroundList::remove(int index)
{
    if (!m_list.exists(index))
        return false;
    m_sheets.delete_background(index);
    m_list.remove(index);
    return true;
}

void BackgroundList::release_images()
{
    for (int i = 0; i < m_list.count(); ++i) {
        if (CBackground* background = m_list.get(i))
            background->release_image();
    }
}

}  // namespace quillon
