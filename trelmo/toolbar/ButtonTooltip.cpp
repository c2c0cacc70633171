#include "trelmo/toolbar/ButtonTooltip.h"

#include "common/BindFunction.h"
#include "trelmo/menus/ButtonTexts.h"
#include "trelmo/hook/LibraryProcess.h"
#include "common/Protocol.h"

#include <commctrl.h>

namespace kz {

namespace {

// The tooltip class lives in the common controls, which most programs load
// anyway; the library loads them only when the first tooltip is wanted, and
// keeps them for the life of the process.
BOOL CALLBACK LoadCommonControls(PINIT_ONCE, PVOID, PVOID*) {
    const decltype(&::InitCommonControlsEx) init =
        BindFunction(::LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx");
    if (init) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        init(&classes);
    }
    return TRUE;
}

void EnsureCommonControls() {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    ::InitOnceExecuteOnce(&once, LoadCommonControls, nullptr, nullptr);
}

TTTOOLINFOW ToolOf(HWND owner) {
    TTTOOLINFOW tool{};
    // Version 5 of the control refuses the longer structure of version 6
    // (48 bytes); which version a program loads is its own choice.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    tool.hinst = Process().Module();
    return tool;
}

}  // namespace

ButtonTooltip::ButtonTooltip(HWND owner) : owner_(owner) {
    EnsureCommonControls();
    const HINSTANCE module = Process().Module();
    // The tooltip window is owned by no window: a topmost popup owned by the
    // window keeps the window itself from being made topmost under Wine,
    // which would break the on-top command. The toolbar destroys it.
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     module, nullptr));
    if (!tooltip_)
        return;
    ::SetWindowPos(tooltip_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    TTTOOLINFOW tool = ToolOf(owner);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    Tell(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    Tell(TTM_ACTIVATE, TRUE, 0);
}

// The tooltip was made on this thread, the thread of the window it names:
// a message to it is a plain call, never a wait for another thread, and it
// may carry pointers to this frame's records.
LRESULT ButtonTooltip::Tell(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(tooltip_.get(), message, wParam, lParam);
}

void ButtonTooltip::ShowKind(int kind) {
    if (kind == currentKind_ || !tooltip_)
        return;
    currentKind_ = kind;
    // Kinds without a command have no text: whatever was shown must go.
    if (kind <= 0 || kind > kOverflow) {
        Tell(TTM_POP, 0, 0);
        return;
    }
    POINT cursor{};
    RECT window{};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(owner_, &window);
    const POINT relative{cursor.x - window.left, cursor.y - window.top};

    TTTOOLINFOW tool = ToolOf(owner_);
    tool.lpszText = const_cast<wchar_t*>(ButtonKindText(kind));
    Tell(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));

    MSG move{};
    move.hwnd = owner_;
    move.message = WM_MOUSEMOVE;
    move.lParam = MAKELPARAM(relative.x, relative.y);
    move.pt = relative;
    Tell(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    Tell(TTM_POPUP, 0, 0);
}

}  // namespace kz
