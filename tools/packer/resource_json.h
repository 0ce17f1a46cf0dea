// Sounds, paths, scripts and data files as entries of the manifest, in both directions.
#pragma once

#include "project_context.h"
#include "sound/sound.h"
#include "support/data_file.h"
#include "world/path.h"
#include "runner/script_source.h"

namespace quillon {

CSound pack_sound(Fields& fields, const std::string& name, const PackContext& context);
void unpack_sound(const CSound& sound, const std::string& name, Json& entry, UnpackContext& context);

CPath pack_path(Fields& fields);
void unpack_path(const CPath& path, Json& entry);

ScriptSource pack_script(Fields& fields, const std::string& name, const PackContext& context);
void unpack_script(const ScriptSource& script, const std::string& name, Json& entry, UnpackContext& context);

CDataFile pack_data_file(Fields& fields, const std::string& name, const PackContext& context);
void unpack_data_file(const CDataFile& file, const std::string& name, Json& entry, UnpackContext& context);

}  // namespace quillon
