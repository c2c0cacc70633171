#include "kz/commands/LayeredWindows.h"

#include "common/BindFunction.h"

namespace kz {

namespace {

// What the system keeps of a layering: the key only with LWA_COLORKEY, the
// alpha only with LWA_ALPHA.
bool SameEffect(const Layering& a, const Layering& b) {
    if (a.layered != b.layered)
        return false;
    if (!a.layered)
        return true;
    return a.flags == b.flags && (!(a.flags & LWA_COLORKEY) || a.colourKey == b.colourKey) &&
           (!(a.flags & LWA_ALPHA) || a.alpha == b.alpha);
}

}  // namespace

LayeredWindows::LayeredWindows()
    : user32_(::LoadLibraryW(L"user32.dll")),
      set_(BindFunction(user32_.get(), "SetLayeredWindowAttributes")),
      get_(BindFunction(user32_.get(), "GetLayeredWindowAttributes")) {}

std::optional<BYTE> LayeredWindows::ReadAlpha(HWND w) const {
    const std::optional<Layering> layering = Read(w);
    if (!layering || !layering->layered || !(layering->flags & LWA_ALPHA))
        return std::nullopt;
    return layering->alpha;
}

bool LayeredWindows::SetAlpha(HWND w, BYTE alpha) const { return set_ && set_(w, 0, alpha, LWA_ALPHA); }

std::optional<Layering> LayeredWindows::Read(HWND w) const {
    Layering layering;
    layering.layered = (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    if (!layering.layered)
        return layering;
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!get_ || !get_(w, &key, &alpha, &flags))
        return std::nullopt;
    layering.colourKey = key;
    layering.alpha = alpha;
    layering.flags = flags;
    return layering;
}

bool LayeredWindows::Apply(const ForeignWindow& window, const Layering& layering) const {
    const HWND w = window.Handle();
    const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_EXSTYLE);
    const LONG_PTR wanted =
        layering.layered ? style | WS_EX_LAYERED : style & ~static_cast<LONG_PTR>(WS_EX_LAYERED);
    if (wanted != style && !window.SetExtendedStyle(wanted))
        return false;
    if (layering.layered && (!set_ || !set_(w, layering.colourKey, layering.alpha, layering.flags)))
        return false;
    const std::optional<Layering> now = Read(w);
    return now && SameEffect(*now, layering);
}

}  // namespace kz
