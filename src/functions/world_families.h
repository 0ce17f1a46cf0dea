// The registration tables of the world's built-in families (actions, motion and interaction), and the
// services they reach beyond the world.
#pragma once

#include "functions/args.h"
#include "support/resource_list.h"

#include <functional>
#include <span>
#include <string_view>

namespace quillon {

struct CDataFile;
class FormHost;
class GameInformation;
class GameLoop;
class Graphics;
class Screen;

namespace platform {
class Clipboard;
class Clock;
}

// The action functions: moving, instances, rooms, the game, questions, messages, sounds, highscores, score,
// lives, health and the caption, and full screen.
std::span<const FunctionEntry> action_functions();
// The drawing actions, through the drawing built-ins and the pen, brush and font variables.
std::span<const FunctionEntry> action_drawing_functions();
// The motion and interaction functions but those of sound and CD audio.
std::span<const FunctionEntry> interaction_functions();
// The tile functions: the tiles of the room being played, by id and at a point.
std::span<const FunctionEntry> tile_functions();
// The keyboard, mouse and joystick functions: the input state of the game loop and the platform's keyboard.
std::span<const FunctionEntry> input_functions();

// What these built-ins reach beyond the world while a game plays; the runner fills it in. A built-in that
// needs a missing service reports itself as not available.
struct PlayServices {
    GameLoop* loop = nullptr; // collisions, input, loads and saves
    platform::Clock* clock = nullptr; // `sleep` and `action_sleep`
    platform::Clipboard* clipboard = nullptr; // `clipboard_has_text`, `clipboard_set_text`, `clipboard_get_text`
    Screen* screen = nullptr; // window or full screen
    std::function<void(std::string_view text)> show_message; // a message window with the button "OK"
    std::function<bool(std::string_view text)> ask_question; // "Yes" and "No": true for "Yes"
    std::function<void()> show_game_information; // the game information window
    std::function<void()> redraw; // draws the room and shows it at once, for `action_sleep`
    Graphics* graphics = nullptr; // sprites, backgrounds, their image sheets, and shapes drawn by the drawing built-ins
    std::function<void()> handle_window_messages; // keeps the window answering while a call waits
    // The game's data files, which `datafile_export` writes out and `datafile_discard` empties.
    ResourceList<CDataFile>* data_files = nullptr;
    FormHost* forms = nullptr; // the dialogs the runner draws itself
    GameInformation* information = nullptr; // the game information page, which `load_info` replaces
};
PlayServices& play_services();

} // namespace quillon
