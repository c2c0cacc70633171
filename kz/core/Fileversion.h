// The version the program's own version resource names.
#pragma once

#include <string>

namespace kz {

// The "FileVersion" string of the block 040904E4 of a file's version
// resource; empty when the file has none.
std::wstring ReadFileVersion(const std::wstring& path);

}  // namespace kz
