// Test support: redirects this process's HKEY_CURRENT_USER to a scratch key,
// so that tests never touch the user's own values, and removes it afterwards.
#pragma once

#include "common/Settingsformat.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kz::test {

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Writes or deletes values of the program's key (under the redirected HKCU).
    void SetSettingsValue(const std::vector<uint8_t>& bytes);
    // The settings value of a record, encoded as the host stores it.
    void StoreSettings(const SettingsRecord& settings);
    void SetBlacklistValue(const std::vector<uint8_t>& bytes, DWORD type = REG_MULTI_SZ);
    void DeleteValues();
    // The bytes of a value of the program's key as the 8-bit registry
    // functions return them (a string in the code page); empty when absent.
    std::vector<uint8_t> ReadValue(const char* name) const;
    // The bytes of a value exactly as they are stored, whatever their number;
    // empty when absent.
    std::vector<uint8_t> ReadStoredBytes(const wchar_t* name) const;

private:
    void SetValue(const char* name, const std::vector<uint8_t>& bytes, DWORD type);
    std::string path_;
    HKEY scratch_ = nullptr;
};

}  // namespace kz::test
