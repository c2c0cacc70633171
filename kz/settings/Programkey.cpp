#include "kz/settings/Programkey.h"

#include "common/Handles.h"
#include "common/Protocol.h"

namespace kz {

std::optional<uint32_t> ReadProgramValue(const char* name, uint8_t* buffer, uint32_t capacity) {
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKeyA, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD size = capacity;
    if (::RegQueryValueExA(key.get(), name, nullptr, nullptr, buffer, &size) != ERROR_SUCCESS ||
        size > capacity)
        return std::nullopt;
    return size;
}

bool WriteProgramValue(const char* name, DWORD type, const uint8_t* data, uint32_t size) {
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKeyA, 0, KEY_WRITE, key.put()) != ERROR_SUCCESS &&
        ::RegCreateKeyA(HKEY_CURRENT_USER, kRegistryKeyA, key.put()) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), name, 0, type, data, size) == ERROR_SUCCESS;
}

}  // namespace kz
