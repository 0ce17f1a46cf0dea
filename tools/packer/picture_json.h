// Sprites and backgrounds as JSON records with picture files, in both directions.
#pragma once

#include "graphics/background.h"
#include "graphics/sprite.h"
#include "project_context.h"

namespace quillon {

// Reads an entry of the manifest's sprite list (name already taken).
CSprite pack_sprite(Fields& fields, const std::string& name, const PackContext& context);
void unpack_sprite(const CSprite& sprite, const std::string& name, Json& entry, UnpackContext& context);

CBackground pack_background(Fields& fields, const std::string& name, const PackContext& context);
void unpack_background(const CBackground& background, const std::string& name, Json& entry, UnpackContext& context);

// A picture for the settings (loading images): see-through pixels are blended over the canvas colour.
StoredImage pack_settings_image(Fields& fields, const std::string& key, const PackContext& context);
// Writes the picture as a PNG file and returns its path; nothing for an absent image.
std::optional<std::string> unpack_settings_image(const StoredImage& image, const std::string& stem, UnpackContext& context);

}  // namespace quillon
