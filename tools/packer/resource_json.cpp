// Sounds, paths, scripts and data files as entries of the manifest, in both directions.
#include "resource_json.h"
#include "support/ascii_case.h"

#include "support/win1252.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

constexpr const char* SOUND_EXTENSIONS[] = {".wav", ".mid", ".midi", ".mp3", ".ogg"};

constexpr FieldRef<CSound> SOUND_FIELDS[] = {
    {"buffers", &CSound::buffers},
    {"effects", &CSound::effects},
    {"load_on_use", &CSound::load_on_use},
};

constexpr FieldRef<CPath> PATH_FIELDS[] = {
    {"smooth", &CPath::smooth},
    {"end_mode", &CPath::end_mode},
    {"precision", &CPath::precision},
};

constexpr FieldRef<CDataFile> DATA_FILE_FIELDS[] = {
    {"export_mode", &CDataFile::export_mode},
    {"overwrite", &CDataFile::overwrite},
    {"free_after_export", &CDataFile::free_after_export},
    {"remove_at_end", &CDataFile::remove_at_end},
};

std::string extension_of(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot);
}

// What the runner makes of a sound's file: wave, background music, MP3 or anything else.
std::int32_t sound_kind(const std::string& extension)
{
    std::string e = ascii_lower(extension);
    return e == ".wav" ? SOUND_KIND_WAVE : e == ".mid" || e == ".midi" ? SOUND_KIND_MUSIC
        : e == ".mp3" ? SOUND_KIND_MP3 : SOUND_KIND_OTHER;
}

// The path of a resource's file: "file" when given (null for none), else the default path when it exists.
std::optional<std::string> resource_file(Fields& fields, const PackContext& context,
                                         std::initializer_list<std::string> defaults)
{
    if (fields.has("file"))
        return fields.get_path("file");
    for (const std::string& path : defaults) {
        if (context.source.exists(path))
            return path;
    }
    return std::nullopt;
}

}  // namespace

CSound pack_sound(Fields& fields, const std::string& name, const PackContext& context)
{
    CSound sound;
    std::vector<std::string> defaults;
    for (const char* extension : SOUND_EXTENSIONS)
        defaults.push_back("sounds/" + win1252_to_utf8(name) + extension);
    std::optional<std::string> path;
    if (fields.has("file")) {
        path = fields.get_path("file");
    } else {
        auto found = std::find_if(defaults.begin(), defaults.end(), [&](const auto& p) { return context.source.exists(p); });
        if (found == defaults.end())
            fields.fail("file", "missing: no sound file " + defaults.front() + " (or .mid, .mp3, .ogg) either");
        path = *found;
    }
    if (path) {
        sound.data = context.read_file(fields, "file", *path);
        sound.extension = utf8_to_win1252(extension_of(*path));
        sound.kind = sound_kind(sound.extension);
    }
    fields.get("kind", sound.kind);
    fields.get("extension", sound.extension);
    fields.get_fields<CSound>(sound, SOUND_FIELDS);
    return sound;
}

void unpack_sound(const CSound& sound, const std::string& name, Json& entry, UnpackContext& context)
{
    std::string written_extension;
    if (sound.kind == SOUND_KIND_NONE) {
        entry["file"] = nullptr;
    } else {
        std::string extension = win1252_to_utf8(sound.extension);
        bool plain = extension.size() > 1 && extension.size() <= 6 && extension[0] == '.'
            && std::all_of(extension.begin() + 1, extension.end(), [](unsigned char c) { return std::isalnum(c); });
        written_extension = plain ? extension : ".sound";
        std::string path = context.claim_path("sounds", safe_stem(name), written_extension);
        context.add_file(path, sound.data);
        if (path != "sounds/" + win1252_to_utf8(name) + written_extension || !plain
            || sound_kind(extension) == SOUND_KIND_OTHER)
            entry["file"] = path;
    }
    std::int32_t derived_kind = sound.kind == SOUND_KIND_NONE ? SOUND_KIND_NONE : sound_kind(written_extension);
    if (sound.kind != derived_kind)
        entry["kind"] = sound.kind;
    if (sound.extension != utf8_to_win1252(written_extension))
        entry["extension"] = game_text(sound.extension);
    put_fields<CSound>(entry, sound, CSound {}, SOUND_FIELDS);
}

CPath pack_path(Fields& fields)
{
    CPath path;
    fields.get_fields<CPath>(path, PATH_FIELDS);
    if (const Json* points = fields.take("points")) {
        if (!points->is_array())
            fields.fail("points", "expected an array of [x, y] or [x, y, speed]");
        for (const Json& point : *points) {
            bool shaped = point.is_array() && (point.size() == 2 || point.size() == 3)
                && std::all_of(point.begin(), point.end(), [](const Json& v) { return v.is_number(); });
            if (!shaped)
                fields.fail("points", "each point is [x, y] or [x, y, speed], got " + point.dump());
            path.points.push_back({point[0].get<double>(), point[1].get<double>(),
                                   point.size() == 3 ? point[2].get<double>() : 100.0});
        }
    }
    return path;
}

void unpack_path(const CPath& path, Json& entry)
{
    put_fields<CPath>(entry, path, CPath {}, PATH_FIELDS);
    Json points = Json::array();
    for (const PathPoint& point : path.points) {
        if (point.speed == 100.0)
            points.push_back({point.x, point.y});
        else
            points.push_back({point.x, point.y, point.speed});
    }
    if (!points.empty())
        entry["points"] = std::move(points);
}

ScriptSource pack_script(Fields& fields, const std::string& name, const PackContext& context)
{
    ScriptSource script;
    if (std::optional<std::string> code = context.read_program(fields, "code")) {
        script.code = *code;
        return script;
    }
    std::string path = "scripts/" + win1252_to_utf8(name) + ".code";
    if (!context.source.exists(path))
        fields.fail("code_file", "missing: no file " + path + " either");
    script.code = stored_code(utf8_to_win1252(text_of(context.read_file(fields, "code_file", path))));
    if (context.checks)
        context.checks->add({script.code, false, path, ""});
    return script;
}

void unpack_script(const ScriptSource& script, const std::string& name, Json& entry, UnpackContext& context)
{
    std::string path = context.claim_path("scripts", safe_stem(name), ".code");
    context.add_file(path, bytes_of(win1252_to_utf8(script.code)));
    if (path != "scripts/" + win1252_to_utf8(name) + ".code")
        entry["code_file"] = path;
}

CDataFile pack_data_file(Fields& fields, const std::string& name, const PackContext& context)
{
    CDataFile file;
    file.file_name = name;
    fields.get("file_name", file.file_name);
    std::optional<std::string> path = resource_file(fields, context, {"data_files/" + win1252_to_utf8(name)});
    if (path)
        file.set_contents(context.read_file(fields, "file", *path));
    else if (!fields.has("file"))
        fields.fail("file", "missing: no file data_files/" + win1252_to_utf8(name) + " either");
    fields.get_fields<CDataFile>(file, DATA_FILE_FIELDS);
    return file;
}

void unpack_data_file(const CDataFile& file, const std::string& name, Json& entry, UnpackContext& context)
{
    if (file.file_name != name)
        entry["file_name"] = game_text(file.file_name);
    if (file.has_data) {
        std::string path = context.claim_path("data_files", safe_stem(name), "");
        context.add_file(path, file.contents.bytes());
        if (path != "data_files/" + win1252_to_utf8(name))
            entry["file"] = path;
    } else {
        entry["file"] = nullptr;
    }
    put_fields<CDataFile>(entry, file, CDataFile {}, DATA_FILE_FIELDS);
}

}  // namespace quillon
