// Decides once per process whether the library works there at all.
// Pure code over characters.
#pragma once

#include <cstddef>
#include <string>

namespace kz {

struct ProcessFilterResult {
    bool enabled = false;       // the library may attach windows in this process
    bool isSkypeProcess = false;
};

// path: the process's executable path as GetModuleFileNameW gave it.
ProcessFilterResult FilterProcess(const wchar_t* path, std::size_t length);

// Lower-cases with towlower, character by character.
std::wstring LowerCase(const wchar_t* text, std::size_t length);

}  // namespace kz
