// Debug captions: the debug window's fixed captions, hints and questions.
#pragma once

#include "platform/debug_view.h"

#include <string_view>

namespace quillon {

inline constexpr std::string_view DEBUG_WINDOW_CAPTION = "Debug Information";
inline constexpr std::string_view GLOBALS_CAPTION = "Global Variables";
inline constexpr std::string_view INSTANCES_CAPTION = "All Instances";
inline constexpr std::string_view MESSAGES_CAPTION = "Messages";
inline constexpr std::string_view LOCALS_CAPTION_PREFIX = "Local Variables for ";
inline constexpr std::string_view WATCH_HEADER_EXPRESSION = "Expression";
inline constexpr std::string_view WATCH_HEADER_VALUE = "Value";

// The action's caption, hint and question; enabled, as every action starts.
const platform::DebugActionView& debug_action_text(platform::DebugAction action);

}  // namespace quillon
