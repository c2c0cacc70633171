#include "kz/commands/Process.h"

#include <tlhelp32.h>

namespace kz {

namespace {

// A tool-help snapshot is closed with CloseHandle and is invalid as
// INVALID_HANDLE_VALUE, like a file.
UniqueFile TakeSnapshot(DWORD flags, DWORD processId) {
    return UniqueFile(::CreateToolhelp32Snapshot(flags, processId));
}

}  // namespace

std::wstring_view FileNamePart(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

bool SameFileName(std::wstring_view pathA, std::wstring_view pathB) {
    const std::wstring_view a = FileNamePart(pathA);
    const std::wstring_view b = FileNamePart(pathB);
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool TProcess::Open(DWORD processId) {
    id_ = processId;
    exeFile_.clear();
    // The limited right is enough to read the image path, and is granted
    // for processes of higher integrity; older systems know only the full one.
    handle_.reset(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!handle_)
        handle_.reset(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    imagePath_ = ReadImagePath();
    if (!imagePath_.empty()) {
        exeFile_ = FileNamePart(imagePath_);
        return true;
    }
    // The system's list of processes names the executable of any process,
    // but walking it costs more than asking the process.
    UniqueFile snapshot = TakeSnapshot(TH32CS_SNAPPROCESS, 0);
    if (!snapshot)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            exeFile_ = entry.szExeFile;
            return true;
        }
    }
    return false;
}

std::wstring TProcess::GetModulePath() const {
    if (exeFile_.empty())
        return {};
    // Both views, so that a 32-bit program's own module is listed to a 64-bit host.
    UniqueFile snapshot = TakeSnapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, id_);
    if (!snapshot)
        return {};
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32FirstW(snapshot.get(), &module); more; more = ::Module32NextW(snapshot.get(), &module))
        if (SameFileName(module.szExePath, exeFile_))
            return module.szExePath;
    return {};
}

std::wstring TProcess::ReadImagePath() const {
    if (!handle_)
        return {};
    wchar_t path[MAX_PATH * 2];
    DWORD length = ARRAYSIZE(path);
    if (!::QueryFullProcessImageNameW(handle_.get(), 0, path, &length))
        return {};
    return std::wstring(path, length);
}

std::wstring TProcess::ProgramPath() const {
    std::wstring path = GetModulePath();
    if (path.empty())
        path = imagePath_;
    return path.empty() ? exeFile_ : path;
}

std::wstring ProgramPathOfWindow(HWND w) {
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(w, &processId))
        return {};
    TProcess process;
    return process.Open(processId) ? process.ProgramPath() : std::wstring();
}

}  // namespace kz
