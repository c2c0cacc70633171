#include "trelmo/hook/HostMessages.h"

#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/LibraryProcess.h"
#include "common/Protocol.h"

#include <atomic>

namespace kz {

CommandRecord CommandForKind(int kind, HWND window) {
    const UINT message = CommandMessageOfKind(kind);
    if (message == 0)
        return {};
    const LPARAM argument = kind == kTransparencyToggle ? kTransparencyToggleArgument : 0;
    return {message, reinterpret_cast<WPARAM>(window), argument};
}

CommandRecord TransparencyCommand(HWND window, int percent) {
    return {HM_TRANSPARENCY, reinterpret_cast<WPARAM>(window), percent};
}

namespace {

// Per process: every thread of the program learns it from the first wait that failed.
std::atomic<bool> g_hostUnanswered{false};
std::atomic<bool> g_answerAwaited{false};

void CALLBACK HostAnswered(HWND, UINT, ULONG_PTR, LRESULT) {
    g_hostUnanswered.store(false);
    g_answerAwaited.store(false);
}

// Asks the host for the plainest answer there is; the system calls back on
// this thread when the host has handled it. The library is never unloaded
// while it has windows, so the callback always finds its code.
void AwaitHostAnswer(HWND host) {
    if (!g_answerAwaited.exchange(true) && !::SendMessageCallbackW(host, WM_NULL, 0, 0, &HostAnswered, 0))
        g_answerAwaited.store(false);
}

// Sends and waits for the limit at most; false, and the host marked as not
// answering, when it did not take the message in time.
bool SendWithinLimit(HWND host, const CommandRecord& command) {
    DWORD_PTR ignored = 0;
    if (::SendMessageTimeoutW(host, command.message, command.wParam, command.lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                              kHostAnswerTimeoutMs, &ignored))
        return true;
    if (::IsWindow(host)) {
        g_hostUnanswered.store(true);
        AwaitHostAnswer(host);
    }
    return false;
}

}  // namespace

bool SendCommand(const CommandRecord& command) {
    const HWND host = Process().HostWindow();
    if (command.message == 0 || !host)
        return false;
    if (g_hostUnanswered.load()) {
        AwaitHostAnswer(host);
        return false;
    }
    return SendWithinLimit(host, command);
}

void NotifyWindowGone(HWND window) {
    if (const HWND host = Process().HostWindow())
        ::SendNotifyMessageW(host, HM_WINDOW_GONE, reinterpret_cast<WPARAM>(window), 0);
}

void NotifyWindowSized(HWND window) {
    const HWND host = Process().HostWindow();
    if (!host)
        return;
    if (g_hostUnanswered.load()) {
        ::SendNotifyMessageW(host, HM_WINDOW_SIZED, reinterpret_cast<WPARAM>(window), 0);
        AwaitHostAnswer(host);
        return;
    }
    SendWithinLimit(host, {HM_WINDOW_SIZED, reinterpret_cast<WPARAM>(window), 0});
}

bool HostUnanswered() { return g_hostUnanswered.load(); }

void SendWindowCommand(HookedWindow& record, const CommandRecord& command) {
    if (command.message != HM_ROLL) {
        SendCommand(command);
        return;
    }
    // The host resizes the window while this thread waits; the WM_SIZE that
    // comes meanwhile must not be reported as a resize by hand. A roll the
    // host did not take leaves the window as it was.
    record.suppressSizeNotify = true;
    const bool rolledBefore = record.rolledUp;
    record.rolledUp = !rolledBefore;
    if (!SendCommand(command))
        record.rolledUp = rolledBefore;
    record.suppressSizeNotify = false;
}

void SendKindCommand(HookedWindow& record, int kind) {
    SendWindowCommand(record, CommandForKind(kind, record.Window()));
}

}  // namespace kz
