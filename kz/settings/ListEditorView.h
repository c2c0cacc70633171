// The controls of one list editor on its page: the list of available entries,
// the chosen entries in a ranking list whose rows the user drags, and the
// line that says when the chosen list is full. The edits themselves are the
// plain ListEditor operations; this class shows their outcome.
#pragma once

#include "kz/settings/Optionseditors.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>

namespace kz {

class TButtonGlyphs;

class ListEditorView {
public:
    struct Controls {
        int available;
        int chosen;
        int add;
        int remove;
        int addAll;
        int removeAll;
        int limitLine;
    };
    // What a control's notification asks of the editor: a click on one of
    // the four move buttons, or a double click on a row, which acts as
    // "Add >" in the available list and as "< Remove" in the chosen list.
    enum class Edit { None, Add, Remove, AddAll, RemoveAll };
    // The button set shows its chosen entries reversed: its top row is the
    // rightmost caption button.
    enum class ChosenRows { InListOrder, Reversed };

    // glyphs: the pictures drawn before the names; null for none.
    ListEditorView(Controls controls, int lastCode, ChosenRows chosenRows, const TButtonGlyphs* glyphs)
        : controls_(controls), lastCode_(lastCode), chosenRows_(chosenRows), glyphs_(glyphs) {}
    // Sets up the lists once their page exists.
    void SetUp(HWND page);
    // Rows as high as the scale of the page's monitor makes them.
    void FitRowsToScale();

    const ListEditor& Editor() const { return editor_; }
    // Fills the editor with the first count stored codes.
    void Fill(const int8_t* codes, int count);
    // Copies the chosen list back, only when the user edited it since the
    // last filling: an untouched list is stored as it was loaded, with the
    // codes the editor cannot show.
    template <typename Count>
    void Store(int8_t* codes, int capacity, Count& count) const {
        if (edited_)
            StoreEditor(editor_, codes, capacity, count);
    }

    Edit EditOf(int id, int code) const;
    // The edits; each is true when the lists changed.
    bool AddSelected();
    bool AddAll();
    bool RemoveSelected();
    bool RemoveAll();
    // Swaps the entries that two rows of the chosen list show.
    bool SwapRows(int oldRow, int newRow);

    // The owner-drawn rows and the drags in the chosen list: the answer to
    // the message when it was one of them. A drag is reported to moveItem as
    // moves of one row to its neighbour.
    std::optional<LRESULT> HandleListMessage(UINT message, LPARAM lParam,
                                             const std::function<void(int, int)>& moveItem);

private:
    HWND Control(int id) const { return ::GetDlgItem(page_, id); }
    bool AfterEdit(EditResult result);
    void ShowLimit(EditResult result);
    void RefreshLists();
    std::vector<int> SelectedAvailableRows() const;
    int EntryOfChosenRow(int row) const;
    LRESULT OnDragList(const DRAGLISTINFO& info, const std::function<void(int, int)>& moveItem);
    void DrawRow(const DRAWITEMSTRUCT& draw) const;

    HWND page_ = nullptr;
    Controls controls_;
    int lastCode_;
    ChosenRows chosenRows_;
    const TButtonGlyphs* glyphs_;
    ListEditor editor_;
    // Whether the user edited the list since the last filling.
    bool edited_ = false;
    int dragRow_ = -1;
};

}  // namespace kz
