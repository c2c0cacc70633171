#include "kz/commands/LayeredWindows.h"

namespace kz {

namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

LayeredWindows::LayeredWindows()
    : user32_(::LoadLibraryW(L"user32.dll")),
      set_(Lookup<SetFunction>(user32_.get(), "SetLayeredWindowAttributes")),
      get_(Lookup<GetFunction>(user32_.get(), "GetLayeredWindowAttributes")) {}

std::optional<BYTE> LayeredWindows::ReadAlpha(HWND w) const {
    if (!get_)
        return std::nullopt;
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!get_(w, &key, &alpha, &flags) || !(flags & LWA_ALPHA))
        return std::nullopt;
    return alpha;
}

bool LayeredWindows::SetAlpha(HWND w, BYTE alpha) const { return set_ && set_(w, 0, alpha, LWA_ALPHA); }

}  // namespace kz
