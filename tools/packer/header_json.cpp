// The game's header fields, settings, information page and action libraries in the manifest, in both directions.
#include "header_json.h"

#include "picture_json.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

constexpr FieldRef<GameSettings> SETTINGS_FIELDS[] = {
    {"start_fullscreen", &GameSettings::start_fullscreen},
    {"no_window_border", &GameSettings::no_window_border},
    {"show_cursor", &GameSettings::show_cursor},
    {"window_scaling", &GameSettings::window_scaling},
    {"fullscreen_scaling", &GameSettings::fullscreen_scaling},
    {"scale_only_with_hardware", &GameSettings::scale_only_with_hardware},
    {"set_screen_mode", &GameSettings::set_screen_mode},
    {"exclusive_graphics", &GameSettings::exclusive_graphics},
    {"color_depth", &GameSettings::color_depth},
    {"resolution", &GameSettings::resolution},
    {"frequency", &GameSettings::frequency},
    {"wait_for_vertical_blank", &GameSettings::wait_for_vertical_blank},
    {"draw_caption", &GameSettings::draw_caption},
    {"no_caption_buttons", &GameSettings::no_caption_buttons},
    {"f4_switches_screen_mode", &GameSettings::f4_switches_screen_mode},
    {"f1_shows_information", &GameSettings::f1_shows_information},
    {"escape_ends_game", &GameSettings::escape_ends_game},
    {"f5_saves_f6_loads", &GameSettings::f5_saves_f6_loads},
    {"keyboard_continuous", &GameSettings::keyboard_continuous},
    {"mouse_continuous", &GameSettings::mouse_continuous},
    {"freeze_when_inactive", &GameSettings::freeze_when_inactive},
    {"loading_bar", &GameSettings::loading_bar},
    {"own_loading_image", &GameSettings::own_loading_image},
    {"display_errors", &GameSettings::display_errors},
    {"log_errors", &GameSettings::log_errors},
    {"abort_on_errors", &GameSettings::abort_on_errors},
    {"uninitialised_are_zero", &GameSettings::uninitialised_are_zero},
    {"extra_text_1", &GameSettings::extra_text_1},
    {"extra_number", &GameSettings::extra_number},
    {"extra_date", &GameSettings::extra_date},
    {"extra_text_2", &GameSettings::extra_text_2},
};

constexpr FieldRef<GameInformation> INFORMATION_FIELDS[] = {
    {"version", &GameInformation::version},
    {"background_color", &GameInformation::background_color, true},
    {"show_in_game_window", &GameInformation::show_in_game_window},
};

}  // namespace

void pack_header(Fields& manifest, const PackContext& context, GameFile& game)
{
    manifest.get("game_id", game.game_id);
    if (const Json* debug = manifest.take("debug"))
        game.debug_value = debug->is_boolean() ? debug->get<bool>() : manifest.to_int(*debug, "debug");
    if (const Json* guid = manifest.take("guid")) {
        std::string text = guid->is_string() ? guid->get<std::string>() : "";
        bool hex = text.size() == 32 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        if (!hex)
            manifest.fail("guid", "expected 32 hexadecimal digits");
        for (std::size_t i = 0; i < 16; ++i)
            game.guid[i] = static_cast<std::uint8_t>(std::stoi(text.substr(i * 2, 2), nullptr, 16));
    }
    if (const Json* texts = manifest.take("header_texts")) {
        if (!texts->is_array() || texts->size() != 2)
            manifest.fail("header_texts", "expected two strings");
        game.filler_1 = manifest.to_string((*texts)[0], "header_texts");
        game.filler_2 = manifest.to_string((*texts)[1], "header_texts");
    }
    if (std::optional<std::string> path = manifest.get_path("prefix")) {
        game.prefix = context.read_file(manifest, "prefix", *path);
        if (game.prefix.size() > GAME_DATA_OFFSET)
            manifest.fail("prefix", "longer than " + std::to_string(GAME_DATA_OFFSET) + " bytes");
    }
}

void pack_settings(Fields& manifest, const PackContext& context, GameSettings& settings)
{
    settings.extra_date = 0;  // a build does not depend on the moment it runs
    const Json* json = manifest.take("settings");
    if (!json)
        return;
    Fields fields(*json, manifest.place().inside("settings"));
    fields.get_fields<GameSettings>(settings, SETTINGS_FIELDS);
    settings.loading_bar_back = pack_settings_image(fields, "loading_bar_back", context);
    settings.loading_bar_front = pack_settings_image(fields, "loading_bar_front", context);
    settings.loading_image = pack_settings_image(fields, "loading_image", context);
    if (std::optional<std::string> icon = fields.get_path("icon"))
        settings.icon = context.read_file(fields, "icon", *icon);
    fields.finish();
}

void pack_information(Fields& manifest, const PackContext& context, GameInformation& information)
{
    const Json* json = manifest.take("information");
    Fields fields(json ? *json : empty_object(), manifest.place().inside("information"));
    fields.get_fields<GameInformation>(information, INFORMATION_FIELDS);
    std::optional<std::string> path = fields.has("file") ? fields.get_path("file") : std::nullopt;
    if (!fields.has("file") && context.source.exists("information.rtf"))
        path = "information.rtf";
    if (path)
        information.rich_text = text_of(context.read_file(fields, "file", *path));
    fields.finish();
}

void pack_libraries(Fields& manifest, const PackContext& context, GameFile& game)
{
    manifest.get("action_libraries_version", game.action_libraries_version);
    const Json* list = manifest.take("action_libraries");
    if (!list)
        return;
    if (!list->is_array())
        manifest.fail("action_libraries", "expected an array");
    for (std::size_t i = 0; i < list->size(); ++i) {
        Fields fields((*list)[i], manifest.place().inside("action_libraries[" + std::to_string(i) + "]"));
        game.action_library_code.push_back(context.read_code(fields, "code").value_or(""));
        fields.finish();
    }
}

void unpack_header(const GameFile& game, Json& manifest, UnpackContext& context)
{
    if (game.game_id != 0)
        manifest["game_id"] = game.game_id;
    if (game.debug_value == 1)
        manifest["debug"] = true;
    else if (game.debug_value != 0)
        manifest["debug"] = game.debug_value;
    if (game.guid != decltype(game.guid) {}) {
        std::string text;
        for (std::uint8_t byte : game.guid) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02x", byte);
            text += digits;
        }
        manifest["guid"] = text;
    }
    if (!game.filler_1.empty() || !game.filler_2.empty())
        manifest["header_texts"] = {game_text(game.filler_1), game_text(game.filler_2)};
    // The writer pads the prefix with zero bytes, so trailing zeros need not be kept.
    auto end = std::find_if(game.prefix.rbegin(), game.prefix.rend(), [](std::uint8_t b) { return b != 0; }).base();
    if (end != game.prefix.begin()) {
        std::string path = context.claim_path("", "prefix", ".bin");
        context.add_file(path, {game.prefix.begin(), end});
        manifest["prefix"] = path;
    }
}

void unpack_settings(const GameSettings& settings, Json& manifest, UnpackContext& context)
{
    Json out = Json::object();
    put_fields<GameSettings>(out, settings, GameSettings {}, SETTINGS_FIELDS);
    for (auto [key, image] : {std::pair {"loading_bar_back", &settings.loading_bar_back},
                              std::pair {"loading_bar_front", &settings.loading_bar_front},
                              std::pair {"loading_image", &settings.loading_image}}) {
        if (std::optional<std::string> path = unpack_settings_image(*image, key, context))
            out[key] = *path;
    }
    if (!settings.icon.empty()) {
        std::string path = context.claim_path("settings", "icon", ".ico");
        context.add_file(path, settings.icon);
        out["icon"] = path;
    }
    if (!out.empty())
        manifest["settings"] = std::move(out);
}

void unpack_information(const GameInformation& information, Json& manifest, UnpackContext& context)
{
    Json out = Json::object();
    put_fields<GameInformation>(out, information, GameInformation {}, INFORMATION_FIELDS);
    if (!information.rich_text.empty()) {
        std::string path = context.claim_path("", "information", ".rtf");
        context.add_file(path, bytes_of(information.rich_text));
        if (path != "information.rtf")
            out["file"] = path;
    }
    if (!out.empty())
        manifest["information"] = std::move(out);
}

void unpack_libraries(const GameFile& game, Json& manifest, UnpackContext& context)
{
    if (game.action_libraries_version != ACTION_LIBRARIES_VERSION)
        manifest["action_libraries_version"] = game.action_libraries_version;
    if (game.action_library_code.empty())
        return;
    Json list = Json::array();
    for (std::size_t i = 0; i < game.action_library_code.size(); ++i) {
        Json entry = Json::object();
        context.put_code(entry, "code", game.action_library_code[i], "libraries", "library_" + std::to_string(i + 1));
        list.push_back(std::move(entry));
    }
    manifest["action_libraries"] = std::move(list);
}

}  // namespace quillon
