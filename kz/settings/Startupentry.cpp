#include "kz/settings/Startupentry.h"

#include "common/Handles.h"

#include <windows.h>

namespace kz {

namespace {

bool DeleteValue(HKEY root) {
    UniqueKey key;
    if (::RegOpenKeyExW(root, kRunKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return true;
    const LSTATUS status = ::RegDeleteValueW(key.get(), kStartupValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool WriteStartupEntry(const std::wstring& programPath) {
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((programPath.size() + 1) * sizeof(wchar_t));
    const bool written = ::RegSetValueExW(key.get(), kStartupValueName, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(programPath.c_str()), bytes) == ERROR_SUCCESS;
    // Flushed at once: the entry must survive a session that ends abruptly.
    ::RegFlushKey(key.get());
    return written;
}

bool StartupEntryExists() {
    constexpr DWORD kAnyString = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kStartupValueName, kAnyString, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool DeleteStartupEntry() {
    // The machine-wide value needs rights most users lack: failing there is silent.
    DeleteValue(HKEY_LOCAL_MACHINE);
    return DeleteValue(HKEY_CURRENT_USER);
}

}  // namespace kz
