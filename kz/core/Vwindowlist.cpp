#include "kz/core/Vwindowlist.h"

namespace kz {

bool BelongsInWindowList(const TopLevelWindowFacts& facts, const HostWindows& host) {
    const auto ownedBy = [&facts](HWND hostWindow) { return hostWindow && facts.owner == hostWindow; };
    return facts.visible && facts.window != host.mainWindow && !ownedBy(host.mainWindow) &&
           !ownedBy(host.mainOwner) && (facts.style & WS_CAPTION) != 0 &&
           (facts.style & WS_SYSMENU) != 0 && (facts.exStyle & WS_EX_TOOLWINDOW) == 0;
}

namespace {

struct Collection {
    std::vector<HWND>* list;
    HostWindows host;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept {
    auto& collection = *reinterpret_cast<Collection*>(context);
    TopLevelWindowFacts facts;
    facts.window = window;
    facts.owner = ::GetWindow(window, GW_OWNER);
    facts.visible = ::IsWindowVisible(window) != FALSE;
    facts.style = ::GetWindowLongPtrW(window, GWL_STYLE);
    facts.exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    try {
        if (BelongsInWindowList(facts, collection.host))
            collection.list->push_back(window);
    } catch (...) {
        return FALSE;  // out of memory: the list keeps what it has
    }
    return TRUE;
}

}  // namespace

void CollectTopLevelWindows(std::vector<HWND>& list, HWND mainWindow) {
    list.clear();
    Collection collection{&list, {mainWindow, mainWindow ? ::GetWindow(mainWindow, GW_OWNER) : nullptr}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&collection));
}

}  // namespace kz
