// How the highscore table looks when it is shown; the settings last for the whole run.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

struct HighscoreSettings {
    std::int32_t background = -1; // the background shown behind the table, -1 for none
    bool border = true; // the table's window has a border with its caption
    std::int32_t new_entry_color = 255; // the row of the entry being typed
    std::int32_t other_color = 0; // every other row
    std::string font_name = "Times New Roman";
    std::int32_t font_size = 12; // in points
    std::int32_t font_style = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
};

HighscoreSettings& highscore_settings();

} // namespace quillon
