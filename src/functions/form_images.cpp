// The pictures of the runner's own dialogs, from the image sheets while the game plays (they hold the only
// copies then), or from the resources themselves before.
#include "functions/form_images.h"

#include "functions/world_families.h"
#include "graphics/graphics.h"
#include "world/world.h"

namespace quillon {

std::optional<Bitmap24> background_picture(std::int32_t background)
{
    const World* world = World::installed();
    if (!world || !world->backgrounds().exists(background))
        return std::nullopt;
    if (Graphics* graphics = play_services().graphics) {
        ImageSheet* sheet = graphics->sheets().background(background);
        return sheet && sheet->exists() ? sheet->image_bitmap(0) : std::nullopt;
    }
    const Bitmap24* image = world->backgrounds().get(background)->image_bitmap();
    return image ? std::optional<Bitmap24>(*image) : std::nullopt;
}

std::vector<Bitmap24> sprite_pictures(std::int32_t sprite)
{
    std::vector<Bitmap24> pictures;
    const World* world = World::installed();
    if (!world || !world->sprites().exists(sprite))
        return pictures;
    if (Graphics* graphics = play_services().graphics) {
        ImageSheet* sheet = graphics->sheets().sprite(sprite);
        for (int i = 0; sheet && sheet->exists() && i < sheet->image_count(); ++i) {
            if (std::optional<Bitmap24> image = sheet->image_bitmap(i))
                pictures.push_back(std::move(*image));
        }
        return pictures;
    }
    const CSprite& resource = *world->sprites().get(sprite);
    for (int i = 0; i < resource.frame_count(); ++i) {
        if (const Bitmap24* image = resource.frame_bitmap(i))
            pictures.push_back(*image);
    }
    return pictures;
}

MessageImages message_images(const MessageSettings& settings)
{
    MessageImages images;
    if (settings.background >= 0)
        images.background = background_picture(settings.background);
    if (settings.button_sprite >= 0) {
        images.buttons = sprite_pictures(settings.button_sprite);
        if (images.buttons.size() > 3)
            images.buttons.resize(3);
        while (!images.buttons.empty() && images.buttons.size() < 3)
            images.buttons.push_back(images.buttons.back());
        const World* world = World::installed();
        images.transparent_buttons
            = !images.buttons.empty() && world->sprites().get(settings.button_sprite)->transparent;
    }
    return images;
}

} // namespace quillon
