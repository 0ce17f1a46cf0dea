// Stack guard: tells nested runs when the thread's stack is close to exhausted.
#pragma once

namespace quillon {

// True when less than a safety margin of the current thread's stack is left.
bool stack_nearly_exhausted();

}  // namespace quillon
