// The pictures of the runner's own dialogs, copied from the game's sprites and backgrounds as they are now.
#pragma once

#include "dialogs/message_form.h"
#include "support/bitmap.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

// The image of the background; none when it does not exist or has no image.
std::optional<Bitmap24> background_picture(std::int32_t background);
// The images of the sprite in order; empty when it does not exist.
std::vector<Bitmap24> sprite_pictures(std::int32_t sprite);

// The message form's background and button images as the settings choose them. A button sprite gives images
// 0, 1 and 2 (a missing image 1 copies image 0, a missing image 2 copies image 1).
MessageImages message_images(const MessageSettings& settings);

} // namespace quillon
