// Hook libraries that are wrong in exactly one way each, so that the shape
// check is seen to fail for every rule it enforces.
#include <windows.h>

#ifdef KZ_SHAPE_HELPER
extern "C" __declspec(dllexport) int ShapeHelperValue() { return 7; }
#else

#ifdef KZ_SHAPE_IMPORTS_HELPER
extern "C" __declspec(dllimport) int ShapeHelperValue();
#endif

#ifndef KZ_SHAPE_NO_SHARED_SECTION
__attribute__((section("KZSHARED"), shared)) volatile HWND g_sharedWindow = nullptr;
#endif

extern "C" {
LRESULT HookGETMESSAGE(int, WPARAM, LPARAM) {
#ifdef KZ_SHAPE_IMPORTS_HELPER
    return ShapeHelperValue();
#else
    return 0;
#endif
}
void SetHandle(HHOOK) {}
void SetHostWindow(HWND window) {
#ifndef KZ_SHAPE_NO_SHARED_SECTION
    g_sharedWindow = window;
#else
    (void)window;
#endif
}
}
#endif
