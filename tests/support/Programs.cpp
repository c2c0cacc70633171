#include "tests/support/Programs.h"

#include "tests/support/TestWindows.h"

namespace kz::test {

namespace {

LaunchedProgram StartProgram(const std::wstring& commandLine, const std::wstring& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    LaunchedProgram launched;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        launched.process.reset(info.hProcess);
        launched.processId = info.dwProcessId;
    }
    return launched;
}

bool Captioned(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

std::wstring Pair(LONG first, LONG second) { return std::to_wstring(first) + L"," + std::to_wstring(second); }

std::wstring CommandLineOf(const TargetProgram::Layout& layout, const std::wstring& program) {
    return Quoted(program) + L" --count " + std::to_wstring(layout.count) + L" --at " + Pair(layout.at.x, layout.at.y) +
           L" --size " + Pair(layout.size.cx, layout.size.cy) + L" --step " + Pair(layout.step.cx, layout.step.cy) +
           L" --title " + Quoted(layout.title) + (layout.ownCaption ? L" --own-caption" : L"") +
           (layout.darkCaption ? L" --dark" : L"");
}

}  // namespace

std::wstring BinaryDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool WaitForExit(HANDLE process, std::chrono::milliseconds timeout, DWORD* exitCode) {
    const bool ended = WaitUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeout);
    if (ended && exitCode)
        ::GetExitCodeProcess(process, exitCode);
    return ended;
}

ChildProgram::ChildProgram(const std::wstring& commandLine, const std::wstring& directory, std::size_t windows,
                           const wchar_t* windowClass)
    : program_(StartProgram(commandLine, directory)), expectedWindows_(windows), windowClass_(windowClass) {}

ChildProgram::~ChildProgram() {
    if (!Running())
        return;
    ::TerminateProcess(program_.process.get(), 1);
    ::WaitForSingleObject(program_.process.get(), 10000);
}

bool ChildProgram::Running() const {
    return program_.process && ::WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT;
}

bool ChildProgram::WaitForWindows() {
    if (!program_.process)
        return false;
    return WaitUntil(
        [this] {
            std::vector<HWND> shown;
            for (HWND window : WindowsOfProcess(program_.processId, windowClass_))
                if (::IsWindowVisible(window) && (windowClass_ || Captioned(window)))
                    shown.push_back(window);
            if (shown.size() < expectedWindows_)
                return false;
            windows_ = shown;
            return true;
        },
        std::chrono::seconds(30));
}

HWND ChildProgram::WaitForWindow() { return WaitForWindows() ? Window() : nullptr; }

bool ChildProgram::Close() {
    if (!program_.process)
        return false;
    if (Window())
        ::PostMessageW(Window(), WM_CLOSE, 0, 0);
    return WaitForExit(std::chrono::seconds(20));
}

bool ChildProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
    return program_.process && test::WaitForExit(program_.process.get(), timeout, exitCode);
}

void ChildProgram::Kill() {
    if (!Running())
        return;
    ::TerminateProcess(program_.process.get(), 99);
    WaitForExit(std::chrono::seconds(20));
}

std::wstring TargetProgramPath() { return BinaryDirectory() + L"\\" + kTargetProgramFile; }

std::wstring TargetProgram32Path() { return BinaryDirectory() + L"\\x86\\" + kTargetProgramFile; }

bool ThirtyTwoBitProgramsRun() {
    return ::GetFileAttributesW(TargetProgram32Path().c_str()) != INVALID_FILE_ATTRIBUTES;
}

TargetProgram::TargetProgram(const Layout& layout, const std::wstring& program)
    : ChildProgram(CommandLineOf(layout, program), L"", static_cast<std::size_t>(layout.count), kTargetWindowClass) {}

ProgramCopy::ProgramCopy(const std::wstring& program, const std::wstring& fileName) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"kz_copy_" + std::to_wstring(::GetCurrentProcessId());
    path_ = folder_ + L"\\" + fileName;
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    made_ = ::CopyFileW(program.c_str(), path_.c_str(), FALSE) != FALSE;
}

ProgramCopy::~ProgramCopy() {
    ::DeleteFileW(path_.c_str());
    ::RemoveDirectoryW(folder_.c_str());
}

LRESULT AskTarget(HWND window, WPARAM question, LPARAM argument) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, TargetQueryMessage(), question, argument, SMTO_NORMAL, 10000, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

bool Attached(HWND window) { return AskTarget(window, kAskAttached) == 1; }

bool WaitUntilAttached(const std::vector<HWND>& windows, bool attached, std::chrono::milliseconds timeout) {
    std::size_t done = 0;  // windows already seen in the wanted state stay counted
    return WaitUntil(
        [&] {
            while (done < windows.size() && Attached(windows[done]) == attached)
                ++done;
            return done == windows.size();
        },
        timeout);
}

}  // namespace kz::test
