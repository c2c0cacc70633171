#include "kz/settings/Programkey.h"

#include "common/Handles.h"
#include "common/Protocol.h"

namespace kz {

bool WriteProgramValue(const wchar_t* name, DWORD type, const uint8_t* data, uint32_t size) {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_WRITE, key.put()) != ERROR_SUCCESS &&
        ::RegCreateKeyW(HKEY_CURRENT_USER, kRegistryKeyW, key.put()) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExW(key.get(), name, 0, type, data, size) == ERROR_SUCCESS;
}

}  // namespace kz
