// The game settings: the settings block of the game file as plain data, with the defaults a game starts from.
#pragma once

#include "support/stored_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t SETTINGS_VERSION = 500;

// Loading bar kinds.
constexpr std::int32_t LOADING_BAR_NONE = 0;
constexpr std::int32_t LOADING_BAR_BUILT_IN = 1;
constexpr std::int32_t LOADING_BAR_OWN = 2;

// ORDER: the fields follow the settings block of the game file.
struct GameSettings {
    bool start_fullscreen = false;          // the game starts full screen
    bool no_window_border = false;          // windowed mode without border; the caption is drawn in the image
    bool show_cursor = true;                // the mouse cursor shows over the game (built-in variable show_cursor)
    std::int32_t window_scaling = 100;      // percent; 0 or less acts as 100
    std::int32_t fullscreen_scaling = 100;  // percent, for full-screen mode
    bool scale_only_with_hardware = true;   // without hardware stretching both scalings become 1
    bool set_screen_mode = false;           // change the display mode before the display is set up
    bool exclusive_graphics = false;        // exclusive full screen with set_screen_mode; no pop-up windows
    std::int32_t color_depth = 0;           // 0: 16 bits per pixel, else 32
    std::int32_t resolution = 1;            // index into the resolution table
    std::int32_t frequency = 1;             // index into the refresh-rate table
    bool wait_for_vertical_blank = false;   // wait for the vertical blank after every step
    bool draw_caption = true;               // draw the caption inside the image in full screen or without border
    bool no_caption_buttons = false;        // no system menu and no minimize button
    bool f4_switches_screen_mode = true;    // F4 toggles window and full screen
    bool f1_shows_information = true;       // F1 opens the game information
    bool escape_ends_game = true;           // Esc ends the game
    bool f5_saves_f6_loads = true;          // F5 saves and F6 loads the game
    bool keyboard_continuous = true;        // keyboard events in every step while a key is held
    bool mouse_continuous = true;           // mouse events in every step while a button is held
    bool freeze_when_inactive = false;      // skip steps while the window is not active
    std::int32_t loading_bar = LOADING_BAR_BUILT_IN;  // none, built-in or the game's own bar images
    StoredImage loading_bar_back;           // the empty bar, stored only with LOADING_BAR_OWN
    StoredImage loading_bar_front;          // the full bar, stored only with LOADING_BAR_OWN
    bool own_loading_image = false;         // the loading window shows the game's own picture
    StoredImage loading_image;              // that picture, stored only with own_loading_image
    std::vector<std::uint8_t> icon;         // a Windows icon file, kept and not used
    bool display_errors = true;             // game errors show in a message box
    bool log_errors = false;                // game errors are appended to game_errors.log
    bool abort_on_errors = false;           // every game error is fatal
    bool uninitialised_are_zero = false;    // reading an unset variable gives 0 instead of an error
    std::string extra_text_1;               // kept, not used
    std::int32_t extra_number = 100;        // kept, not used
    double extra_date = 0;                  // kept, not used (a day count as a date-time)
    std::string extra_text_2;               // kept, not used

    // Display mode chosen by the resolution field: 0 640x480, 1 800x600, 2 1024x768, 3 1280x1024,
    // 4 the current screen size (given), 5 320x240, 6 1600x1200, anything else 800x600.
    struct Size { int width; int height; };
    Size screen_size(Size current_screen) const;
    int refresh_rate() const;  // 60, 70, 85 or 100 Hz; 0 leaves the rate alone
    int bits_per_pixel() const { return color_depth == 0 ? 16 : 32; }
};

// Reads the block into settings, which start from their defaults; false refuses the block, which then leaves
// the defaults behind.
bool read_settings(CStream& stream, GameSettings& settings);
void write_settings(CStream& stream, const GameSettings& settings);

}  // namespace quillon
