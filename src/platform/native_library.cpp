// Native libraries through the dynamic loader, and calls of any mix of real and text arguments through libffi.
#include "platform/native_library.h"
#include "support/ascii_case.h"

#include <dlfcn.h>
#include <ffi.h>

#include <array>
#include <cstring>

namespace quillon::platform {

namespace {

constexpr std::size_t MAX_NATIVE_ARGUMENTS = 12;

void* open_library(const std::string& path)
{
    if (path.find('/') == std::string::npos) {
        if (void* here = dlopen(("./" + path).c_str(), RTLD_NOW | RTLD_LOCAL))
            return here;
    }
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// "x.dll" (in any case) as "x.so"; empty for any other name.
std::string shared_object_name(const std::string& path)
{
    constexpr std::string_view WINDOWS_SUFFIX = ".dll";
    if (path.size() <= WINDOWS_SUFFIX.size() || !ends_with_ignoring_ascii_case(path, WINDOWS_SUFFIX))
        return {};
    return path.substr(0, path.size() - WINDOWS_SUFFIX.size()) + ".so";
}

} // namespace

void* load_native_library(const std::string& path)
{
    if (void* library = open_library(path))
        return library;
    std::string shared_object = shared_object_name(path);
    return shared_object.empty() ? nullptr : open_library(shared_object);
}

void* find_native_function(void* library, const std::string& name)
{
    return library ? dlsym(library, name.c_str()) : nullptr;
}

NativeValue call_native_function(void* function, std::span<const NativeValue> arguments, bool text_result)
{
    NativeValue result;
    if (!function || arguments.size() > MAX_NATIVE_ARGUMENTS)
        return result;
    std::array<ffi_type*, MAX_NATIVE_ARGUMENTS> types {};
    std::array<void*, MAX_NATIVE_ARGUMENTS> values {};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const NativeValue& argument = arguments[i];
        types[i] = argument.text ? &ffi_type_pointer : &ffi_type_double;
        values[i] = argument.text ? static_cast<void*>(const_cast<const char**>(&argument.text))
                                  : static_cast<void*>(const_cast<double*>(&argument.real));
    }
    ffi_cif interface {
    };
    if (ffi_prep_cif(&interface, FFI_DEFAULT_ABI, static_cast<unsigned>(arguments.size()),
            text_result ? &ffi_type_pointer : &ffi_type_double, types.data())
        != FFI_OK)
        return result;
    // libffi widens small results to a full register; a pointer or a double fits in this one.
    ffi_arg returned[2] {};
    ffi_call(&interface, reinterpret_cast<void (*)()>(function), returned, values.data());
    if (text_result)
        std::memcpy(&result.text, returned, sizeof result.text);
    else
        std::memcpy(&result.real, returned, sizeof result.real);
    return result;
}

} // namespace quillon::platform
