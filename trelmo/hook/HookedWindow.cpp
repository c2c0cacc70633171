#include "trelmo/hook/HookedWindow.h"

#include "trelmo/toolbar/CaptionToolBar.h"
#include "trelmo/hook/HostMessages.h"
#include "trelmo/hook/LibraryProcess.h"
#include "common/Protocol.h"
#include "trelmo/hook/SettingsReader.h"

namespace kz {

namespace {

bool EndsAttachment(UINT message) {
    return message == WM_DESTROY || message == WM_QUIT || message == WM_NCDESTROY;
}

// The messages at which the library looks at what may have changed around
// the window: whether the host window still exists (for a window of another
// process a call into the server) and whether another procedure now sits over
// the library's. They come often enough to notice either soon, and far less
// often than the mouse moves and hit tests that make up most of the traffic.
bool IsCheckpoint(UINT message) {
    switch (message) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_SYSCOMMAND:
    case WM_WINDOWPOSCHANGED:
        return true;
    default:
        return false;
    }
}

// One read of the shared section per message. The host clears its window at
// exit; then nobody is left to carry out a button's command.
bool HostGone(UINT message) {
    const HWND host = Process().HostWindow();
    return !host || (IsCheckpoint(message) && !::IsWindow(host));
}

// A window the library let go of without being able to take its procedure
// out of the chain: every message goes on as if the library had never been there.
LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LibraryProcess& process = Process();
    const WNDPROC previous = process.KeptPrevious(window);
    if (!previous)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        process.ForgetKept(window);
    return result;
}

bool IsOurProcedure(HWND window) {
    return ::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProcedure);
}

// After these the look or the settings may have changed: the handlers are built anew.
bool IsSystemChange(UINT message) {
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_DWMCOMPOSITIONCHANGED:
    case WM_DWMNCRENDERINGCHANGED:
    case WM_DWMCOLORIZATIONCOLORCHANGED:
    case WM_DWMWINDOWMAXIMIZEDCHANGE:
        return true;
    default:
        return false;
    }
}

// A swallowed mouse-button or system command answers 0 whatever the handler returned.
bool AnswersZeroWhenSwallowed(UINT message) {
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_SYSCOMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return true;
    default:
        return false;
    }
}

}  // namespace

HookedWindow::HookedWindow(HWND window, const LibrarySettings& settings)
    : window_(window), settings_(settings) {}

HookedWindow::~HookedWindow() = default;

void HookedWindow::AddHandler(std::unique_ptr<WindowHandler> handler) {
    handlers_.Append(std::move(handler));
}

void HookedWindow::AddToolbar(std::unique_ptr<CaptionToolBar> toolbar) {
    CaptionToolBar* raw = toolbar.get();
    handlers_.Append(std::move(toolbar));
    toolbar_ = raw;
}

void HookedWindow::Subclass() {
    Process().PinModule();
    previous_ = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure));
}

void HookedWindow::DestroyHandlers() {
    toolbar_ = nullptr;
    ++handlerGeneration_;
    std::vector<std::unique_ptr<WindowHandler>> handlers = handlers_.TakeAll();
    if (dispatchDepth_ > 0) {
        // A message of this window is still being offered to them.
        for (auto& handler : handlers)
            retired_.push_back(std::move(handler));
        return;
    }
    for (auto& handler : handlers)
        handler.reset();  // in array order: the system menu before the toolbar
}

void HookedWindow::Detach() {
    if (IsOurProcedure(window_))
        ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    else if (::IsWindow(window_))
        Process().KeepPassingOn(window_, previous_);
    DestroyHandlers();
}

void HookedWindow::Rebuild() {
    if (dispatchDepth_ > 0) {
        // The old handlers must be gone before new ones touch the window
        // (the system menu is reset by the old one and extended by the new one).
        rebuildPending_ = true;
        return;
    }
    DestroyHandlers();
    try {
        settings_ = ReadSettings();
    } catch (...) {
        SetLibraryDefaults(settings_);
    }
    // Reading the settings read the blacklist too: a program just listed
    // keeps nothing of the library. This frees the record.
    if (Process().ProcessBlacklisted()) {
        ReleaseWindow(window_);
        return;
    }
    InstallHandlers();
}

void HookedWindow::InstallHandlers() {
    try {
        Process().installHandlers(*this);
    } catch (...) {
        // A window without buttons is better than a broken one.
    }
}

LRESULT HookedWindow::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return previous_ ? ::CallWindowProcW(previous_, window_, message, wParam, lParam)
                     : ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT HookedWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    WPARAM w = wParam;
    LPARAM l = lParam;
    LRESULT handled = 0;
    const unsigned generation = handlerGeneration_;
    try {
        for (std::size_t i = 0; i < handlers_.Count() && generation == handlerGeneration_; ++i)
            handled |= handlers_[i]->OnMessage(message, &w, &l);
    } catch (...) {
        handled = 0;
    }
    if (handled != 0)
        return AnswersZeroWhenSwallowed(message) ? 0 : handled;

    const LRESULT result = CallPrevious(message, w, l);
    const unsigned afterGeneration = handlerGeneration_;
    for (std::size_t i = 0; i < handlers_.Count() && afterGeneration == handlerGeneration_; ++i) {
        try {
            handlers_[i]->AfterMessage(message, wParam, lParam);
        } catch (...) {
        }
    }
    return result;
}

DispatchScope::~DispatchScope() {
    if (--record_.dispatchDepth_ > 0)
        return;
    record_.retired_.clear();
    if (record_.orphaned_) {
        delete &record_;
        return;
    }
    if (record_.rebuildPending_) {
        record_.rebuildPending_ = false;
        try {
            record_.Rebuild();
        } catch (...) {
        }
    }
}

void ReleaseWindow(HWND window) {
    std::unique_ptr<HookedWindow> record;
    {
        Lock lock(Process().RegistryLock());
        record = Process().Registry().Remove(window);
    }
    if (!record)
        return;
    try {
        record->Detach();
    } catch (...) {
    }
    if (record->dispatchDepth_ > 0)
        record.release()->orphaned_ = true;  // freed by the outermost DispatchScope
    else
        record.reset();
    if (Process().HostPresent())
        NotifyWindowGone(window);
}

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        LibraryProcess& process = Process();
        HookedWindow* record = process.FindRecord(window);
        if (!record)
            return PassOn(window, message, wParam, lParam);
        DispatchScope scope(*record);

        if (EndsAttachment(message)) {
            const LRESULT result = record->CallPrevious(message, wParam, lParam);
            ReleaseWindow(window);
            if (message == WM_NCDESTROY)
                process.ForgetKept(window);  // its last message: nothing more to pass on
            return result;
        }
        if (HostGone(message)) {
            ReleaseWindow(window);  // the record lives on until the scope ends
            return record->CallPrevious(message, wParam, lParam);
        }
        if (IsSystemChange(message)) {
            const LRESULT result = record->CallPrevious(message, wParam, lParam);
            record->Rebuild();
            return result;
        }
        if (message == WM_SIZE && !record->suppressSizeNotify) {
            NotifyWindowSized(window);
            record->rolledUp = false;
        }
        return record->Dispatch(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace kz
