// The virtual-key codes that the runner's own dialogs answer to.
#pragma once

namespace quillon {

inline constexpr int KEY_BACKSPACE = 8;
inline constexpr int KEY_TAB = 9;
inline constexpr int KEY_ENTER = 13;
inline constexpr int KEY_SHIFT = 16;
inline constexpr int KEY_ESCAPE = 27;
inline constexpr int KEY_PAGE_UP = 33;
inline constexpr int KEY_PAGE_DOWN = 34;
inline constexpr int KEY_END = 35;
inline constexpr int KEY_HOME = 36;
inline constexpr int KEY_LEFT = 37;
inline constexpr int KEY_UP = 38;
inline constexpr int KEY_RIGHT = 39;
inline constexpr int KEY_DOWN = 40;
inline constexpr int KEY_DELETE = 46;

}  // namespace quillon
