// The list editors' operations on plain lists of kind codes.
#include "kz/settings/Optionseditors.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

using Codes = std::vector<int>;

ListEditor Editor(Codes available, Codes chosen) { return ListEditor{std::move(available), std::move(chosen)}; }

TEST(FillEditors, ChosenKeepsStoredOrderAndAvailableHoldsSeparatorAndTheRestAscending) {
    const int8_t stored[] = {5, 0, 2, 9};
    const ListEditor editor = FillEditor(stored, 4, kLastButtonCode);
    EXPECT_EQ(editor.chosen, (Codes{5, 0, 2, 9}));
    EXPECT_EQ(editor.available, (Codes{0, 1, 3, 4, 6, 7, 8}));
}

TEST(FillEditors, DropsCodesOutsideTheEditorsRange) {
    const int8_t buttons[] = {1, 10, -3, 4, 32};
    EXPECT_EQ(FillEditor(buttons, 5, kLastButtonCode).chosen, (Codes{1, 4}));
    // The default menu holds 1 to 10: the menu editor shows 1 to 8.
    const int8_t menu[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const ListEditor editor = FillEditor(menu, 10, kLastMenuItemCode);
    EXPECT_EQ(editor.chosen, (Codes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(editor.available, (Codes{0}));
}

TEST(FillEditors, OnlyTheFirstCountEntriesCount) {
    const int8_t stored[] = {3, 4, 5};
    EXPECT_EQ(FillEditor(stored, 2, kLastButtonCode).chosen, (Codes{3, 4}));
    EXPECT_TRUE(FillEditor(stored, 0, kLastButtonCode).chosen.empty());
}

TEST(StoreEditors, WritesCountAndEntriesAndKeepsWhatLiesBeyond) {
    SettingsRecord record;
    for (int i = 0; i < kMaxButtons; ++i)
        record.Buttons[i] = static_cast<int8_t>(i + 1);
    StoreEditor(Editor({0}, {9, 0, 4}), record.Buttons, kMaxButtons, record.ButtonCount);
    EXPECT_EQ(record.ButtonCount, 3);
    EXPECT_EQ((Codes{record.Buttons[0], record.Buttons[1], record.Buttons[2], record.Buttons[3]}), (Codes{9, 0, 4, 4}));
    StoreEditor(Editor({0}, {2, 1}), record.MenuItems, kMaxMenuItems, record.MenuItemCount);
    EXPECT_EQ(record.MenuItemCount, 2);
}

TEST(AddRows, SeparatorSelectedWithTwoCommandsAppendsAllThreeAndTheSeparatorStays) {
    ListEditor editor = Editor({0, 2, 5, 7}, {1});
    EXPECT_EQ(AddRows(editor, {0, 1, 3}), EditResult::Done);
    EXPECT_EQ(editor.chosen, (Codes{1, 0, 2, 7}));
    EXPECT_EQ(editor.available, (Codes{0, 5}));
}

TEST(AddRows, RowsAreTakenTopToBottomWhateverTheOrderOfSelection) {
    ListEditor editor = Editor({0, 2, 5}, {});
    AddRows(editor, {2, 1});
    EXPECT_EQ(editor.chosen, (Codes{2, 5}));
    EXPECT_EQ(editor.available, (Codes{0}));
}

TEST(AddRows, AddAllAppendsEveryCommandInOrderAndNoSeparator) {
    ListEditor editor = Editor({0, 2, 5}, {1, 3});
    EXPECT_EQ(AddAllRows(editor), EditResult::Done);
    EXPECT_EQ(editor.chosen, (Codes{1, 3, 2, 5}));
    EXPECT_EQ(editor.available, (Codes{0}));
}

TEST(RemoveEntries, ACommandGoesBackToTheEndAndASeparatorDisappears) {
    ListEditor editor = Editor({0, 4}, {1, 0, 3});
    RemoveEntry(editor, 1);
    EXPECT_EQ(editor.chosen, (Codes{1, 3}));
    EXPECT_EQ(editor.available, (Codes{0, 4}));
    RemoveEntry(editor, 0);
    EXPECT_EQ(editor.chosen, (Codes{3}));
    EXPECT_EQ(editor.available, (Codes{0, 4, 1}));
    RemoveEntry(editor, 5);  // outside: nothing
    EXPECT_EQ(editor.chosen, (Codes{3}));
}

TEST(RemoveEntries, RemoveAllOnOneSeparatorThreeLeavesAnEmptySetAndAppendsTheCommands) {
    ListEditor editor = Editor({0, 2, 4, 5, 6, 7, 8, 9}, {1, 0, 3});
    RemoveAllEntries(editor);
    EXPECT_TRUE(editor.chosen.empty());
    EXPECT_EQ(editor.available, (Codes{0, 2, 4, 5, 6, 7, 8, 9, 1, 3}));
}

TEST(Reorder, DraggingTheTopRowOfTheReversedListDownSwapsTheLastTwoEntries) {
    ListEditor editor = Editor({0}, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    const int count = static_cast<int>(editor.chosen.size());
    EXPECT_EQ(ReversedRowEntry(count, 0), 8);
    EXPECT_EQ(ReversedRowEntry(count, 8), 0);
    ASSERT_TRUE(SwapEntries(editor, ReversedRowEntry(count, 0), ReversedRowEntry(count, 1)));
    EXPECT_EQ(editor.chosen, (Codes{1, 2, 3, 4, 5, 6, 7, 9, 8}));
    EXPECT_FALSE(SwapEntries(editor, 0, 9));
}

TEST(ChosenLimit, SeparatorsCannotPushTheSetPastThirtyTwo) {
    ListEditor editor = Editor({0}, Codes(31, 0));
    EXPECT_EQ(AddRows(editor, {0}), EditResult::Done);
    ASSERT_EQ(editor.chosen.size(), 32u);
    EXPECT_EQ(AddRows(editor, {0}), EditResult::LimitReached);
    EXPECT_EQ(editor.chosen.size(), 32u);
}

TEST(ChosenLimit, AnAddThatWouldOverflowChangesNothing) {
    ListEditor editor = Editor({0, 2, 5}, Codes(31, 0));
    EXPECT_EQ(AddAllRows(editor), EditResult::LimitReached);
    EXPECT_EQ(editor.chosen.size(), 31u);
    EXPECT_EQ(editor.available, (Codes{0, 2, 5}));
    EXPECT_EQ(AddRows(editor, {2}), EditResult::Done);
    EXPECT_EQ(editor.chosen.back(), 5);
}

TEST(EntryNames, CodesHaveTheirListNames) {
    EXPECT_STREQ(EntryName(0), L"Separator");
    EXPECT_STREQ(EntryName(5), L"Always on top");
    EXPECT_STREQ(EntryName(9), L"Copy window");
    EXPECT_STREQ(EntryName(10), L"");
    EXPECT_STREQ(EntryName(-1), L"");
}

}  // namespace
}  // namespace kz
