// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/', and names find
// files whatever their letter case.
#include "support/game_path.h"

#include "support/win1252.h"

#include <algorithm>
#include <optional>
#include <string>

namespace quillon {

namespace fs = std::filesystem;

namespace {

// The lower-case form of a UTF-8 name for the letters of Windows-1252: A to Z, the accented capitals of Latin-1,
// and the five capitals that the code page keeps elsewhere.
std::string fold_case(std::string_view name)
{
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte + ('a' - 'A'));
            continue;
        }
        if (i + 1 >= folded.size())
            break;
        auto next = static_cast<unsigned char>(folded[i + 1]);
        if (byte == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97)
            folded[i + 1] = static_cast<char>(next + 0x20);  // À to Þ, but ×
        else if (byte == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD))
            folded[i + 1] = static_cast<char>(next + 1);  // Š, Œ, Ž
        else if (byte == 0xC5 && next == 0xB8) {
            folded[i] = static_cast<char>(0xC3);  // Ÿ to ÿ
            folded[i + 1] = static_cast<char>(0xBF);
        }
        if (byte >= 0xC0)
            ++i;
    }
    return folded;
}

// The entry of the folder whose name differs from `name` only in letter case; the first in byte order.
std::optional<std::string> entry_in_other_case(const fs::path& folder, const std::string& name)
{
    std::string wanted = fold_case(name);
    std::optional<std::string> found;
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
    for (fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
        std::string candidate = entries->path().filename().string();
        if (fold_case(candidate) == wanted && (!found || candidate < *found))
            found = std::move(candidate);
    }
    return found;
}

bool path_exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Walks the path from its root, finding each missing name in another letter case; `keep_last` leaves the
// last name as written.
fs::path resolve(const fs::path& base, std::string_view text, bool keep_last)
{
    if (text.find('\0') != std::string_view::npos)
        return {};
    fs::path written = base / game_path(text);
    if (path_exists(written))
        return written;
    fs::path found = written.root_path();
    fs::path relative = written.relative_path();
    bool lost = false;  // a name was not found: the rest goes as written
    for (auto part = relative.begin(); part != relative.end(); ++part) {
        const fs::path& name = *part;
        bool last = std::next(part) == relative.end();
        if (lost || name.empty() || name == "." || name == ".." || (last && keep_last)) {
            found /= name;
            continue;
        }
        fs::path exact = found / name;
        if (path_exists(exact)) {
            found = std::move(exact);
        } else if (auto other = entry_in_other_case(found, name.string())) {
            found /= *other;
        } else {
            found = std::move(exact);
            lost = true;
        }
    }
    return found;
}

fs::path& game_folder()
{
    static fs::path s_folder;
    return s_folder;
}

}  // namespace

fs::path game_path(std::string_view text)
{
    std::string converted = win1252_to_utf8(text);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return fs::path(converted);
}

fs::path find_game_path(std::string_view text) { return resolve({}, text, false); }

fs::path find_game_path_in(const fs::path& folder, std::string_view text) { return resolve(folder, text, false); }

fs::path creation_game_path(std::string_view text) { return resolve({}, text, true); }

void set_game_folder(const fs::path& folder) { game_folder() = folder; }

fs::path find_in_game_folder(std::string_view text) { return resolve(game_folder(), text, false); }

fs::path creation_path_in_game_folder(std::string_view text) { return resolve(game_folder(), text, true); }

bool equal_ignoring_letter_case(std::string_view a, std::string_view b) { return fold_case(a) == fold_case(b); }

}  // namespace quillon
