// Finding the game: the file named on the command line, game.dat in the current directory, or the data that
// a stand-alone game carries behind the runner's own executable.
#include "runner/game_location.h"

#include <cstring>
#include <system_error>

namespace quillon {

namespace {

std::filesystem::path own_executable()
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

// Keeps only the game file of a stand-alone executable; other files stay as they are.
void strip_executable(CStream& stream)
{
    auto& bytes = stream.bytes();
    if (bytes.size() < GAME_TRAILER_SIZE)
        return;
    const std::uint8_t* trailer = bytes.data() + bytes.size() - GAME_TRAILER_SIZE;
    if (std::memcmp(trailer, GAME_TRAILER_MAGIC, 8) != 0)
        return;
    std::uint64_t offset;
    std::memcpy(&offset, trailer + 8, 8);
    if (offset > bytes.size() - GAME_TRAILER_SIZE)
        return;
    bytes.resize(bytes.size() - GAME_TRAILER_SIZE);
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::filesystem::path locate_game(const std::optional<std::filesystem::path>& given)
{
    if (given)
        return *given;
    std::error_code error;
    if (std::filesystem::is_regular_file("game.dat", error))
        return "game.dat";
    return own_executable();
}

std::optional<CStream> open_game_data(const std::filesystem::path& file, TempDirectory& temp)
{
    std::filesystem::path copy = temp.unique_file_name("");
    auto stream = CStream::from_file(file);
    if (!stream) {
        std::error_code error;
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing, error);
        if (!error)
            stream = CStream::from_file(copy);
        std::filesystem::remove(copy, error);
    }
    if (stream)
        strip_executable(*stream);
    return stream;
}

}  // namespace quillon
