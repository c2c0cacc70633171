// The options dialog's logic on plain data, free of windows so that the tests
// call the same code: the two list editors (available and chosen kind codes),
// the box picture for a box size, the box arrangement buttons, the hotkey
// control's code, the help topic of a page and the text of a refused hotkey.
#pragma once

#include "kz/core/Hotkeys.h"
#include "common/Settingsformat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kz {

// At most this many entries in a chosen list: the stored format's capacity.
constexpr int kChosenLimit = 32;
// Codes the editors offer: the button editor 0 to 9, the menu editor 0 to 8.
constexpr int kLastButtonCode = 9;
constexpr int kLastMenuItemCode = 8;

// The name of a kind code in the editors' lists; empty for other codes.
const wchar_t* EntryName(int code);

// One list editor: the left list always starts with the separator (0) and
// keeps it; a command code is in exactly one of the two lists.
struct ListEditor {
    std::vector<int> available;
    std::vector<int> chosen;
};

// Whether an edit was carried out, or refused because the chosen list would
// grow past kChosenLimit (nothing changes then).
enum class EditResult { Done, LimitReached };

// The first count codes that lie in 0..lastCode, in order; the left list is
// the separator and every command not chosen, ascending.
ListEditor FillEditor(const int8_t* codes, int count, int lastCode);
// Copies the chosen list back; entries beyond the new count keep their values.
void StoreEditor(const ListEditor& editor, int8_t* codes, int capacity, int32_t& count);
void StoreEditor(const ListEditor& editor, int8_t* codes, int capacity, int8_t& count);

// Appends the entries of the selected left rows (top to bottom) to the
// chosen list; every selected row but the separator leaves the left list.
EditResult AddRows(ListEditor& editor, const std::vector<int>& selectedRows);
// Adds every left row but the separator.
EditResult AddAllRows(ListEditor& editor);
// Removes one entry of the chosen list (its index in the list); a command
// goes back to the end of the left list, a separator disappears.
void RemoveEntry(ListEditor& editor, int entry);
// Every command of the chosen list goes back to the end of the left list.
void RemoveAllEntries(ListEditor& editor);
// Swaps two entries of the chosen list; false when either lies outside.
bool SwapEntries(ListEditor& editor, int first, int second);

// The button set's right-hand list shows the chosen entries reversed (its
// top row is the rightmost caption button): the entry a row shows.
inline int ReversedRowEntry(int count, int row) { return count - 1 - row; }

// The five box pictures (16, 32, 48, 64 and 96 pixels square) and the one
// that shows a box size: the nearest side, the smaller one on a tie.
constexpr int kBoxPictureSides[] = {16, 32, 48, 64, 96};
constexpr int kBoxSizeMin = 16;
constexpr int kBoxSizeMax = 96;
constexpr int kBoxSizeStep = 4;
int ClampBoxSize(int size);
int BoxPictureIndex(int size);

// The arrangement buttons: ToolButton3 to ToolButton10, each with its code;
// ToolButton3 to 6 form the horizontal set, 7 to 10 the vertical set.
constexpr int kFirstArrangementButton = 3;
constexpr int kLastArrangementButton = 10;
int ArrangementOfButton(int button);  // 0 for a number outside 3..10
bool IsVerticalButton(int button);

// What the box arrangement group shows: the orientation, and in each set
// the button that is down (0 for none).
struct ArrangementView {
    bool vertical = false;
    int horizontalDown = 0;
    int verticalDown = 0;
};
// The view of a stored arrangement: codes 3, 4, 7 and 8 show the vertical
// set; a code outside 1..8 leaves every button released.
ArrangementView ArrangementViewOf(int stored);
// A click on an arrangement button: it goes down, its set releases the others.
void PressArrangementButton(ArrangementView& view, int button);
// The code to store: the button down in the visible set, else 1 for the
// horizontal and 7 for the vertical set.
int StoredArrangement(const ArrangementView& view);

// The hotkey control's value (low byte the key, high byte HOTKEYF_ flags)
// and the stored hotkey code (0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt).
uint16_t StoredHotKeyOfControl(uint16_t controlValue);
uint16_t ControlValueOfStoredHotKey(uint16_t stored);

// Why a hotkey of a kind could not be registered: another command of the
// button row holds the same combination earlier, or else another program.
std::wstring HotKeyRefusalText(const SettingsRecord& settings, const RefusedHotKey& refused);

}  // namespace kz
