#include "kz/core/Companion.h"

#include "kz/core/HookLibrary.h"
#include "kz/core/Programfolder.h"

#include <cwchar>
#include <vector>

namespace kz {

namespace {

// What the companion may take to remove its hook and repaint every frame
// before it is ended the hard way.
constexpr DWORD kEndTimeoutMs = 5000;

std::wstring HexOf(HWND window) {
    wchar_t text[24];
    std::swprintf(text, 24, L"%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// Until the host posts this thread the awaited message (true), asks the
// companion to end (WM_QUIT) or its process ends, whatever the reason (false).
bool WaitForHost(HANDLE hostProcess, UINT awaited) {
    for (;;) {
        if (::MsgWaitForMultipleObjects(1, &hostProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return false;
            if (awaited != 0 && message.message == awaited)
                return true;
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace

UINT CompanionReportMessage() { return ::RegisterWindowMessageW(L"QuorvaneSoftware.Barquill.CompanionReport"); }

UINT CompanionEndedMessage() { return ::RegisterWindowMessageW(L"QuorvaneSoftware.Barquill.CompanionEnded"); }

std::wstring CompanionProgramPath() { return ProgramFolder() + L"x86\\kz.exe"; }

ULONGLONG RestartBudget::WaitBeforeStart(ULONGLONG now) const {
    if (count_ < kStartsPerPeriod)
        return 0;
    const ULONGLONG allowedAt = starts_[next_] + kPeriodMs;
    return allowedAt > now ? allowedAt - now : 0;
}

void RestartBudget::Started(ULONGLONG now) {
    starts_[next_] = now;
    next_ = (next_ + 1) % kStartsPerPeriod;
    if (count_ < kStartsPerPeriod)
        ++count_;
}

CompanionProcess::CompanionProcess(HWND hostWindow, std::wstring program)
    : hostWindow_(hostWindow), program_(std::move(program)) {}

CompanionProcess::~CompanionProcess() { End(); }

bool CompanionProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool CompanionProcess::Start() {
    if (process_ || ::GetFileAttributesW(program_.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    const std::wstring commandLine = L"\"" + program_ + L"\" " + kCompanionSwitch + L" " + HexOf(hostWindow_);
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program_.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    budget_.Started(::GetTickCount64());
    // The pool's wait thread sleeps on the process: nothing wakes the host while it runs.
    if (!::RegisterWaitForSingleObject(&wait_, process_.get(), &CompanionProcess::ProcessEnded, this, INFINITE,
                                       WT_EXECUTEONLYONCE))
        wait_ = nullptr;
    return true;
}

void CompanionProcess::Reported(WPARAM report) {
    if (report == kCompanionHooked)
        everReady_ = true;
    else if (report == kCompanionWaiting && process_)
        ::PostThreadMessageW(threadId_, kCompanionGoMessage, 0, 0);
}

void CALLBACK CompanionProcess::ProcessEnded(void* context, BOOLEAN) noexcept {
    const auto* self = static_cast<const CompanionProcess*>(context);
    ::PostMessageW(self->hostWindow_, CompanionEndedMessage(), 0, 0);
}

void CompanionProcess::StopWatching() {
    // Waits for a callback under way: it only posts a message.
    if (wait_)
        ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
}

DWORD CompanionProcess::RestartDelay() {
    if (!process_ || Running())
        return INFINITE;
    StopWatching();
    process_.reset();
    if (!everReady_)
        return INFINITE;
    return static_cast<DWORD>(budget_.WaitBeforeStart(::GetTickCount64()));
}

void CompanionProcess::End() {
    if (!process_)
        return;
    StopWatching();
    // Refused while the companion's thread has no queue yet: it is still
    // starting, and has nothing to take down that its end does not.
    const bool asked = ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0) != FALSE;
    if (!asked || ::WaitForSingleObject(process_.get(), kEndTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), kEndTimeoutMs);
    }
    process_.reset();
}

int RunCompanion(HWND hostWindow) {
    DWORD hostProcessId = 0;
    if (!::GetWindowThreadProcessId(hostWindow, &hostProcessId))
        return 1;
    const UniqueKernelHandle hostProcess(::OpenProcess(SYNCHRONIZE, FALSE, hostProcessId));
    // The window outlived the opening: the process is the host's.
    if (!hostProcess || !::IsWindow(hostWindow))
        return 1;
    MSG message;
    // The queue the host posts its answers to.
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::PostMessageW(hostWindow, CompanionReportMessage(), kCompanionWaiting, 0);
    if (!WaitForHost(hostProcess.get(), kCompanionGoMessage))
        return 0;
    HookLibrary hook;
    if (hook.Install(hostWindow) != HookLibrary::InstallResult::Installed)
        return 1;
    ::PostMessageW(hostWindow, CompanionReportMessage(), kCompanionHooked, 0);
    WaitForHost(hostProcess.get(), 0);
    hook.Remove();
    return 0;
}

}  // namespace kz
