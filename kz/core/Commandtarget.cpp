#include "kz/core/Commandtarget.h"

namespace kz {

bool IsTaskbarClass(const std::wstring& className) {
    return className == L"Shell_TrayWnd" || className == L"Shell_SecondaryTrayWnd";
}

bool MayTouch(const CommandTargetFacts& facts) {
    return facts.exists && (facts.style & WS_CHILD) == 0 && !facts.desktopOrShell &&
           !IsTaskbarClass(facts.className) && facts.processId != facts.hostProcessId;
}

CommandTargetFacts FactsOfWindow(HWND w) {
    CommandTargetFacts facts;
    facts.hostProcessId = ::GetCurrentProcessId();
    facts.exists = w && ::IsWindow(w);
    if (!facts.exists)
        return facts;
    facts.style = ::GetWindowLongPtrW(w, GWL_STYLE);
    facts.desktopOrShell = w == ::GetDesktopWindow() || w == ::GetShellWindow();
    wchar_t className[256] = {};
    facts.className.assign(className, static_cast<size_t>(::GetClassNameW(w, className, 256)));
    ::GetWindowThreadProcessId(w, &facts.processId);
    return facts;
}

bool MayTouchWindow(HWND w) { return MayTouch(FactsOfWindow(w)); }

}  // namespace kz
