// One attached window: its subclassing, its handlers and its settings.
#pragma once

#include "trelmo/hook/GrowableArray.h"
#include "common/LibrarySettings.h"
#include "trelmo/hook/WindowHandler.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class CaptionToolBar;

class HookedWindow {
public:
    HookedWindow(HWND window, const LibrarySettings& settings);
    ~HookedWindow();
    HookedWindow(const HookedWindow&) = delete;
    HookedWindow& operator=(const HookedWindow&) = delete;

    HWND Window() const { return window_; }
    const LibrarySettings& Settings() const { return settings_; }
    CaptionToolBar* Toolbar() const { return toolbar_; }
    std::size_t HandlerCount() const { return handlers_.Count(); }

    void AddHandler(std::unique_ptr<WindowHandler> handler);
    // Appends the toolbar as a handler and remembers it as the window's toolbar.
    void AddToolbar(std::unique_ptr<CaptionToolBar> toolbar);

    // Puts the library's procedure in place, remembering the window's own.
    void Subclass();
    // Restores the window's own procedure when it is still the library's, else
    // keeps what the library's procedure needs to pass the window's messages
    // on; destroys the handlers.
    void Detach();
    // Destroys the handlers, reads the settings again and installs new
    // handlers; a process that is now blacklisted lets go of the window.
    void Rebuild();
    // Installs the system-menu extension and the toolbar; a failure leaves
    // the window with fewer handlers, never a broken one.
    void InstallHandlers();

    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    // Offers a message to the handlers, then to the window's own procedure.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    bool suppressSizeNotify = false;  // set while the library itself rolls the window
    bool rolledUp = false;            // the roll-up state as the library last toggled it

private:
    friend class DispatchScope;
    friend void ReleaseWindow(HWND window);
    void DestroyHandlers();

    HWND window_;
    WNDPROC previous_ = nullptr;
    GrowableArray<std::unique_ptr<WindowHandler>> handlers_{2};
    CaptionToolBar* toolbar_ = nullptr;
    LibrarySettings settings_;

    // A message may arrive while another message of the window is still being
    // dispatched (a window closed from its own WM_CLOSE is destroyed inside
    // it). Handlers and the record itself then outlive the inner message until
    // the outermost dispatch has unwound.
    int dispatchDepth_ = 0;
    unsigned handlerGeneration_ = 0;
    bool rebuildPending_ = false;
    bool orphaned_ = false;  // taken out of the registry; freed when dispatch unwinds
    std::vector<std::unique_ptr<WindowHandler>> retired_;
};

// Holds a record alive for the length of one message.
class DispatchScope {
public:
    explicit DispatchScope(HookedWindow& record) : record_(record) { ++record_.dispatchDepth_; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
    ~DispatchScope();

private:
    HookedWindow& record_;
};

// Takes the window's record out of the registry, lets go of the window and
// frees the record (at once, or when its window's dispatch unwinds), then
// tells the host if there still is one. Nothing when the window has no record.
void ReleaseWindow(HWND window);

// The window procedure of every attached window.
LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace kz
