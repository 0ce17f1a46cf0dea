// Pictures added at run time: only existing regular files are read, so a folder or device fails quietly.
#pragma once

#include "support/picture_file.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace quillon {

// The frames of the picture in a file; nothing when it is not a readable picture file.
std::optional<std::vector<PictureFrame>> load_added_picture(const std::filesystem::path& file);

}  // namespace quillon
