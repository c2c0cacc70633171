#include "tests/aero/DwmStandIn.h"

namespace kz::test {

namespace {

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

DwmStandIn::DwmStandIn() {
    const HMODULE module = ::LoadLibraryW(L"dwmapi.dll");  // stays loaded, as the library's binding keeps it
    Bind(module, "DwmStandInSetComposition", setComposition_);
    Bind(module, "DwmStandInGlassCalls", glassCalls_);
    Bind(module, "DwmStandInLastGlassWindow", lastGlassWindow_);
    Bind(module, "DwmStandInLastGlassLeft", lastGlassLeft_);
    if (!glassCalls_ || !lastGlassWindow_ || !lastGlassLeft_)
        setComposition_ = nullptr;
}

void DwmStandIn::SetComposition(bool on) const {
    if (setComposition_)
        setComposition_(on ? TRUE : FALSE);
}

LONG DwmStandIn::GlassCalls() const { return glassCalls_ ? glassCalls_() : 0; }
HWND DwmStandIn::LastGlassWindow() const { return lastGlassWindow_ ? lastGlassWindow_() : nullptr; }
LONG DwmStandIn::LastGlassLeft() const { return lastGlassLeft_ ? lastGlassLeft_() : 0; }

}  // namespace kz::test
