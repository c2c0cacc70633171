#include "kz/core/Fileversion.h"

#include <windows.h>

#include <vector>

namespace kz {

std::wstring ReadFileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904E4\\FileVersion", &value, &length) || !value ||
        length == 0)
        return {};
    std::wstring version(static_cast<const wchar_t*>(value), length);
    version.resize(version.find(L'\0') == std::wstring::npos ? version.size() : version.find(L'\0'));
    return version;
}

}  // namespace kz
