// The help launcher: opens the help file, a page of it, or a web address
// through the shell.
#pragma once

#include <optional>
#include <string>

namespace kz {

constexpr wchar_t kHelpFileName[] = L"KZ.chm";

// The help file: in the program's folder, else in the current directory;
// nothing when neither has it.
std::optional<std::wstring> FindHelpFile();

// Opens the help file; tells the user where to get it when it is missing.
void ShowHelp();
// Opens one page of the help file (its path inside the file) in the viewer.
void ShowHelpTopic(const std::wstring& topic);
// Opens an address with the shell verb "open". False only when the shell
// reported nothing at all (0); its error codes count as opened.
bool OpenUrl(const std::wstring& address, int showCommand);

}  // namespace kz
