// The built-in function table: every family in its fixed order, and the names that share a handler.
#include "functions/table.h"

#include "functions/families.h"

#include "code/function_registry.h"
#include "code/messages.h"

#include <array>
#include <string_view>
#include <vector>

namespace quillon {

namespace {

// The handler of a built-in whose family is not built yet: a clear, non-fatal error naming it.
void not_available(FunctionCall& call)
{
    report_function_error(message::NOT_AVAILABLE + function_registry().at(call.index).name);
}

// Families whose behaviour arrives with the world, graphics, sound, files, dialogs and multiplayer.
// ORDER: table positions 0 to 82.
constexpr FunctionEntry ACTION_FUNCTIONS[] = {
    {"action_move", 2, nullptr},
    {"action_reverse_xdir", 0, nullptr},
    {"action_reverse_ydir", 0, nullptr},
    {"action_bounce", 2, nullptr},
    {"action_move_start", 0, nullptr},
    {"action_move_to", 2, nullptr},
    {"action_move_random", 2, nullptr},
    {"move_random", 2, nullptr},
    {"action_set_hspeed", 1, nullptr},
    {"action_set_vspeed", 1, nullptr},
    {"action_set_gravity", 2, nullptr},
    {"action_set_friction", 1, nullptr},
    {"action_set_motion", 2, nullptr},
    {"action_snap", 2, nullptr},
    {"action_move_point", 3, nullptr},
    {"action_path", 3, nullptr},
    {"action_move_contact", 3, nullptr},
    {"action_kill_object", 0, nullptr},
    {"action_create_object", 3, nullptr},
    {"action_change_object", 2, nullptr},
    {"action_kill_position", 2, nullptr},
    {"action_set_sprite", 2, nullptr},
    {"action_sound", 2, nullptr},
    {"action_end_sound", 2, nullptr},
    {"action_if_sound", 1, nullptr},
    {"action_another_room", 2, nullptr},
    {"action_current_room", 1, nullptr},
    {"action_previous_room", 1, nullptr},
    {"action_next_room", 1, nullptr},
    {"action_if_previous_room", 0, nullptr},
    {"action_if_next_room", 0, nullptr},
    {"action_set_alarm", 2, nullptr},
    {"action_sleep", 2, nullptr},
    {"action_set_timeline", 2, nullptr},
    {"action_set_timeline_position", 1, nullptr},
    {"action_message", 1, nullptr},
    {"show_message", 1, nullptr},
    {"action_end_game", 0, nullptr},
    {"action_restart_game", 0, nullptr},
    {"action_save_game", 1, nullptr},
    {"action_load_game", 1, nullptr},
    {"action_show_info", 0, nullptr},
    {"action_if_empty", 3, nullptr},
    {"action_if_collision", 3, nullptr},
    {"action_if", 1, nullptr},
    {"action_if_number", 3, nullptr},
    {"action_if_object", 3, nullptr},
    {"action_if_question", 1, nullptr},
    {"show_question", 1, nullptr},
    {"action_if_dice", 1, nullptr},
    {"action_if_mouse", 1, nullptr},
    {"action_if_aligned", 2, nullptr},
    {"action_draw_sprite", 4, nullptr},
    {"action_draw_background", 4, nullptr},
    {"action_draw_text", 3, nullptr},
    {"action_draw_font", 1, nullptr},
    {"action_draw_font_old", 6, nullptr},
    {"action_draw_rectangle", 4, nullptr},
    {"action_draw_ellipse", 4, nullptr},
    {"action_draw_line", 4, nullptr},
    {"action_fill_color", 1, nullptr},
    {"action_line_color", 1, nullptr},
    {"action_color", 2, nullptr},
    {"action_fullscreen", 1, nullptr},
    {"action_execute_script", 6, nullptr},
    {"action_inherited", 0, nullptr},
    {"event_inherited", 0, nullptr},
    {"action_if_variable", 3, nullptr},
    {"action_draw_variable", 3, nullptr},
    {"action_set_score", 1, nullptr},
    {"action_if_score", 2, nullptr},
    {"action_draw_score", 3, nullptr},
    {"action_highscore", 0, nullptr},
    {"action_highscore_show", 5, nullptr},
    {"action_highscore_clear", 0, nullptr},
    {"action_set_life", 1, nullptr},
    {"action_if_life", 2, nullptr},
    {"action_draw_life", 3, nullptr},
    {"action_draw_life_images", 3, nullptr},
    {"action_set_health", 1, nullptr},
    {"action_if_health", 2, nullptr},
    {"action_draw_health", 6, nullptr},
    {"action_set_caption", 6, nullptr},
};

// ORDER: table positions 136 to 205.
constexpr FunctionEntry GRAPHICS_FUNCTIONS[] = {
    {"set_cursor", 1, nullptr},
    {"screen_redraw", 0, nullptr},
    {"screen_refresh", 0, nullptr},
    {"make_color", 3, nullptr},
    {"draw_sprite", 4, nullptr},
    {"draw_sprite_scaled", 5, nullptr},
    {"draw_sprite_stretched", 6, nullptr},
    {"draw_sprite_transparent", 6, nullptr},
    {"draw_sprite_tiled", 4, nullptr},
    {"draw_background", 3, nullptr},
    {"draw_background_scaled", 4, nullptr},
    {"draw_background_stretched", 5, nullptr},
    {"draw_background_transparent", 5, nullptr},
    {"draw_background_tiled", 3, nullptr},
    {"draw_pixel", 2, nullptr},
    {"draw_getpixel", 2, nullptr},
    {"draw_fill", 2, nullptr},
    {"draw_line", 4, nullptr},
    {"draw_text", 3, nullptr},
    {"draw_text_ext", 5, nullptr},
    {"draw_text_sprite", 8, nullptr},
    {"draw_circle", 3, nullptr},
    {"draw_ellipse", 4, nullptr},
    {"draw_rectangle", 4, nullptr},
    {"draw_roundrect", 4, nullptr},
    {"draw_triangle", 6, nullptr},
    {"draw_arc", 8, nullptr},
    {"draw_chord", 8, nullptr},
    {"draw_pie", 8, nullptr},
    {"draw_button", 5, nullptr},
    {"draw_polygon_begin", 0, nullptr},
    {"draw_polygon_vertex", 2, nullptr},
    {"draw_polygon_end", 0, nullptr},
    {"string_width", 1, nullptr},
    {"string_height", 1, nullptr},
    {"string_width_ext", 3, nullptr},
    {"string_height_ext", 3, nullptr},
    {"screen_gamma", 3, nullptr},
    {"screen_save", 1, nullptr},
    {"screen_save_part", 5, nullptr},
    {"background_add", 4, nullptr},
    {"background_replace", 5, nullptr},
    {"background_delete", 1, nullptr},
    {"sprite_add", 8, nullptr},
    {"sprite_replace", 9, nullptr},
    {"sprite_delete", 1, nullptr},
    {"tile_get_x", 1, nullptr},
    {"tile_get_y", 1, nullptr},
    {"tile_get_left", 1, nullptr},
    {"tile_get_top", 1, nullptr},
    {"tile_get_width", 1, nullptr},
    {"tile_get_height", 1, nullptr},
    {"tile_get_depth", 1, nullptr},
    {"tile_get_visible", 1, nullptr},
    {"tile_get_xscale", 1, nullptr},
    {"tile_get_yscale", 1, nullptr},
    {"tile_get_alpha", 1, nullptr},
    {"tile_get_background", 1, nullptr},
    {"tile_set_visible", 2, nullptr},
    {"tile_set_background", 2, nullptr},
    {"tile_set_region", 5, nullptr},
    {"tile_set_position", 3, nullptr},
    {"tile_set_depth", 2, nullptr},
    {"tile_set_scale", 3, nullptr},
    {"tile_set_alpha", 2, nullptr},
    {"tile_add", 8, nullptr},
    {"tile_find", 3, nullptr},
    {"tile_exists", 1, nullptr},
    {"tile_delete", 1, nullptr},
    {"tile_delete_at", 3, nullptr},
};

// ORDER: table positions 206 to 280.
constexpr FunctionEntry INTERACTION_FUNCTIONS[] = {
    {"place_free", 2, nullptr},
    {"place_empty", 2, nullptr},
    {"place_meeting", 3, nullptr},
    {"place_snapped", 2, nullptr},
    {"move_snap", 2, nullptr},
    {"move_towards_point", 3, nullptr},
    {"move_contact", 1, nullptr},
    {"move_contact_solid", 2, nullptr},
    {"move_contact_all", 2, nullptr},
    {"move_outside_solid", 2, nullptr},
    {"move_outside_all", 2, nullptr},
    {"move_bounce", 1, nullptr},
    {"move_bounce_solid", 1, nullptr},
    {"move_bounce_all", 1, nullptr},
    {"motion_set", 2, nullptr},
    {"motion_add", 2, nullptr},
    {"distance_to_point", 2, nullptr},
    {"distance_to_object", 1, nullptr},
    {"instance_find", 2, nullptr},
    {"instance_exists", 1, nullptr},
    {"instance_number", 1, nullptr},
    {"instance_position", 3, nullptr},
    {"instance_nearest", 3, nullptr},
    {"instance_furthest", 3, nullptr},
    {"instance_place", 3, nullptr},
    {"instance_create", 3, nullptr},
    {"instance_copy", 1, nullptr},
    {"instance_change", 2, nullptr},
    {"instance_destroy", 0, nullptr},
    {"instance_sprite", 1, nullptr},
    {"position_empty", 2, nullptr},
    {"position_meeting", 3, nullptr},
    {"position_destroy", 2, nullptr},
    {"position_change", 4, nullptr},
    {"room_goto", 1, nullptr},
    {"room_goto_previous", 0, nullptr},
    {"room_goto_next", 0, nullptr},
    {"room_previous", 1, nullptr},
    {"room_next", 1, nullptr},
    {"room_restart", 0, nullptr},
    {"game_end", 0, nullptr},
    {"game_restart", 0, nullptr},
    {"game_load", 1, nullptr},
    {"game_save", 1, nullptr},
    {"sound_isplaying", 1, nullptr},
    {"sound_play", 1, nullptr},
    {"sound_loop", 1, nullptr},
    {"sound_stop", 1, nullptr},
    {"sound_stop_all", 0, nullptr},
    {"sound_pan", 2, nullptr},
    {"sound_volume", 2, nullptr},
    {"sound_frequency", 2, nullptr},
    {"sound_add", 4, nullptr},
    {"sound_replace", 5, nullptr},
    {"sound_delete", 1, nullptr},
    {"cd_init", 0, nullptr},
    {"cd_present", 0, nullptr},
    {"cd_number", 0, nullptr},
    {"cd_playing", 0, nullptr},
    {"cd_paused", 0, nullptr},
    {"cd_track", 0, nullptr},
    {"cd_length", 0, nullptr},
    {"cd_track_length", 1, nullptr},
    {"cd_position", 0, nullptr},
    {"cd_track_position", 0, nullptr},
    {"cd_play", 2, nullptr},
    {"cd_stop", 0, nullptr},
    {"cd_pause", 0, nullptr},
    {"cd_resume", 0, nullptr},
    {"cd_set_position", 1, nullptr},
    {"cd_set_track_position", 1, nullptr},
    {"cd_open_door", 0, nullptr},
    {"cd_close_door", 0, nullptr},
    {"MCI_command", 1, nullptr},
    {"sleep", 1, nullptr},
};

// ORDER: table positions 281 to 316.
constexpr FunctionEntry FILE_FUNCTIONS[] = {
    {"file_open_read", 1, nullptr},
    {"file_open_write", 1, nullptr},
    {"file_open_append", 1, nullptr},
    {"file_close", 0, nullptr},
    {"file_read_string", 0, nullptr},
    {"file_read_real", 0, nullptr},
    {"file_readln", 0, nullptr},
    {"file_eof", 0, nullptr},
    {"file_write_string", 1, nullptr},
    {"file_write_real", 1, nullptr},
    {"file_writeln", 0, nullptr},
    {"file_exists", 1, nullptr},
    {"file_delete", 1, nullptr},
    {"file_rename", 2, nullptr},
    {"file_copy", 2, nullptr},
    {"directory_exists", 1, nullptr},
    {"directory_create", 1, nullptr},
    {"registry_write_string", 2, nullptr},
    {"registry_write_real", 2, nullptr},
    {"registry_read_string", 1, nullptr},
    {"registry_read_real", 1, nullptr},
    {"registry_exists", 1, nullptr},
    {"registry_write_string_ext", 3, nullptr},
    {"registry_write_real_ext", 3, nullptr},
    {"registry_read_string_ext", 2, nullptr},
    {"registry_read_real_ext", 2, nullptr},
    {"registry_exists_ext", 2, nullptr},
    {"registry_set_root", 1, nullptr},
    {"execute_program", 3, nullptr},
    {"execute_shell", 2, nullptr},
    {"file_find_first", 2, nullptr},
    {"file_find_next", 0, nullptr},
    {"file_find_close", 0, nullptr},
    {"file_attributes", 2, nullptr},
    {"parameter_count", 0, nullptr},
    {"parameter_string", 1, nullptr},
};

// ORDER: table positions 380 to 408.
constexpr FunctionEntry DPLAY_FUNCTIONS[] = {
    {"mplay_init_ipx", 0, nullptr},
    {"mplay_init_tcpip", 1, nullptr},
    {"mplay_init_modem", 2, nullptr},
    {"mplay_init_serial", 5, nullptr},
    {"mplay_connect_status", 0, nullptr},
    {"mplay_end", 0, nullptr},
    {"mplay_session_mode", 1, nullptr},
    {"mplay_session_create", 3, nullptr},
    {"mplay_session_find", 0, nullptr},
    {"mplay_session_name", 1, nullptr},
    {"mplay_session_join", 2, nullptr},
    {"mplay_session_status", 0, nullptr},
    {"mplay_session_end", 0, nullptr},
    {"mplay_player_find", 0, nullptr},
    {"mplay_player_name", 1, nullptr},
    {"mplay_player_id", 1, nullptr},
    {"mplay_data_write", 2, nullptr},
    {"mplay_data_read", 1, nullptr},
    {"mplay_data_mode", 1, nullptr},
    {"mplay_message_send", 3, nullptr},
    {"mplay_message_send_guaranteed", 3, nullptr},
    {"mplay_message_receive", 1, nullptr},
    {"mplay_message_id", 0, nullptr},
    {"mplay_message_value", 0, nullptr},
    {"mplay_message_player", 0, nullptr},
    {"mplay_message_name", 0, nullptr},
    {"mplay_message_count", 1, nullptr},
    {"mplay_message_clear", 1, nullptr},
    {"mplay_ipaddress", 0, nullptr},
};

// ORDER: table positions 439 to 506.
constexpr FunctionEntry RESOURCE_FUNCTIONS[] = {
    {"discard_all", 0, nullptr},
    {"sprite_name", 1, nullptr},
    {"sprite_exists", 1, nullptr},
    {"sprite_get_name", 1, nullptr},
    {"sprite_get_number", 1, nullptr},
    {"sprite_get_width", 1, nullptr},
    {"sprite_get_height", 1, nullptr},
    {"sprite_get_transparent", 1, nullptr},
    {"sprite_get_xoffset", 1, nullptr},
    {"sprite_get_yoffset", 1, nullptr},
    {"sprite_get_bbox_left", 1, nullptr},
    {"sprite_get_bbox_right", 1, nullptr},
    {"sprite_get_bbox_top", 1, nullptr},
    {"sprite_get_bbox_bottom", 1, nullptr},
    {"sprite_get_precise", 1, nullptr},
    {"sprite_get_videomem", 1, nullptr},
    {"sprite_get_loadonuse", 1, nullptr},
    {"sprite_discard", 1, nullptr},
    {"sprite_restore", 1, nullptr},
    {"background_name", 1, nullptr},
    {"background_exists", 1, nullptr},
    {"background_get_name", 1, nullptr},
    {"background_get_width", 1, nullptr},
    {"background_get_height", 1, nullptr},
    {"background_get_transparent", 1, nullptr},
    {"background_get_videomem", 1, nullptr},
    {"background_get_loadonuse", 1, nullptr},
    {"background_discard", 1, nullptr},
    {"background_restore", 1, nullptr},
    {"sound_name", 1, nullptr},
    {"sound_exists", 1, nullptr},
    {"sound_get_name", 1, nullptr},
    {"sound_get_kind", 1, nullptr},
    {"sound_get_buffers", 1, nullptr},
    {"sound_get_effects", 1, nullptr},
    {"sound_get_loadonuse", 1, nullptr},
    {"sound_discard", 1, nullptr},
    {"sound_restore", 1, nullptr},
    {"script_name", 1, nullptr},
    {"script_exists", 1, nullptr},
    {"script_get_name", 1, nullptr},
    {"script_get_text", 1, nullptr},
    {"path_name", 1, nullptr},
    {"path_exists", 1, nullptr},
    {"path_get_name", 1, nullptr},
    {"path_get_length", 1, nullptr},
    {"path_get_kind", 1, nullptr},
    {"path_get_end", 1, nullptr},
    {"datafile_name", 1, nullptr},
    {"datafile_exists", 1, nullptr},
    {"datafile_get_name", 1, nullptr},
    {"datafile_get_filename", 1, nullptr},
    {"datafile_discard", 1, nullptr},
    {"datafile_export", 2, nullptr},
    {"object_name", 1, nullptr},
    {"object_exists", 1, nullptr},
    {"object_get_name", 1, nullptr},
    {"object_get_sprite", 1, nullptr},
    {"object_get_solid", 1, nullptr},
    {"object_get_visible", 1, nullptr},
    {"object_get_depth", 1, nullptr},
    {"object_get_persistent", 1, nullptr},
    {"object_get_mask", 1, nullptr},
    {"object_get_parent", 1, nullptr},
    {"object_is_ancestor", 2, nullptr},
    {"room_name", 1, nullptr},
    {"room_exists", 1, nullptr},
    {"room_get_name", 1, nullptr},
};
// The second name of each pair behaves exactly as the first.
constexpr std::array<std::array<std::string_view, 2>, 13> SHARED_HANDLERS = {{
    {"action_move_random", "move_random"},
    {"action_message", "show_message"},
    {"action_if_question", "show_question"},
    {"action_inherited", "event_inherited"},
    {"move_bounce", "move_bounce_solid"},
    {"sprite_name", "sprite_get_name"},
    {"background_name", "background_get_name"},
    {"sound_name", "sound_get_name"},
    {"script_name", "script_get_name"},
    {"path_name", "path_get_name"},
    {"datafile_name", "datafile_get_name"},
    {"object_name", "object_get_name"},
    {"room_name", "room_get_name"},
}};

FunctionHandler handler_of(std::span<const FunctionEntry> family, std::string_view name)
{
    for (const FunctionEntry& entry : family)
        if (entry.name == name && entry.handler)
            return entry.handler;
    return nullptr;
}

}  // namespace

std::span<const FunctionFamily> function_families()
{
    // ORDER: Action, Math, Graphics, Interaction, File, Game, DPlay, Misc, Resource.
    static const FunctionFamily s_families[] = {
        {"Action", ACTION_FUNCTIONS},           {"Math", math_functions()},
        {"Graphics", GRAPHICS_FUNCTIONS},       {"Interaction", INTERACTION_FUNCTIONS},
        {"File", FILE_FUNCTIONS},               {"Game", game_functions()},
        {"DPlay", DPLAY_FUNCTIONS},             {"Misc", misc_functions()},
        {"Resource", RESOURCE_FUNCTIONS},
    };
    return s_families;
}

void register_builtin_functions(FunctionRegistry& registry,
                                std::initializer_list<std::span<const FunctionEntry>> handlers)
{
    std::vector<std::span<const FunctionEntry>> families;
    for (const FunctionFamily& family : function_families())
        families.push_back(family.entries);
    for (std::span<const FunctionEntry> family : families) {
        for (const FunctionEntry& entry : family) {
            FunctionHandler handler = entry.handler;
            for (std::span<const FunctionEntry> given : handlers)
                if (FunctionHandler found = handler_of(given, entry.name))
                    handler = found;
            for (const auto& [first, second] : SHARED_HANDLERS)
                if (second == entry.name)
                    for (std::span<const FunctionEntry> owner : families)
                        if (FunctionHandler shared = handler_of(owner, first))
                            handler = shared;
            for (const auto& [first, second] : SHARED_HANDLERS)
                if (second == entry.name)
                    for (std::span<const FunctionEntry> given : handlers)
                        if (FunctionHandler shared = handler_of(given, first))
                            handler = shared;
            registry.register_function(entry.name, handler ? handler : not_available, entry.argument_count);
        }
    }
}

}  // namespace quillon
