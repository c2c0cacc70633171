// Functions of system libraries bound by name at run time, where the program
// must go on without them (older systems, stripped installations) or may not
// import their library at all (the hook library).
#pragma once

#include <windows.h>

#include <type_traits>

namespace kz {

// The address a module gives for a name (or an ordinal made with
// MAKEINTRESOURCEA); it converts to the function pointer type it is stored
// in, and to nothing else.
class BoundFunction {
public:
    explicit BoundFunction(FARPROC address) noexcept : address_(address) {}

    template <typename Function,
              typename = std::enable_if_t<std::is_function_v<std::remove_pointer_t<Function>>>>
    operator Function() const noexcept {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(address_));
    }

private:
    FARPROC address_;
};

// Null when the module is missing (null) or has no such function.
inline BoundFunction BindFunction(HMODULE module, const char* name) noexcept {
    return BoundFunction(module ? ::GetProcAddress(module, name) : nullptr);
}

}  // namespace kz
