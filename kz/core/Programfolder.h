// The folder of the running program, where its library and help file lie.
#pragma once

#include <string>

namespace kz {

// The folder of the running executable, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace kz
