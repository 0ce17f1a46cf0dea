// Secure mode: the player's preference, read once at start.
#include "support/secure_mode.h"

namespace quillon {

namespace {
bool s_secure_mode = false;
}

bool secure_mode() { return s_secure_mode; }
void set_secure_mode(bool on) { s_secure_mode = on; }

}  // namespace quillon
