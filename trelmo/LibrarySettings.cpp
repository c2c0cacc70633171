#include "LibrarySettings.h"

#include "../kz/settings/Multistring.h"

#include <cwctype>

namespace kz {

namespace {
constexpr std::size_t kMaxBlacklistEntries = 10001;
}

void SetLibraryDefaults(LibrarySettings& s) {
    s.Version = 1;
    s.RunOnStartUp = 1;
    s.ReservedFlag = 0;
    s.GlyphColor = 0;
    s.BoxArrangement = 1;
    s.TransparencyLevel = 50;
    s.ShowButtonHints = true;
    s.AllowOverflowCaptionText = false;
    s.TrayMenuSeparate = true;
    s.ShowTips = true;
    s.ShowSplash = true;
    s.ButtonCount = 9;
    for (int i = 0; i < kMaxButtons; ++i)
        s.Buttons[i] = static_cast<int8_t>(i + 1);
    for (uint16_t& key : s.HotKeys)
        key = 0;
    s.MenuItemCount = 10;
    for (int i = 0; i < 10; ++i)
        s.MenuItems[i] = static_cast<int8_t>(i + 1);
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
