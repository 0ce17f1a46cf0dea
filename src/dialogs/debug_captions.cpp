// Debug captions: the debug window's fixed captions, hints and questions.
#include "dialogs/debug_captions.h"

namespace quillon {

namespace {

constexpr std::string_view ASK_EXPRESSION_CAPTION = "Provide an expression.";
constexpr std::string_view ASK_EXPRESSION_PROMPT = "Please type in the expression";

// ORDER: platform::DebugAction.
const platform::DebugActionView ACTION_TEXTS[platform::DEBUG_ACTION_COUNT] = {
    {"&Run", "Run or resume the game", "", "", true, true},
    {"&Pause", "Pause the game", "", "", true, true},
    {"&Step", "Take a single step", "", "", true, true},
    {"Stop", "Ends the game", "", "", true, true},
    {"R&estart", "Restart the game", "", "", true, true},
    {"&Add", "Add an expression to watch", ASK_EXPRESSION_CAPTION, ASK_EXPRESSION_PROMPT, true, true},
    {"&Delete", "Delete the selected watch expression", "", "", true, true},
    {"C&hange", "Change the selected watch expression", ASK_EXPRESSION_CAPTION, ASK_EXPRESSION_PROMPT, true, true},
    {"&Clear", "Clear all watch expressions", "", "", true, true},
    {"&Load ...", "Load the watch expressions from a file", "Load ...", "File name", true, false},
    {"Sa&ve ...", "Save the watched expressions to a file", "Save ...", "File name", true, false},
    {"&Execute Code ...", "Execute a piece of code", "Execute some code.", "Please type in the code", true, false},
    {"&Set Speed ...", "Set the speed of the game", "Changing Game Speed.", "Please provide the new speed", true,
        false},
    {"Show &Global Variables", "Show the most important global variables", "", "", true, false},
    {"Show &Instances", "Shows all the instances", "", "", true, false},
    {"Show &Local Variables", "Show the variables local to an instance", "Showing Local Variables.",
        "Please provide the instance id or object name.", true, false},
    {"Show &Messages", "", "", "", true, false},
    {"", "", "", "", true, false},
};

}  // namespace

const platform::DebugActionView& debug_action_text(platform::DebugAction action)
{
    return ACTION_TEXTS[static_cast<std::size_t>(action)];
}

}  // namespace quillon
