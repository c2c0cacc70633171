// Starting another program.
#pragma once

#include "common/Handles.h"

#include <string>
#include <vector>

namespace kz {

struct LaunchedProgram {
    UniqueKernelHandle process;  // null when the program could not be started
    DWORD processId = 0;
};

namespace detail {
struct ProgramWindowSearch {
    DWORD processId;
    HWND found;
};

inline BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProgramWindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    if (owner != search->processId || !::IsWindowVisible(window) || (style & WS_CAPTION) != WS_CAPTION)
        return TRUE;
    search->found = window;
    return FALSE;
}
}  // namespace detail

// The first visible captioned top-level window of a process; null when it has none yet.
inline HWND FindProgramWindow(DWORD processId) {
    detail::ProgramWindowSearch search{processId, nullptr};
    ::EnumWindows(&detail::MatchProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline LaunchedProgram LaunchProgram(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    LaunchedProgram launched;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ::CloseHandle(info.hThread);
        launched.process.reset(info.hProcess);
        launched.processId = info.dwProcessId;
    }
    return launched;
}

}  // namespace kz
