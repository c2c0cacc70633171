// The rule of the stored blacklist that needs no Windows: the name an entry is
// shown by. Pure code over characters, so that it also builds natively for the
// fuzz tests.
#pragma once

#include <string>

namespace kz {

// The file name of path without its extension: the text after the last
// backslash or colon, cut before its last full stop (whole when it has none).
std::wstring BlacklistDisplayName(const std::wstring& path);

}  // namespace kz
