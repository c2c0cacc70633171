// The program a window belongs to: one process, found by its id, and the
// full path of its executable.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace kz {

// The file-name part of a path: what follows its last backslash, slash or colon.
std::wstring_view FileNamePart(std::wstring_view path);

// Whether two paths name the same file name, without regard to letter case.
bool SameFileName(std::wstring_view pathA, std::wstring_view pathB);

class TProcess {
public:
    TProcess() = default;
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    // Opens the process with the least access that reads its image path, so
    // that processes of elevated programs are opened too, and reads the path;
    // when that fails, finds the executable's name in a snapshot of the
    // system's processes. False when the process is not found either way.
    bool Open(DWORD processId);

    // The full path of the process's executable: the module whose file name
    // is the executable's, else the image path the system reports, else the
    // executable's name alone. Empty when the process was not opened.
    std::wstring ProgramPath() const;

    // The module of the process whose file name matches the executable's name;
    // empty when none does or the modules cannot be listed.
    std::wstring GetModulePath() const;

    // The image path of the opened process; empty when it cannot be read.
    const std::wstring& GetImagePath() const { return imagePath_; }

    const std::wstring& ExeFile() const { return exeFile_; }

private:
    std::wstring ReadImagePath() const;

    DWORD id_ = 0;
    UniqueKernelHandle handle_;
    std::wstring imagePath_;
    std::wstring exeFile_;
};

// The program path of the process that owns window w; empty when the
// process cannot be found.
std::wstring ProgramPathOfWindow(HWND w);

}  // namespace kz
