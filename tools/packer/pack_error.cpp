// Errors of packing and unpacking, and the place in the project that a message names.
#include "pack_error.h"

namespace quillon {

void Place::fail(const std::string& field, const std::string& problem) const
{
    std::string message = file;
    for (const std::string* part : {&where, &field}) {
        if (!part->empty())
            message += (message.empty() ? "" : ": ") + *part;
    }
    throw PackError(message.empty() ? problem : message + ": " + problem);
}

}  // namespace quillon
