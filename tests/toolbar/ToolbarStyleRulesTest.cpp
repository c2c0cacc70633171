#include "trelmo/toolbar/CaptionToolBar.h"
#include "trelmo/toolbar/CaptionToolBarXP.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

LibrarySettings Detecting(bool detect, COLORREF stored = RGB(0x12, 0x34, 0x56)) {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    settings.GlyphColorAutodetect = detect;
    settings.GlyphColor = stored;
    return settings;
}

TEST(ToolbarStyleRules, XPGlyphColoursFollowTheSchemeOnlyWhenDetecting) {
    // The stored COLORREF reaches the painter as 0x00RRGGBB, in both states of the caption.
    const GlyphColours stored = XPGlyphColours(Detecting(false), L"NormalColor");
    EXPECT_EQ(stored.active, 0x123456u);
    EXPECT_EQ(stored.inactive, 0x123456u);

    for (const wchar_t* white : {L"HomeStead", L"NormalColor", L"Olive", L"Royale4"}) {
        const GlyphColours colours = XPGlyphColours(Detecting(true), white);
        EXPECT_EQ(colours.active, 0xFFFFFFu) << white;
        EXPECT_EQ(colours.inactive, 0xFFFFFFu) << white;
    }
    const GlyphColours ergonomic = XPGlyphColours(Detecting(true), L"Ergonomic");
    EXPECT_EQ(ergonomic.active, 0xF9F9F9u);
    EXPECT_EQ(ergonomic.inactive, 0x6E6D8Fu);
    for (const wchar_t* other : {L"Metallic", L"Blue", L"normalcolor", static_cast<const wchar_t*>(nullptr)}) {
        const GlyphColours colours = XPGlyphColours(Detecting(true), other);
        EXPECT_EQ(colours.active, 0u);
        EXPECT_EQ(colours.inactive, 0x6E6D8Fu);
    }
}

TEST(ToolbarStyleRules, SystemButtonsFromTheStyleBits) {
    EXPECT_EQ(SystemButtonCountFromStyle(WS_OVERLAPPEDWINDOW, 0), 3);
    EXPECT_EQ(SystemButtonCountFromStyle(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CONTEXTHELP), 4);
    EXPECT_EQ(SystemButtonCountFromStyle(WS_CAPTION | WS_SYSMENU, 0), 1);
    EXPECT_EQ(SystemButtonCountFromStyle(WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP), 2);
    EXPECT_EQ(SystemButtonCountFromStyle(WS_CAPTION | WS_MAXIMIZEBOX, WS_EX_CONTEXTHELP), 0);
}

}  // namespace
}  // namespace kz
