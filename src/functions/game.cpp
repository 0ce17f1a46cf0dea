// The Game family: error messages shown by game code; the dialogs, highscores and menus of this family arrive
// with the dialogs, its keyboard, mouse and joystick functions come with the world (input.cpp).
#include "functions/args.h"
#include "functions/families.h"

namespace quillon {

namespace {

// Reports the text at the current place; an abort argument of 0.5 or more makes it fatal.
void show_error(FunctionCall& call)
{
    errors().report_in_context(string_argument(call, 0).str(), is_true(real_argument(call, 1)));
}

// ORDER: table positions 317 to 379.
constexpr FunctionEntry GAME_FUNCTIONS[] = {
    {"show_error", 2, show_error},
    {"show_image", 3, nullptr},
    {"show_video", 3, nullptr},
    {"show_text", 4, nullptr},
    {"show_info", 0, nullptr},
    {"load_info", 1, nullptr},
    {"highscore_show", 1, nullptr},
    {"highscore_show_ext", 7, nullptr},
    {"highscore_clear", 0, nullptr},
    {"highscore_add", 2, nullptr},
    {"highscore_add_current", 0, nullptr},
    {"highscore_value", 1, nullptr},
    {"highscore_name", 1, nullptr},
    {"draw_highscore", 4, nullptr},
    {"show_message_ext", 4, nullptr},
    {"message_background", 1, nullptr},
    {"message_button", 1, nullptr},
    {"message_text_font", 4, nullptr},
    {"message_button_font", 4, nullptr},
    {"message_input_font", 4, nullptr},
    {"message_mouse_color", 1, nullptr},
    {"message_input_color", 1, nullptr},
    {"message_position", 2, nullptr},
    {"message_size", 2, nullptr},
    {"message_caption", 2, nullptr},
    {"show_menu", 2, nullptr},
    {"show_menu_pos", 4, nullptr},
    {"get_integer", 2, nullptr},
    {"get_string", 2, nullptr},
    {"get_color", 1, nullptr},
    {"get_open_filename", 2, nullptr},
    {"get_save_filename", 2, nullptr},
    {"get_directory", 1, nullptr},
    {"get_directory_alt", 2, nullptr},
    {"keyboard_get_numlock", 0, nullptr},
    {"keyboard_set_numlock", 1, nullptr},
    {"keyboard_key_press", 1, nullptr},
    {"keyboard_key_release", 1, nullptr},
    {"keyboard_set_map", 2, nullptr},
    {"keyboard_get_map", 1, nullptr},
    {"keyboard_unset_map", 0, nullptr},
    {"keyboard_check", 1, nullptr},
    {"keyboard_check_direct", 1, nullptr},
    {"mouse_check_button", 1, nullptr},
    {"joystick_exists", 1, nullptr},
    {"joystick_direction", 1, nullptr},
    {"joystick_name", 1, nullptr},
    {"joystick_axes", 1, nullptr},
    {"joystick_buttons", 1, nullptr},
    {"joystick_has_pov", 1, nullptr},
    {"joystick_check_button", 2, nullptr},
    {"joystick_xpos", 1, nullptr},
    {"joystick_ypos", 1, nullptr},
    {"joystick_zpos", 1, nullptr},
    {"joystick_rpos", 1, nullptr},
    {"joystick_upos", 1, nullptr},
    {"joystick_vpos", 1, nullptr},
    {"joystick_pov", 1, nullptr},
    {"keyboard_clear", 1, nullptr},
    {"mouse_clear", 1, nullptr},
    {"io_clear", 0, nullptr},
    {"io_handle", 0, nullptr},
    {"keyboard_wait", 0, nullptr},
};

}  // namespace

std::span<const FunctionEntry> game_functions() { return GAME_FUNCTIONS; }

}  // namespace quillon
