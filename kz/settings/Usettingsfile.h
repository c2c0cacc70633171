// The host's settings: its defaults, the stored value "Settings" loaded and
// saved through the registry, and the glyph colour the settings resolve to.
#pragma once

#include "common/Settingsformat.h"

#include <windows.h>

namespace kz {

// Fills every field that has a host default and computes the checksum;
// ReservedByte and the menu entries from the eleventh on keep their values.
void SetDefaultSettings(SettingsRecord& record);

// Decodes the stored value into record. Returns true when the value was read
// and is valid. When the value is missing or unreadable the record is left as
// it was; when it is invalid the defaults are applied over it.
bool LoadSettings(SettingsRecord& record);

// Sets the record's version to 1 and stores it. Returns whether the registry
// accepted the data.
bool SaveSettings(SettingsRecord& record);

// The colour of the button glyphs: chosen from the visual style when the
// record asks for it, else the record's own colour.
COLORREF EffectiveGlyphColor(const SettingsRecord& record);

// The glyph colour that suits the current visual style; black in the classic
// look and for colour schemes it does not know.
COLORREF DetectThemeGlyphColor();

// The glyph colour for a visual style's colour-scheme name (exact comparison);
// 0 (black) for an unknown name.
COLORREF GlyphColorOfColorScheme(const wchar_t* colorSchemeName);

}  // namespace kz
