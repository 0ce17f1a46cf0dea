// Fuzz target: the rich-text reader on arbitrary bytes, read both as they come and as a rich-text page.
#include "graphics/rich_text.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_rich_text(bytes);
    read_rich_text("{\\rtf1" + std::string(bytes)).plain_text();
    return 0;
}
