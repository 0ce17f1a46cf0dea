// Functions of native shared libraries that games name: loading a library, finding a function in it, and
// calling it with reals and texts. Libraries stay loaded for the whole run.
#pragma once

#include <span>
#include <string>

namespace quillon::platform {

// Loads the library at this file path; a name without a folder is looked for in the current directory, then
// where the system keeps libraries. A name ending in ".dll" is tried again ending in ".so". None when nothing
// loads.
void* load_native_library(const std::string& path);
// The function exported under exactly this name; none when the library has no such function.
void* find_native_function(void* library, const std::string& name);

// An argument or a result: a text when `text` is set (a zero-terminated byte string), else the real.
struct NativeValue {
    double real = 0;
    const char* text = nullptr;
};
// Calls the function with the arguments in order, each a double or a pointer to its text, and takes its result
// as a double, or as a pointer to text when `text_result` is set. At most 12 arguments.
NativeValue call_native_function(void* function, std::span<const NativeValue> arguments, bool text_result);

} // namespace quillon::platform
