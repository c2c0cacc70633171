// Starting another program.
#pragma once

#include "Handles.h"

#include <string>
#include <vector>

namespace kz {

struct LaunchedProgram {
    UniqueKernelHandle process;  // null when the program could not be started
    DWORD processId = 0;
};

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
