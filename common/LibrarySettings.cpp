#include "common/LibrarySettings.h"

#include "common/Multistring.h"

#include <cwctype>

namespace kz {

namespace {
constexpr std::size_t kMaxBlacklistEntries = 10001;
}

void SetLibraryDefaults(LibrarySettings& s) {
    SetSharedDefaults(s);
    s.ReservedFlag = 0;
    s.ShowTips = true;
    s.Checksum = SettingsChecksum(s);
}

LibrarySettings DecodeLibrarySettings(const uint8_t* data, int32_t size) {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    if (!DecodeSettings(data, size, settings))
        SetLibraryDefaults(settings);
    return settings;
}

bool IsPathInBlacklist(const wchar_t* lowerPath, const wchar_t* entries, std::size_t length) {
    return ForEachMultiStringEntry(
        entries, length,
        [lowerPath](const wchar_t* entry, std::size_t n) {
            for (std::size_t i = 0; i < n; ++i) {
                if (lowerPath[i] == L'\0' ||
                    static_cast<wchar_t>(std::towlower(static_cast<wint_t>(entry[i]))) != lowerPath[i])
                    return true;  // no match: go on with the next entry
            }
            return lowerPath[n] != L'\0';
        },
        kMaxBlacklistEntries);
}

}  // namespace kz
