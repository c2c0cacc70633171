// The colour palette's cells and hexadecimal field, the box picture and the
// arrangement buttons, the hotkey codes and the help topics.
#include "kz/settings/Colorpalette.h"
#include "kz/settings/Optionseditors.h"
#include "kz/settings/Optionspages.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

TEST(PaletteCells, GreysPrimariesAndBlackColumns) {
    EXPECT_EQ(PaletteCellColour(0, 0), Colour{0x000000});
    EXPECT_EQ(PaletteCellColour(0, 1), Colour{0x333333});
    EXPECT_EQ(PaletteCellColour(0, 5), kPaletteWhite);  // white shown one step off
    EXPECT_EQ(PaletteCellColour(0, 6), Colour{0x0000FF});  // red
    EXPECT_EQ(PaletteCellColour(0, 7), Colour{0x00FF00});
    EXPECT_EQ(PaletteCellColour(0, 8), Colour{0xFF0000});  // blue
    EXPECT_EQ(PaletteCellColour(0, 9), Colour{0x00FFFF});  // yellow
    EXPECT_EQ(PaletteCellColour(0, 10), Colour{0xFFFF00});  // cyan
    EXPECT_EQ(PaletteCellColour(0, 11), Colour{0xFF00FF});  // magenta
    for (int row = 0; row < kPaletteRows; ++row) {
        EXPECT_EQ(PaletteCellColour(1, row), Colour{0});
        EXPECT_EQ(PaletteCellColour(20, row), Colour{0});
    }
    EXPECT_FALSE(PaletteCellColour(21, 0));
    EXPECT_FALSE(PaletteCellColour(0, 12));
    EXPECT_FALSE(PaletteCellColour(-1, 0));
}

TEST(PaletteCells, TheColourCubeLiesInColumnsTwoToNineteen) {
    // Red index r, green g, blue b: column 2 + (r mod 3) * 6 + g, row (r div 3) * 6 + b.
    EXPECT_EQ(PaletteCellColour(2, 0), Colour{0x000000});
    EXPECT_EQ(PaletteCellColour(3, 0), Colour{0x003300});       // g = 1
    EXPECT_EQ(PaletteCellColour(2, 1), Colour{0x330000});       // b = 1
    EXPECT_EQ(PaletteCellColour(8, 0), Colour{0x000033});       // r = 1
    EXPECT_EQ(PaletteCellColour(2, 6), Colour{0x000099});       // r = 3
    EXPECT_EQ(PaletteCellColour(19, 11), kPaletteWhite);        // r = g = b = 5
    EXPECT_EQ(PaletteCellColour(19, 6), Colour{0x00FFFF});      // r = 5, g = 5, b = 0
    int whiteCells = 0;
    for (int column = 0; column < kPaletteColumns; ++column)
        for (int row = 0; row < kPaletteRows; ++row)
            whiteCells += PaletteCellColour(column, row) == Colour{0xFFFFFF};
    EXPECT_EQ(whiteCells, 0);
}

TEST(HexField, ShowsRedGreenBlueInUpperCase) {
    EXPECT_EQ(HexFieldText(0x0080FF), L"#FF8000");
    EXPECT_EQ(HexFieldText(*PaletteCellColour(0, 5)), L"#FFFFFE");
    EXPECT_EQ(HexFieldText(0), L"#000000");
}

TEST(HexField, FFFFFFIsRefusedAndFFFFFEAccepted) {
    EXPECT_FALSE(ParseHexField(L"#FFFFFF"));
    EXPECT_EQ(ParseHexField(L"#FFFFFE"), kPaletteWhite);
    EXPECT_EQ(ParseHexField(L"#FF8000"), Colour{0x0080FF});
    EXPECT_EQ(ParseHexField(L"ff8000"), Colour{0x0080FF});
    EXPECT_FALSE(ParseHexField(L"#FF80 0"));
    EXPECT_FALSE(ParseHexField(L"#FF80"));
    EXPECT_FALSE(ParseHexField(L"#      "));
    EXPECT_FALSE(ParseHexField(L"#GG0000"));
}

TEST(PalettePlacement, BelowTheButtonOrMovedOntoTheScreen) {
    const PalettePlace below = PlacePalette(100, 100, 24, 210, 150, 1024, 768);
    EXPECT_EQ(below.left, 100);
    EXPECT_EQ(below.top, 124);
    const PalettePlace right = PlacePalette(900, 100, 24, 210, 150, 1024, 768);
    EXPECT_EQ(right.left, 1024 - 210);
    const PalettePlace bottom = PlacePalette(100, 700, 24, 210, 150, 1024, 768);
    EXPECT_EQ(bottom.top, 700 - 150);
}

TEST(BoxPicture, NearestSideAndTheSmallerOnATie) {
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(40)], 32);  // tie between 32 and 48
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(56)], 48);  // tie between 48 and 64
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(48)], 48);
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(84)], 96);
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(80)], 64);
    EXPECT_EQ(kBoxPictureSides[BoxPictureIndex(4)], 16);
    EXPECT_EQ(ClampBoxSize(120), 96);
    EXPECT_EQ(ClampBoxSize(8), 16);
}

TEST(Arrangement, StoredZeroShowsTheHorizontalSetWithNothingDownAndStoresOne) {
    const ArrangementView view = ArrangementViewOf(0);
    EXPECT_FALSE(view.vertical);
    EXPECT_EQ(view.horizontalDown, 0);
    EXPECT_EQ(view.verticalDown, 0);
    EXPECT_EQ(StoredArrangement(view), 1);
}

TEST(Arrangement, StoredFourShowsTheVerticalSetWithToolButtonNineDown) {
    const ArrangementView view = ArrangementViewOf(4);
    EXPECT_TRUE(view.vertical);
    EXPECT_EQ(view.verticalDown, 9);
    EXPECT_EQ(StoredArrangement(view), 4);
}

TEST(Arrangement, StoredSevenShowsToolButtonEightDown) {
    const ArrangementView view = ArrangementViewOf(7);
    EXPECT_TRUE(view.vertical);
    EXPECT_EQ(view.verticalDown, 8);
    EXPECT_EQ(StoredArrangement(view), 7);
}

TEST(Arrangement, EveryButtonStoresItsCodeAndAnEmptyVerticalSetStoresSeven) {
    const int codes[] = {1, 2, 5, 6, 3, 7, 4, 8};
    for (int button = 3; button <= 10; ++button) {
        ArrangementView view;
        view.vertical = IsVerticalButton(button);
        PressArrangementButton(view, button);
        EXPECT_EQ(StoredArrangement(view), codes[button - 3]) << "ToolButton" << button;
        EXPECT_EQ(ArrangementViewOf(codes[button - 3]).vertical, view.vertical);
    }
    ArrangementView vertical;
    vertical.vertical = true;
    EXPECT_EQ(StoredArrangement(vertical), 7);
    // The button down in the hidden set does not count.
    ArrangementView switched = ArrangementViewOf(4);
    switched.vertical = false;
    EXPECT_EQ(StoredArrangement(switched), 1);
}

TEST(HotKeyCodes, ControlValueAndStoredCodeConvertBothWays) {
    // Ctrl+Alt+T in the control: key 'T', HOTKEYF_CONTROL | HOTKEYF_ALT.
    EXPECT_EQ(StoredHotKeyOfControl(0x0654), 0xC054);
    EXPECT_EQ(ControlValueOfStoredHotKey(0xC054), 0x0654);
    EXPECT_EQ(StoredHotKeyOfControl(0x0141), 0x2041);  // Shift+A
    EXPECT_EQ(StoredHotKeyOfControl(0), 0);
    EXPECT_EQ(ControlValueOfStoredHotKey(0), 0);
}

TEST(HotKeyRefusal, AnotherProgramOrAnEarlierCommandOfTheRow) {
    SettingsRecord settings;
    settings.ButtonCount = 3;
    settings.Buttons[0] = 5;
    settings.Buttons[1] = 4;
    settings.Buttons[2] = 1;
    settings.HotKeys[5] = 0xC054;
    settings.HotKeys[1] = 0xC054;
    settings.HotKeys[4] = 0xC052;
    EXPECT_EQ(HotKeyRefusalText(settings, RefusedHotKey{2, 1, 0xC054}),
              L"Not registered: already used by \"Always on top\".");
    EXPECT_EQ(HotKeyRefusalText(settings, RefusedHotKey{1, 4, 0xC052}),
              L"Not registered: already used by another program.");
}

TEST(HelpTopics, CommandPagesAndTwoParameterPagesHaveTopics) {
    EXPECT_STREQ(HelpTopicOf(Page::RollUp), L"3Options window\\ButtonsSettings\\RollUp.htm");
    EXPECT_STREQ(HelpTopicOf(Page::ButtonsSet), L"3Options window\\Parameters\\ButtonsSet.htm");
    EXPECT_EQ(HelpTopicOf(Page::WinMenu), nullptr);
    EXPECT_EQ(HelpTopicOf(Page::Blacklist), nullptr);
    for (int kind = 1; kind <= 9; ++kind)
        EXPECT_NE(HelpTopicOf(PageOfKind(kind)), nullptr) << kind;
}

}  // namespace
}  // namespace kz
