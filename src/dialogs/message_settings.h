// How the game's message form looks: its background, buttons, fonts, colours, place, size and border. The
// settings last for the whole run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

struct MessageFont {
    std::string name = "MS Sans Serif";
    std::int32_t size = 8;          // in points
    std::int32_t color = 0xFFFFFF;  // 0xBBGGRR
    bool bold = false;
    bool italic = false;

    // A font function's arguments: the name when not empty, the size and colour when 0 or more, the style
    // 0 normal, 1 bold, 2 italic, 3 bold italic (other values leave it).
    void set(std::string_view new_name, std::int32_t new_size, std::int32_t new_color, std::int32_t style);
};

struct MessageSettings {
    std::int32_t background = -1;  // the background stretched over the form, -1 for the form's own image
    std::int32_t button_sprite = -1;  // the sprite whose images draw the buttons, -1 for the form's own
    MessageFont text_font;
    MessageFont button_font = {"MS Sans Serif", 8, 0xFFFFFF, true, false};
    MessageFont input_font;
    std::int32_t mouse_color = 0xFFFFFF;  // a button's caption under the mouse
    std::int32_t input_color = 0x3C3C3C;  // the input field's background
    std::optional<std::int32_t> x, y;     // the form's screen position; centred while unset
    std::int32_t width = 0, height = 0;   // the client size; 0 is automatic
    bool border = false;                  // a dialog border with the caption
    std::string caption;
};

MessageSettings& message_settings();

}  // namespace quillon
