#include "kz/settings/Usettingsfile.h"

#include "common/Protocol.h"
#include "common/RegistryValue.h"
#include "kz/capbuttons/Myuxtheme.h"
#include "kz/settings/Programkey.h"

#include <cwchar>

namespace kz {

void SetDefaultSettings(SettingsRecord& s) {
    SetSharedDefaults(s);
    s.ReservedFlag = 1;
    s.BoxSize = 48;
    s.ShowTips = false;
    s.GlyphColorAutodetect = true;
    s.Checksum = SettingsChecksum(s);
}

bool LoadSettings(SettingsRecord& record) {
    uint8_t buffer[kSettingsValueMaxBytes];
    const auto size = ReadProgramValue(kSettingsValueW, buffer, sizeof buffer);
    if (!size)
        return false;
    if (DecodeSettings(buffer, static_cast<int32_t>(*size), record))
        return true;
    SetDefaultSettings(record);
    return false;
}

bool SaveSettings(SettingsRecord& record) {
    record.Version = 1;
    uint8_t bytes[kLongestSettingsBytes];
    const int32_t size = EncodeSettings(record, bytes);
    return WriteProgramValue(kSettingsValueW, REG_BINARY, bytes, static_cast<uint32_t>(size));
}

COLORREF EffectiveGlyphColor(const SettingsRecord& record) {
    return record.GlyphColorAutodetect ? DetectThemeGlyphColor() : record.GlyphColor;
}

COLORREF GlyphColorOfColorScheme(const wchar_t* colorSchemeName) {
    static constexpr struct {
        const wchar_t* name;
        COLORREF color;
    } kSchemes[] = {
        {L"HomeStead", 0xFFFFFF}, {L"NormalColor", 0xFFFFFF}, {L"Ergonomic", 0xF9F9F9},
        {L"Olive", 0xFFFFFF},     {L"Silver", 0x000000},      {L"Metallic", 0x000000},
    };
    for (const auto& scheme : kSchemes) {
        if (std::wcscmp(colorSchemeName, scheme.name) == 0)
            return scheme.color;
    }
    return 0;
}

COLORREF DetectThemeGlyphColor() {
    const UniqueTheme theme(uxtheme::OpenThemeData(::GetDesktopWindow(), L"WINDOW"));
    if (!theme)
        return 0;
    constexpr int kNameChars = 99;
    wchar_t fileName[kNameChars] = {};
    wchar_t colorName[kNameChars] = {};
    if (FAILED(uxtheme::GetCurrentThemeName(fileName, kNameChars, colorName, kNameChars, nullptr, 0)))
        return 0;
    colorName[kNameChars - 1] = L'\0';
    return GlyphColorOfColorScheme(colorName);
}

}  // namespace kz
