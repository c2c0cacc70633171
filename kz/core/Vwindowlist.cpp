#include "kz/core/Vwindowlist.h"

#include "common/Handles.h"

#include <algorithm>
#include <map>

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

namespace {

// Under WOW64: a 32-bit program on 64-bit Windows. Nothing runs under it on
// 32-bit Windows, where every program is of one bitness.
bool RunsUnderWow64(HANDLE process, bool& known) {
    BOOL wow64 = FALSE;
    known = ::IsWow64Process(process, &wow64) != FALSE;
    return wow64 != FALSE;
}

}  // namespace

void CollectWindowsOfOwnBitness(std::vector<HWND>& list, HWND mainWindow) {
    CollectTopLevelWindows(list, mainWindow);
    bool ownKnown = false;
    const bool ownWow64 = RunsUnderWow64(::GetCurrentProcess(), ownKnown);
    std::map<DWORD, bool> reachable;  // by process
    const auto otherBitness = [&](HWND window) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        const auto known = reachable.find(processId);
        if (known != reachable.end())
            return !known->second;
        const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        bool answered = false;
        const bool wow64 = process && RunsUnderWow64(process.get(), answered);
        const bool same = !ownKnown || !answered || wow64 == ownWow64;
        reachable.emplace(processId, same);
        return !same;
    };
    list.erase(std::remove_if(list.begin(), list.end(), otherBitness), list.end());
}

}  // namespace kz
