// What packing and unpacking a project share: the names that references resolve against, and the project files.
#include "project_context.h"
#include "support/ascii_case.h"

#include "runner/game_file.h"
#include "support/win1252.h"

#include <algorithm>
#include <cctype>

namespace quillon {

ProjectNames ProjectNames::of(const GameFile& game)
{
    return {ResourceNames::of("sprite", game.sprites), ResourceNames::of("background", game.backgrounds),
            ResourceNames::of("object", game.objects), ResourceNames::of("room", game.rooms)};
}

std::vector<std::uint8_t> PackContext::read_file(const Fields& fields, const std::string& key, const std::string& path) const
{
    std::optional<std::vector<std::uint8_t>> bytes = source.read(path);
    if (!bytes)
        fields.fail(key, "file \"" + path + "\" not found");
    return std::move(*bytes);
}

std::string stored_code(std::string code)
{
    if (code.find('\r') != std::string::npos)
        return code;
    std::string stored;
    stored.reserve(code.size() + code.size() / 16);
    for (char c : code) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    return stored;
}

std::optional<std::string> PackContext::read_code(Fields& fields, const std::string& key) const
{
    std::string file_key = key + "_file";
    if (fields.has(key) && fields.has(file_key))
        fields.fail(file_key, "give either " + key + " or " + file_key + ", not both");
    if (fields.has(key)) {
        std::string code;
        fields.get(key, code);
        return stored_code(std::move(code));
    }
    if (std::optional<std::string> path = fields.get_path(file_key))
        return stored_code(utf8_to_win1252(text_of(read_file(fields, file_key, *path))));
    return std::nullopt;
}

std::string PackContext::code_file(const Fields& fields, const std::string& key) const
{
    const Json* path = fields.peek(key + "_file");
    return path && path->is_string() ? path->get<std::string>() : std::string();
}

std::optional<std::string> PackContext::read_program(Fields& fields, const std::string& key) const
{
    std::string file = code_file(fields, key);
    std::optional<std::string> code = read_code(fields, key);
    if (code && checks) {
        const Place& place = fields.place();
        if (!file.empty())
            checks->add({*code, false, file, ""});
        else
            checks->add({*code, false, place.file, place.where.empty() ? key : place.where + ": " + key});
    }
    return code;
}

UnpackContext::UnpackContext(const GameFile& game_, ProjectFiles& files_)
    : game(game_)
    , names(ProjectNames::of(game_))
    , files(files_)
{
}

std::string safe_stem(const std::string& name)
{
    std::string stem = win1252_to_utf8(name);
    for (std::size_t i = 0; i < stem.size(); ++i) {
        // A dot may stay inside a name ("level1.txt"), never at its start (".." or a hidden file).
        bool kept = std::isalnum(static_cast<unsigned char>(stem[i])) || stem[i] == '-' || stem[i] == '_'
            || (stem[i] == '.' && i > 0);
        if (!kept)
            stem[i] = '_';
    }
    return stem.empty() ? "unnamed" : stem;
}

std::string UnpackContext::claim_path(const std::string& folder, const std::string& stem, const std::string& extension)
{
    std::string base = folder.empty() ? stem : folder + "/" + stem;
    std::string path = base + extension;
    for (int n = 2;; ++n) {
        if (m_claimed.insert(ascii_lower(path)).second)
            return path;
        path = base + "_" + std::to_string(n) + extension;
    }
}

void UnpackContext::add_file(const std::string& path, std::vector<std::uint8_t> bytes)
{
    files[path] = std::move(bytes);
}

void UnpackContext::put_code(Json& out, const std::string& key, const std::string& code, const std::string& folder,
                             const std::string& stem)
{
    if (code.find_first_of("\r\n") == std::string::npos) {
        out[key] = game_text(code);
        return;
    }
    std::string path = claim_path(folder, stem, ".code");
    add_file(path, bytes_of(win1252_to_utf8(code)));
    out[key + "_file"] = path;
}

}  // namespace quillon
