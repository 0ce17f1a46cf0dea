// LanguageSettings: the game settings that steer error reporting and variable reads; the runner fills them.
#pragma once

namespace quillon {

struct LanguageSettings {
    bool display_errors = true;          // show each error in a dialog
    bool log_errors = false;             // append each error to game_errors.log
    bool abort_on_errors = false;        // make every error fatal
    bool uninitialised_as_zero = false;  // reading a missing variable gives real 0 instead of failing
    bool exclusive_mode = false;         // exclusive graphics mode: no dialogs while the game loop runs
};

}  // namespace quillon
