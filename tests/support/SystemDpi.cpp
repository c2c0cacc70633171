#include "tests/support/SystemDpi.h"

#include "common/Handles.h"

namespace kz::test {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

UniqueKey OpenDesktopKey() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return UniqueKey();
    return UniqueKey(key);
}

}  // namespace

ScopedLogPixels::ScopedLogPixels(DWORD dpi) : dpi_(dpi) {
    const UniqueKey key = OpenDesktopKey();
    if (!key)
        return;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key.get(), kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        former_ = value;
    ::RegSetValueExW(key.get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi_), sizeof dpi_);
}

ScopedLogPixels::~ScopedLogPixels() {
    const UniqueKey key = OpenDesktopKey();
    if (!key)
        return;
    if (former_)
        ::RegSetValueExW(key.get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*former_),
                         sizeof *former_);
    else
        ::RegDeleteValueW(key.get(), kLogPixels);
}

}  // namespace kz::test
