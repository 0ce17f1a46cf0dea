// What a game's call to start a program names.
#include "support/program_search.h"

#include "support/ascii_case.h"
#include "support/game_path.h"
#include "support/secure_mode.h"

#include <cstdlib>

namespace quillon {

namespace fs = std::filesystem;

namespace {

bool is_executable(const fs::path& path)
{
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    constexpr fs::perms ANY_EXECUTE = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return !error && fs::is_regular_file(status) && (status.permissions() & ANY_EXECUTE) != fs::perms::none;
}

std::optional<fs::path> find_one(std::string_view name, const fs::path& game_folder)
{
    if (name.empty())
        return std::nullopt;
    if (names_a_folder(name)) {
        fs::path found = find_game_path(name);
        return is_executable(found) ? std::optional(found) : std::nullopt;
    }
    for (const fs::path& folder : {game_folder, fs::path(".")}) {
        fs::path found = find_game_path_in(folder.empty() ? fs::path(".") : folder, name);
        if (is_executable(found))
            return found;
    }
    const char* search = std::getenv("PATH");
    std::string_view folders = search ? search : "";
    fs::path plain = game_path(name);
    while (!folders.empty()) {
        std::size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (!folder.empty() && is_executable(fs::path(folder) / plain))
            return fs::path(folder) / plain;
    }
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> find_program(std::string_view name, const fs::path& game_folder)
{
    if (name.find('\0') != std::string_view::npos)
        return std::nullopt;
    // A name in double quotes, as command lines quote names with blanks, stands for the name inside.
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    if (auto found = find_one(name, game_folder))
        return found;
    if (ends_with_ignoring_ascii_case(name, ".exe"))
        return find_one(name.substr(0, name.size() - 4), game_folder);
    return std::nullopt;
}

std::vector<std::string> split_arguments(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
            word += '"';
            in_word = true;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            in_word = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (in_word)
                words.push_back(std::move(word));
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word)
        words.push_back(std::move(word));
    return words;
}

}  // namespace quillon
