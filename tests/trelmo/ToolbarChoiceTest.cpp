// Which toolbar a window gets, from its class and the look of the desktop.
#include "trelmo/toolbar/ToolbarChoice.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

bool Yes(HWND) { return true; }
bool No(HWND) { return false; }

WindowLook Look(const wchar_t* className, bool composition, bool ncRendering, bool themed, DWORD major = 6,
                DWORD realMajor = 6) {
    WindowLook look;
    look.className = className;
    look.composition = composition;
    look.osMajorVersion = major;
    look.realMajorVersion = realMajor;
    look.ncRenderingEnabled = ncRendering ? Yes : No;
    look.themed = themed ? Yes : No;
    return look;
}

ToolbarStyle Choose(const WindowLook& look) { return ChooseToolbarStyle(nullptr, look); }

TEST(ToolbarChoice, OfficeWindowsHaveTheirOwnLookOnlyWithoutGlass) {
    for (const wchar_t* name : {L"OpusApp", L"XLMAIN", L"rctrl_renwnd32", L"PP12FrameClass", L"OMain"}) {
        EXPECT_EQ(Choose(Look(name, false, false, true)), ToolbarStyle::Office2007);
        EXPECT_EQ(Choose(Look(name, true, true, true)), ToolbarStyle::Aero);
    }
    EXPECT_EQ(Choose(Look(L"opusapp", false, false, true)), ToolbarStyle::XP);  // exact comparison
}

TEST(ToolbarChoice, SkypeWindowsHaveTheirOwnLookWithAndWithoutGlass) {
    for (const wchar_t* name :
         {L"tSkMainForm.UnicodeClass", L"THomeForm.UnicodeClass", L"TConversationForm.UnicodeClass"}) {
        EXPECT_EQ(Choose(Look(name, false, false, false)), ToolbarStyle::Skype);
        EXPECT_EQ(Choose(Look(name, true, true, true)), ToolbarStyle::SkypeAero);
    }
}

TEST(ToolbarChoice, OtherWindowsFollowHowTheFrameIsDrawn) {
    EXPECT_EQ(Choose(Look(L"Notepad", true, true, true)), ToolbarStyle::Aero);
    // Glass on, but the window's frame is not drawn by the window manager.
    EXPECT_EQ(Choose(Look(L"Notepad", true, false, true)), ToolbarStyle::XP);
    // No glass before major version 6.
    EXPECT_EQ(Choose(Look(L"Notepad", true, true, true, 5)), ToolbarStyle::XP);
    EXPECT_EQ(Choose(Look(L"Notepad", false, true, true)), ToolbarStyle::XP);
    EXPECT_EQ(Choose(Look(L"Notepad", false, false, false)), ToolbarStyle::Classic);
}

TEST(ToolbarChoice, WindowsTenAndLaterGetTheFlatStyleWhereTheyComposeTheFrame) {
    // A program without a manifest that names Windows 10 is told 6 (6.2) there:
    // the real version decides.
    EXPECT_EQ(Choose(Look(L"Notepad", true, true, true, 6, 10)), ToolbarStyle::Win10);
    EXPECT_EQ(Choose(Look(L"Notepad", true, true, true, 10, 10)), ToolbarStyle::Win10);
    EXPECT_EQ(Choose(Look(L"Notepad", true, true, true, 6, 6)), ToolbarStyle::Aero) << "Vista and 7 keep glass";
    // Without composition or with a frame the program draws, not the flat style.
    EXPECT_EQ(Choose(Look(L"Notepad", false, false, true, 10, 10)), ToolbarStyle::XP);
    EXPECT_EQ(Choose(Look(L"Notepad", true, false, false, 10, 10)), ToolbarStyle::Classic);
    // A program that draws its own caption: buttons in its caption only on a composed desktop.
    WindowLook own = Look(L"Chrome_WidgetWin_1", true, true, true, 10, 10);
    own.drawsOwnCaption = Yes;
    EXPECT_EQ(Choose(own), ToolbarStyle::ProgramCaption);
    own.composition = false;
    EXPECT_EQ(Choose(own), ToolbarStyle::XP);
    own = Look(L"Chrome_WidgetWin_1", true, true, true, 6, 6);
    own.drawsOwnCaption = Yes;
    EXPECT_EQ(Choose(own), ToolbarStyle::Aero) << "where the glass style then shows none";
    // Office 2007 and Skype keep their styles.
    EXPECT_EQ(Choose(Look(L"XLMAIN", false, false, true, 10, 10)), ToolbarStyle::Office2007);
    EXPECT_EQ(Choose(Look(L"tSkMainForm.UnicodeClass", true, true, true, 10, 10)), ToolbarStyle::SkypeAero);
}

TEST(ToolbarChoice, MissingSystemFunctionsFallThroughToTheClassicLook) {
    WindowLook look;
    look.className = L"Notepad";
    look.composition = true;
    look.osMajorVersion = 6;
    EXPECT_EQ(Choose(look), ToolbarStyle::Classic);
}

}  // namespace
}  // namespace kz
