// Pictures added at run time: only existing regular files are read, so a folder or device fails quietly.
#include "graphics/added_picture.h"

namespace quillon {

std::optional<std::vector<PictureFrame>> load_added_picture(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    auto frames = load_picture_file(file);
    if (!frames || frames->empty())
        return std::nullopt;
    return frames;
}

}  // namespace quillon
