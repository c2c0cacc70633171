// The start-up entry: the value "Quorvane Barquill" under the Run key, which
// starts the host when the user logs on. It is kept in the current user's Run
// key, which every user may write; a value left in the machine-wide key by an
// older installation is removed where the user may do so.
#pragma once

#include <string>

namespace kz {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kStartupValueName[] = L"Quorvane Barquill";

// Writes the program's path as the current user's start-up value and flushes
// the key; false when the registry refused it.
bool WriteStartupEntry(const std::wstring& programPath);
// Whether the current user's start-up value is there: the options dialog, the
// setup program or the user (in the system's list of start-up programs) may
// have set or removed it.
bool StartupEntryExists();
// Deletes the start-up value of the current user and, where allowed, of the
// machine. A missing value or key is not an error; false only when the
// current user's value exists and could not be deleted.
bool DeleteStartupEntry();

}  // namespace kz
