// The fixed table of named constants.
#include "code/constants.h"

#include "code/host.h"

#include <utility>

namespace quillon {

namespace {

struct NamedConstant {
    const char* name;  // the constant's name
    double value;      // its value
};

constexpr NamedConstant INSTANCES_AND_COLOURS[] = {
    {"self", -1}, {"other", -2}, {"all", -3}, {"noone", -4}, {"global", -5}, {"local", -7}, {"true", 1},
    {"false", 0}, {"pi", 3.141592653589793}, {"c_aqua", 16776960}, {"c_black", 0}, {"c_blue", 16711680},
    {"c_dkgray", 8421504}, {"c_fuchsia", 16711935}, {"c_gray", 8421504}, {"c_green", 32768}, {"c_lime", 65280},
    {"c_ltgray", 12632256}, {"c_maroon", 128}, {"c_navy", 8388608}, {"c_olive", 32896}, {"c_purple", 8388736},
    {"c_red", 255}, {"c_silver", 12632256}, {"c_teal", 8421376}, {"c_white", 16777215}, {"c_yellow", 65535},
    {"bs_hollow", 0}, {"bs_solid", 1}, {"bs_bdiagonal", 2}, {"bs_fdiagonal", 3}, {"bs_cross", 4},
    {"bs_diagcross", 5}, {"bs_horizontal", 6}, {"bs_vertical", 7}, {"fs_normal", 0}, {"fs_bold", 1},
    {"fs_italic", 2}, {"fs_bolditalic", 3}, {"fs_underline", 4}, {"fs_strikeout", 8}, {"fa_left", 0},
    {"fa_center", 1}, {"fa_right", 2}, {"mb_any", -1}, {"mb_none", 0}, {"mb_left", 1}, {"mb_right", 2},
    {"mb_middle", 3}, {"vk_nokey", 0}, {"vk_anykey", -1}, {"vk_enter", 13}, {"vk_return", 13},
    {"vk_shift", 16}, {"vk_control", 17}, {"vk_alt", 18}, {"vk_escape", 27}, {"vk_space", 32},
    {"vk_backspace", 8}, {"vk_tab", 9}, {"vk_pause", 19}, {"vk_printscreen", 44}, {"vk_left", 37},
    {"vk_right", 39}, {"vk_up", 38}, {"vk_down", 40}, {"vk_home", 36}, {"vk_end", 35}, {"vk_delete", 46},
    {"vk_insert", 45}, {"vk_pageup", 33}, {"vk_pagedown", 34},
};

constexpr NamedConstant KEYPAD_AND_EVENTS[] = {
    {"vk_divide", 111}, {"vk_multiply", 106}, {"vk_subtract", 109}, {"vk_add", 107}, {"vk_decimal", 110},
    {"vk_lshift", 160}, {"vk_lcontrol", 162}, {"vk_lalt", 164}, {"vk_rshift", 161}, {"vk_rcontrol", 163},
    {"vk_ralt", 165}, {"ev_create", 0}, {"ev_destroy", 1}, {"ev_step", 3}, {"ev_alarm", 2},
    {"ev_keyboard", 5}, {"ev_mouse", 6}, {"ev_collision", 4}, {"ev_other", 7}, {"ev_draw", 8},
    {"ev_keypress", 9}, {"ev_keyrelease", 10}, {"ev_left_button", 0}, {"ev_right_button", 1},
    {"ev_middle_button", 2}, {"ev_no_button", 3}, {"ev_left_press", 4}, {"ev_right_press", 5},
    {"ev_middle_press", 6}, {"ev_left_release", 7}, {"ev_right_release", 8}, {"ev_middle_release", 9},
    {"ev_mouse_enter", 10}, {"ev_mouse_leave", 11}, {"ev_joystick1_left", 16}, {"ev_joystick1_right", 17},
    {"ev_joystick1_up", 18}, {"ev_joystick1_down", 19},
};

constexpr NamedConstant JOYSTICK2_DIRECTIONS[] = {
    {"ev_joystick2_left", 31}, {"ev_joystick2_right", 32}, {"ev_joystick2_up", 33}, {"ev_joystick2_down", 34},
};

constexpr NamedConstant OTHER_EVENTS[] = {
    {"ev_outside", 0}, {"ev_boundary", 1}, {"ev_game_start", 2}, {"ev_game_end", 3}, {"ev_room_start", 4},
    {"ev_room_end", 5}, {"ev_no_more_lives", 6}, {"ev_animation_end", 7}, {"ev_end_of_path", 8},
    {"ev_no_more_health", 9},
};

constexpr NamedConstant STEPS_FILES_AND_CURSORS[] = {
    {"ev_step_normal", 0}, {"ev_step_begin", 1}, {"ev_step_end", 2}, {"ty_real", 0}, {"ty_string", 1},
    {"dll_cdecl", 0}, {"dll_stdcall", 1}, {"fa_readonly", 1}, {"fa_hidden", 2}, {"fa_sysfile", 4},
    {"fa_volumeid", 8}, {"fa_directory", 16}, {"fa_archive", 32}, {"cr_default", 0}, {"cr_none", -1},
    {"cr_arrrow", -2}, {"cr_cross", -3}, {"cr_beam", -4}, {"cr_size_nesw", -6}, {"cr_size_ns", -7},
    {"cr_size_nwse", -8}, {"cr_size_we", -9}, {"cr_uparrow", -10}, {"cr_hourglass", -11}, {"cr_drag", -12},
    {"cr_nodrop", -13}, {"cr_hsplit", -14}, {"cr_vsplit", -15}, {"cr_multidrag", -16}, {"cr_sqlwait", -17},
    {"cr_no", -18}, {"cr_appstart", -19}, {"cr_help", -20}, {"cr_handpoint", -21}, {"cr_size_all", -22},
};

}  // namespace

Constants::Constants()
{
    auto add_all = [this](const auto& group) {
        for (const NamedConstant& constant : group)
            register_constant(constant.name, constant.value);
    };
    auto add_numbered = [this](const std::string& prefix, int first, int last, double first_value) {
        for (int n = first; n <= last; ++n)
            register_constant(prefix + std::to_string(n), first_value + (n - first));
    };
    // ORDER: the table's registration order.
    add_all(INSTANCES_AND_COLOURS);
    add_numbered("vk_f", 1, 12, 112);
    add_numbered("vk_numpad", 0, 9, 96);
    add_all(KEYPAD_AND_EVENTS);
    add_numbered("ev_joystick1_button", 1, 8, 21);
    add_all(JOYSTICK2_DIRECTIONS);
    add_numbered("ev_joystick2_button", 1, 8, 36);
    add_all(OTHER_EVENTS);
    add_numbered("ev_user", 0, 7, 10);
    add_all(STEPS_FILES_AND_CURSORS);
}

Constants& constants()
{
    static Constants s_constants;
    return s_constants;
}

void Constants::register_constant(std::string_view name, double value)
{
    m_lookup.try_emplace(std::string(name), m_names.size());
    m_names.emplace_back(name);
    m_values.push_back(value);
}

std::optional<Value> Constants::find(std::string_view name) const
{
    if (std::optional<double> resource = host().resource_index(name))
        return Value(*resource);
    if (auto found = m_lookup.find(std::string(name)); found != m_lookup.end())
        return Value(m_values[found->second]);
    return std::nullopt;
}

}  // namespace quillon
