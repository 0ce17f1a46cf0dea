// Key map: SDL keys to the Windows virtual-key codes that games test for.
#pragma once

#include <cstdint>

namespace quillon::platform {

// The virtual-key code of a key, with left/right codes for the modifiers (Shift 160/161, Ctrl 162/163,
// Alt 164/165). Keypad digits and its decimal point follow num lock as on Windows: with it off they are the
// navigation keys they are labelled with. Keys whose keycode the layout makes unknown (such as letters with
// accents) are taken by their position on a US keyboard. 0 when the key has no code.
int virtual_key_from_sdl(std::int32_t keycode, int scancode, bool num_lock);

}  // namespace quillon::platform
