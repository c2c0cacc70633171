#include "kz/commands/LayeredWindows.h"

#include "common/BindFunction.h"

namespace kz {

LayeredWindows::LayeredWindows()
    : user32_(::LoadLibraryW(L"user32.dll")),
      set_(BindFunction(user32_.get(), "SetLayeredWindowAttributes")),
      get_(BindFunction(user32_.get(), "GetLayeredWindowAttributes")) {}

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
