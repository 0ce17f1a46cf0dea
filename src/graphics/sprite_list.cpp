// SpriteList: the game's sprites with their collision masks and image sheets, added, replaced and deleted at
// run time.
#include "graphics/sprite_list.h"

namespace quillon {

SpriteList::SpriteList(ResourceList<CSprite>& list, CollisionMasks& masks, ImageSheets& sheets)
    : m_list(list)
    , m_masks(masks)
    , m_sheets(sheets)
{
}

int SpriteList::add(const std::filesystem::path& file, const SpriteImport& import)
{
    auto sprite = std::make_unique<CSprite>();
    if (!sprite->add_from_file(file, import))
        return -1;
    int index = m_list.count();
    m_list.add("__newsprite" + std::to_string(index), std::move(sprite));
    rebuild(index);
    return index;
}

bool SpriteList::replace(int index, const std::filesystem::path& file, const SpriteImport& import)
{
    // An emptied slot takes a fresh sprite first and keeps its name, whatever the outcome.
    if (index < 0 || index >= m_list.count())
        return false;
    CSprite* sprite = m_list.exists(index) ? m_list.get(index) : m_list.put(index, std::make_unique<CSprite>());
    bool loaded = sprite->add_from_file(file, import);
    if (loaded)
        rebuild(index);
    sprite->release_images();
    return loaded;
}

bool SpriteList::remove(int index)
{
    if (!m_list.exists(index))
        return false;
    m_sheets.delete_sprite(index);
    m_masks.free(index);
    m_list.remove(index);
    return true;
}

void SpriteList::rebuild(int index)
{
    CSprite* sprite = m_list.get(index);
    m_sheets.build_sprite(index, sprite);
    m_masks.build(index, sprite);
    sprite->release_images();
}

void SpriteList::release_images()
{
    for (int i = 0; i < m_list.count(); ++i) {
        if (CSprite* sprite = m_list.get(i))
            sprite->release_images();
    }
}

}  // namespace quillon
