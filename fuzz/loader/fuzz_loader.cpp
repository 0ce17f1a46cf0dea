// Fuzz target: the game file reader on arbitrary data placed behind the executable prefix.
#include "runner/game_file.h"
#include "support/game_error.h"

#include <cstdint>

using namespace quillon;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Bitmap errors are reported and loading goes on; their text is of no interest here.
    set_game_error_handler([](std::string_view, bool) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::uint8_t> prefix(GAME_DATA_OFFSET);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(prefix.size() + size);
    bytes.insert(bytes.end(), prefix.begin(), prefix.end());
    bytes.insert(bytes.end(), data, data + size);
    CStream stream(std::move(bytes));
    GameFile game;
    try {
        read_game_file(stream, game);
    } catch (const StreamError&) {
        // A read past the end or a corrupt compressed block: the runner shows its general failure message.
    }
    return 0;
}
