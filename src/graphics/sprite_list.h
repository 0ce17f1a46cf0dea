// SpriteList: the game's sprites with their collision masks and image sheets, added, replaced and deleted at
// run time.
#pragma once

#include "graphics/collision_mask.h"
#include "graphics/image_sheets.h"
#include "graphics/sprite.h"
#include "support/resource_list.h"

#include <filesystem>
#include <string>

namespace quillon {

class SpriteList {
public:
    SpriteList(ResourceList<CSprite>& list, CollisionMasks& masks, ImageSheets& sheets);

    bool exists(int index) const { return m_list.exists(index); }
    CSprite* get(int index) const { return m_list.get(index); }
    int count() const { return m_list.count(); }
    // "<undefined>" for an index without a sprite.
    std::string name(int index) const { return m_list.name(index); }
    int find(std::string_view name) const { return m_list.find(name); }

    // A new sprite named "__newsprite" and its index, at the end; -1 when the file gives nothing.
    int add(const std::filesystem::path& file, const SpriteImport& import);
    // Loads the file into an existing sprite, keeping its name; a failed load leaves the sprite as it was.
    bool replace(int index, const std::filesystem::path& file, const SpriteImport& import);
    // Empties the slot for good: its sheet, mask and sprite go, and the index is not given out again.
    bool remove(int index);

    // Frees every sprite's frames once the sheets and masks hold the pixels.
    void release_images();

private:
    // After a change: the sheet and mask anew, then the frames go.
    void rebuild(int index);

    ResourceList<CSprite>& m_list;   // the game's sprites
    CollisionMasks& m_masks;         // one per sprite
    ImageSheets& m_sheets;           // the drawable forms
};

}  // namespace quillon
