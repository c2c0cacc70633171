// Test support: runs the hook library's code inside the test program, with a
// recording host window as the host, and attaches windows by calling the
// hook procedure the way the system does after a window procedure returns.
#pragma once

#include "trelmo/hook/LibraryProcess.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

namespace kz::test {

class LibraryInProcess {
public:
    // installer: the handlers each attached window gets (the real ones by default).
    explicit LibraryInProcess(HandlerInstaller installer = InstallStandardHandlers);
    // Lets go of every attached window, as an unload does.
    ~LibraryInProcess();
    LibraryInProcess(const LibraryInProcess&) = delete;
    LibraryInProcess& operator=(const LibraryInProcess&) = delete;

    RecordingHost& Host() { return host_; }
    // The host window this session's host stores in the shared section: a
    // test clears it as the host does at exit.
    void SetHostWindow(HWND window);
    // Passes one finished message to the hook procedure; returns its result.
    LRESULT CallHook(HWND window, UINT message);
    // What the hook does at a window's first non-client paint.
    void Attach(HWND window) { CallHook(window, WM_NCPAINT); }
    bool IsAttached(HWND window) { return Process().FindRecord(window) != nullptr; }

private:
    RecordingHost host_;
    volatile SharedSection shared_{};
};

}  // namespace kz::test
