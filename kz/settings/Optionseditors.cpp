#include "kz/settings/Optionseditors.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace kz {

namespace {

constexpr const wchar_t* kEntryNames[] = {
    L"Separator",     L"Send to tray", L"Send to tray menu", L"Send to box",         L"Roll up/unroll",
    L"Always on top",  L"Send to Back", L"Transparency",      L"Adjust transparency", L"Copy window",
};

// The hotkey control's modifier flags (HOTKEYF_SHIFT, _CONTROL, _ALT) and
// the stored code's bits for them.
constexpr uint16_t kControlShift = 0x01;
constexpr uint16_t kControlCtrl = 0x02;
constexpr uint16_t kControlAlt = 0x04;
constexpr uint16_t kStoredShift = 0x2000;
constexpr uint16_t kStoredCtrl = 0x4000;
constexpr uint16_t kStoredAlt = 0x8000;

// The arrangement code of ToolButton3 to ToolButton10.
constexpr int kArrangementOfButton[] = {1, 2, 5, 6, 3, 7, 4, 8};

bool WouldExceedLimit(const ListEditor& editor, std::size_t added) {
    return editor.chosen.size() + added > static_cast<std::size_t>(kChosenLimit);
}

template <typename Count>
void StoreEditorInto(const ListEditor& editor, int8_t* codes, int capacity, Count& count) {
    const int n = std::min(static_cast<int>(editor.chosen.size()), capacity);
    for (int i = 0; i < n; ++i)
        codes[i] = static_cast<int8_t>(editor.chosen[static_cast<std::size_t>(i)]);
    count = static_cast<Count>(n);
}

}  // namespace

const wchar_t* EntryName(int code) {
    return code >= 0 && code < static_cast<int>(std::size(kEntryNames)) ? kEntryNames[code] : L"";
}

ListEditor FillEditor(const int8_t* codes, int count, int lastCode) {
    ListEditor editor;
    for (int i = 0; i < std::min(count, kChosenLimit); ++i) {
        if (codes[i] >= 0 && codes[i] <= lastCode)
            editor.chosen.push_back(codes[i]);
    }
    editor.available.push_back(0);
    for (int code = 1; code <= lastCode; ++code) {
        if (std::find(editor.chosen.begin(), editor.chosen.end(), code) == editor.chosen.end())
            editor.available.push_back(code);
    }
    return editor;
}

void StoreEditor(const ListEditor& editor, int8_t* codes, int capacity, int32_t& count) {
    StoreEditorInto(editor, codes, capacity, count);
}

void StoreEditor(const ListEditor& editor, int8_t* codes, int capacity, int8_t& count) {
    StoreEditorInto(editor, codes, capacity, count);
}

EditResult AddRows(ListEditor& editor, const std::vector<int>& selectedRows) {
    std::vector<int> rows;
    for (const int row : selectedRows) {
        if (row >= 0 && row < static_cast<int>(editor.available.size()))
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (WouldExceedLimit(editor, rows.size()))
        return EditResult::LimitReached;
    std::vector<int> remaining;
    std::size_t next = 0;
    for (int row = 0; row < static_cast<int>(editor.available.size()); ++row) {
        const int code = editor.available[static_cast<std::size_t>(row)];
        const bool selected = next < rows.size() && rows[next] == row;
        if (selected) {
            ++next;
            editor.chosen.push_back(code);
        }
        if (!selected || row == 0)
            remaining.push_back(code);
    }
    editor.available = std::move(remaining);
    return EditResult::Done;
}

EditResult AddAllRows(ListEditor& editor) {
    std::vector<int> rows;
    for (int row = 1; row < static_cast<int>(editor.available.size()); ++row)
        rows.push_back(row);
    return AddRows(editor, rows);
}

void RemoveEntry(ListEditor& editor, int entry) {
    if (entry < 0 || entry >= static_cast<int>(editor.chosen.size()))
        return;
    const int code = editor.chosen[static_cast<std::size_t>(entry)];
    editor.chosen.erase(editor.chosen.begin() + entry);
    if (code != 0)
        editor.available.push_back(code);
}

void RemoveAllEntries(ListEditor& editor) {
    for (const int code : editor.chosen) {
        if (code != 0)
            editor.available.push_back(code);
    }
    editor.chosen.clear();
}

bool SwapEntries(ListEditor& editor, int first, int second) {
    const int count = static_cast<int>(editor.chosen.size());
    if (first < 0 || second < 0 || first >= count || second >= count)
        return false;
    std::swap(editor.chosen[static_cast<std::size_t>(first)], editor.chosen[static_cast<std::size_t>(second)]);
    return true;
}

int ClampBoxSize(int size) { return std::clamp(size, kBoxSizeMin, kBoxSizeMax); }

int BoxPictureIndex(int size) {
    const int clamped = ClampBoxSize(size);
    int best = 0;
    for (int i = 1; i < static_cast<int>(std::size(kBoxPictureSides)); ++i) {
        // Strictly nearer only: on a tie the smaller picture, met first, stays.
        if (std::abs(kBoxPictureSides[i] - clamped) < std::abs(kBoxPictureSides[best] - clamped))
            best = i;
    }
    return best;
}

int ArrangementOfButton(int button) {
    if (button < kFirstArrangementButton || button > kLastArrangementButton)
        return 0;
    return kArrangementOfButton[button - kFirstArrangementButton];
}

bool IsVerticalButton(int button) { return button >= 7 && button <= kLastArrangementButton; }

ArrangementView ArrangementViewOf(int stored) {
    ArrangementView view;
    view.vertical = stored == 3 || stored == 4 || stored == 7 || stored == 8;
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        if (ArrangementOfButton(button) == stored)
            PressArrangementButton(view, button);
    }
    return view;
}

void PressArrangementButton(ArrangementView& view, int button) {
    if (ArrangementOfButton(button) == 0)
        return;
    (IsVerticalButton(button) ? view.verticalDown : view.horizontalDown) = button;
}

int StoredArrangement(const ArrangementView& view) {
    const int down = view.vertical ? view.verticalDown : view.horizontalDown;
    if (down != 0)
        return ArrangementOfButton(down);
    return view.vertical ? 7 : 1;
}

uint16_t StoredHotKeyOfControl(uint16_t controlValue) {
    const uint16_t key = controlValue & 0xFF;
    if (key == 0)
        return 0;
    const uint16_t flags = controlValue >> 8;
    uint16_t stored = key;
    if (flags & kControlShift)
        stored |= kStoredShift;
    if (flags & kControlCtrl)
        stored |= kStoredCtrl;
    if (flags & kControlAlt)
        stored |= kStoredAlt;
    return stored;
}

uint16_t ControlValueOfStoredHotKey(uint16_t stored) {
    const uint16_t key = stored & 0xFF;
    if (key == 0)
        return 0;
    uint16_t flags = 0;
    if (stored & kStoredShift)
        flags |= kControlShift;
    if (stored & kStoredCtrl)
        flags |= kControlCtrl;
    if (stored & kStoredAlt)
        flags |= kControlAlt;
    return static_cast<uint16_t>(key | flags << 8);
}

std::wstring HotKeyRefusalText(const SettingsRecord& settings, const RefusedHotKey& refused) {
    const int count = std::min<int>(settings.ButtonCount, kMaxButtons);
    for (int i = 0; i < std::min(refused.buttonIndex, count); ++i) {
        const int kind = settings.Buttons[i];
        if (kind > 0 && kind < kHotKeyCount && kind != refused.kind && settings.HotKeys[kind] == refused.stored)
            return std::wstring(L"Not registered: already used by \"") + EntryName(kind) + L"\".";
    }
    return L"Not registered: already used by another program.";
}

}  // namespace kz
