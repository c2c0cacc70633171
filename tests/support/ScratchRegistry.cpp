#include "tests/support/ScratchRegistry.h"

#include "common/Handles.h"
#include "common/Protocol.h"

namespace kz::test {

ScratchRegistry::ScratchRegistry()
    : path_("Software\\KzTests\\Scratch" + std::to_string(::GetCurrentProcessId())) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch_,
                      nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, scratch_);
}

ScratchRegistry::~ScratchRegistry() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegCloseKey(scratch_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchRegistry::SetValue(const char* name, const std::vector<uint8_t>& bytes, DWORD type) {
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKeyA, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(key);
}

void ScratchRegistry::SetSettingsValue(const std::vector<uint8_t>& bytes) {
    SetValue(kSettingsValueA, bytes, REG_BINARY);
}

void ScratchRegistry::StoreSettings(const SettingsRecord& settings) {
    std::vector<uint8_t> bytes(kLongestSettingsBytes);
    bytes.resize(static_cast<std::size_t>(EncodeSettings(settings, bytes.data())));
    SetSettingsValue(bytes);
}

void ScratchRegistry::SetBlacklistValue(const std::vector<uint8_t>& bytes, DWORD type) {
    SetValue(kBlacklistValueA, bytes, type);
}

void ScratchRegistry::DeleteValues() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kRegistryKeyA); }

std::vector<uint8_t> ScratchRegistry::ReadValue(const char* name) const {
    std::vector<uint8_t> bytes(8192);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (::RegGetValueA(HKEY_CURRENT_USER, kRegistryKeyA, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, bytes.data(),
                       &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> ScratchRegistry::ReadStoredBytes(const wchar_t* name) const {
    // RegQueryValueExW hands strings over as stored; RegGetValue would add
    // missing terminators.
    UniqueKey key;
    DWORD size = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<uint8_t> bytes(size);
    if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

}  // namespace kz::test
