// The running program's file and folder, where its library and help file lie.
#pragma once

#include <string>

namespace kz {

// The full path of the running executable.
std::wstring ProgramPath();
// The folder of the running executable, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace kz
