#include "trelmo/hook/SettingsReader.h"

#include "common/Protocol.h"
#include "common/RegistryValue.h"
#include "trelmo/hook/LibraryProcess.h"
#include "trelmo/hook/ProcessFilter.h"

#include <windows.h>

namespace kz {

LibrarySettings ReadSettings() {
    BYTE buffer[kSettingsValueMaxBytes];
    const auto size = ReadProgramValue(kSettingsValueW, buffer, sizeof buffer);
    LibrarySettings settings =
        DecodeLibrarySettings(size ? buffer : nullptr, size ? static_cast<int32_t>(*size) : 0);
    Process().RefreshBlacklisted();
    return settings;
}

bool IsInStoredBlacklist(const wchar_t* lowerPath) {
    const auto entries = ReadWholeProgramValue<wchar_t>(kBlacklistValueW);
    return entries && IsPathInBlacklist(lowerPath, entries->data(), entries->size());
}

bool ReadProcessBlacklisted() {
    constexpr DWORD kPathCapacity = 512;
    wchar_t path[kPathCapacity];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity)
        return false;
    return IsInStoredBlacklist(LowerCase(path, length).c_str());
}

}  // namespace kz
