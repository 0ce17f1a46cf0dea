// The game's header fields, settings, information page and action libraries in the manifest, in both directions.
#pragma once

#include "project_context.h"
#include "runner/game_file.h"

namespace quillon {

// Game id, debug flag, GUID, the two header texts and the bytes before the game data.
void pack_header(Fields& manifest, const PackContext& context, GameFile& game);
void unpack_header(const GameFile& game, Json& manifest, UnpackContext& context);

void pack_settings(Fields& manifest, const PackContext& context, GameSettings& settings);
void unpack_settings(const GameSettings& settings, Json& manifest, UnpackContext& context);

// The page comes from "file", or from information.rtf when that exists.
void pack_information(Fields& manifest, const PackContext& context, GameInformation& information);
void unpack_information(const GameInformation& information, Json& manifest, UnpackContext& context);

void pack_libraries(Fields& manifest, const PackContext& context, GameFile& game);
void unpack_libraries(const GameFile& game, Json& manifest, UnpackContext& context);

}  // namespace quillon
