// Test support for the end-to-end layer: programs in processes of their own,
// the target program and the questions its windows answer.
#pragma once

#include "common/Launch.h"
#include "tests/support/TargetQuery.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace kz::test {

// The directory of the running test program, where the binaries lie.
std::wstring BinaryDirectory();
std::wstring Quoted(const std::wstring& text);

// Waits for a process to end, pumping messages meanwhile; its exit code when asked.
bool WaitForExit(HANDLE process, std::chrono::milliseconds timeout, DWORD* exitCode = nullptr);

// A program running in another process, started with the given current
// directory; ended the hard way when the object goes and it still runs, so
// that no test leaves a program behind.
class ChildProgram {
public:
    // windows: how many visible top-level windows of the class it shows once
    // ready; any captioned window counts when no class is named.
    explicit ChildProgram(const std::wstring& commandLine, const std::wstring& directory = L"",
                          std::size_t windows = 1, const wchar_t* windowClass = nullptr);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool Started() const { return static_cast<bool>(program_.process); }
    bool Running() const;
    HANDLE Process() const { return program_.process.get(); }
    DWORD ProcessId() const { return program_.processId; }

    // Waits until the program shows all its windows; false when they do not all appear.
    bool WaitForWindows();
    // Waits for its windows; the first, or null.
    HWND WaitForWindow();
    const std::vector<HWND>& Windows() const { return windows_; }
    // The first of its windows; null until they came.
    HWND Window() const { return windows_.empty() ? nullptr : windows_.front(); }
    // Asks the first window to close and waits for the process to end.
    bool Close();
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr) const;
    // Ends the program the hard way, as a crash would.
    void Kill();

private:
    LaunchedProgram program_;
    std::size_t expectedWindows_;
    const wchar_t* windowClass_;
    std::vector<HWND> windows_;
};

std::wstring TargetProgramPath();
// The i686 kz_target.exe, a 32-bit program. It lies in the x86 folder beside
// the binaries with the companion, which is placed there only where the
// machine runs 32-bit programs.
std::wstring TargetProgram32Path();
// Whether that folder is there; a test that needs a 32-bit program skips itself without it.
bool ThirtyTwoBitProgramsRun();

// The windows of a target program: their titles (numbered when many), their
// number, the place and size of the first and the step to the next; whether
// they draw their own caption, and whether they ask for dark captions.
struct TargetLayout {
    std::wstring title = L"Target";
    int count = 1;
    POINT at{40, 40};
    SIZE size{560, 260};
    SIZE step{24, 24};
    bool ownCaption = false;
    bool darkCaption = false;
};

// kz_target.exe (or a copy of it) with its windows laid out as asked.
class TargetProgram : public ChildProgram {
public:
    using Layout = TargetLayout;
    explicit TargetProgram(const Layout& layout = {}, const std::wstring& program = TargetProgramPath());
};

// A copy of a program under another file name, in a folder of its own;
// removed with the object.
class ProgramCopy {
public:
    ProgramCopy(const std::wstring& program, const std::wstring& fileName);
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    bool Made() const { return made_; }
    const std::wstring& Folder() const { return folder_; }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring folder_;
    std::wstring path_;
    bool made_ = false;
};

// Asks a target program's window a question (see TargetQuery.h); -1 when it does not answer.
LRESULT AskTarget(HWND window, WPARAM question, LPARAM argument = 0);
// Whether a target window reports that its window procedure lies in trelmo.dll.
bool Attached(HWND window);
bool WaitUntilAttached(const std::vector<HWND>& windows, bool attached,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace kz::test
