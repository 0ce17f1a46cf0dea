// Stack guard: the lowest safe frame address of the current thread, computed once per thread.
#include "code/stack_guard.h"

#include <pthread.h>

#include <cstddef>
#include <cstdint>

namespace quillon {

namespace {

// Room kept free below the deepest allowed run: enough for one deeply nested code unit, a built-in
// function and the error report, also in sanitizer builds with their larger frames.
constexpr std::size_t MARGIN = 2 * 1024 * 1024;

std::uintptr_t lowest_safe_address()
{
    pthread_attr_t attributes;
    void* low = nullptr;
    std::size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return 0;
    pthread_attr_getstack(&attributes, &low, &size);
    pthread_attr_destroy(&attributes);
    std::size_t margin = size >= 4 * MARGIN ? MARGIN : size / 4;
    return reinterpret_cast<std::uintptr_t>(low) + margin;
}

}  // namespace

bool stack_nearly_exhausted()
{
    // Constant-initialised, so that reading it costs no initialisation check.
    thread_local std::uintptr_t s_lowest = 0;
    if (s_lowest == 0)
        s_lowest = lowest_safe_address();
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < s_lowest;
}

}  // namespace quillon
