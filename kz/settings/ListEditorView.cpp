#include "kz/settings/ListEditorView.h"

#include "common/Handles.h"
#include "kz/capbuttons/Drawbutton.h"
#include "common/Dpi.h"
#include "kz/settings/OptionsPage.h"

#include <algorithm>
#include <string>

namespace kz {

namespace {

// Pixels of the design font; the glyph's cell at 100 %.
constexpr int kAvailableRowHeight = 13;
constexpr int kChosenRowHeight = 16;
constexpr int kGlyphCell = 18;
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr wchar_t kLimitText[] = L"The list is full: it holds at most 32 entries.";

// What the ranking lists send their page while a row is dragged.
UINT DragListMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"commctrl_DragListMsg");
    return message;
}

void FillRows(HWND list, size_t count) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < count; ++i)
        ::SendMessageW(list, LB_ADDSTRING, 0, 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

void ListEditorView::SetUp(HWND page) {
    page_ = page;
    FitRowsToScale();
    ::MakeDragList(Control(controls_.chosen));
}

// Rows hold a line of the dialog's font: they grow with it.
void ListEditorView::FitRowsToScale() {
    const DesignScale scale = DesignScaleOf(page_);
    ::SendMessageW(Control(controls_.available), LB_SETITEMHEIGHT, 0, scale.Y(kAvailableRowHeight));
    ::SendMessageW(Control(controls_.chosen), LB_SETITEMHEIGHT, 0, scale.Y(kChosenRowHeight));
}

void ListEditorView::Fill(const int8_t* codes, int count) {
    editor_ = FillEditor(codes, count, lastCode_);
    edited_ = false;
    ShowLimit(EditResult::Done);
    RefreshLists();
}

void ListEditorView::ShowLimit(EditResult result) {
    ::SetWindowTextW(Control(controls_.limitLine), result == EditResult::LimitReached ? kLimitText : L"");
}

void ListEditorView::RefreshLists() {
    FillRows(Control(controls_.available), editor_.available.size());
    FillRows(Control(controls_.chosen), editor_.chosen.size());
}

bool ListEditorView::AfterEdit(EditResult result) {
    ShowLimit(result);
    if (result == EditResult::LimitReached)
        return false;
    RefreshLists();
    edited_ = true;
    return true;
}

std::vector<int> ListEditorView::SelectedAvailableRows() const {
    const HWND list = Control(controls_.available);
    const auto count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> rows(static_cast<size_t>(std::max<LRESULT>(count, 0)));
    if (!rows.empty())
        ::SendMessageW(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

int ListEditorView::EntryOfChosenRow(int row) const {
    return chosenRows_ == ChosenRows::Reversed ? ReversedRowEntry(static_cast<int>(editor_.chosen.size()), row) : row;
}

ListEditorView::Edit ListEditorView::EditOf(int id, int code) const {
    if (code == LBN_DBLCLK && id == controls_.available)
        return Edit::Add;
    if (code == LBN_DBLCLK && id == controls_.chosen)
        return Edit::Remove;
    if (code != BN_CLICKED)
        return Edit::None;
    if (id == controls_.add)
        return Edit::Add;
    if (id == controls_.remove)
        return Edit::Remove;
    if (id == controls_.addAll)
        return Edit::AddAll;
    return id == controls_.removeAll ? Edit::RemoveAll : Edit::None;
}

bool ListEditorView::AddSelected() { return AfterEdit(AddRows(editor_, SelectedAvailableRows())); }

bool ListEditorView::AddAll() { return AfterEdit(AddAllRows(editor_)); }

bool ListEditorView::RemoveSelected() {
    const auto row = ::SendMessageW(Control(controls_.chosen), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR)
        return false;
    RemoveEntry(editor_, EntryOfChosenRow(static_cast<int>(row)));
    return AfterEdit(EditResult::Done);
}

bool ListEditorView::RemoveAll() {
    RemoveAllEntries(editor_);
    return AfterEdit(EditResult::Done);
}

bool ListEditorView::SwapRows(int oldRow, int newRow) {
    if (!SwapEntries(editor_, EntryOfChosenRow(oldRow), EntryOfChosenRow(newRow)))
        return false;
    ::InvalidateRect(Control(controls_.chosen), nullptr, TRUE);
    edited_ = true;
    return true;
}

std::optional<LRESULT> ListEditorView::HandleListMessage(UINT message, LPARAM lParam,
                                                         const std::function<void(int, int)>& moveItem) {
    if (message == DragListMessage())
        return OnDragList(*reinterpret_cast<const DRAGLISTINFO*>(lParam), moveItem);
    if (message == WM_DRAWITEM) {
        DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return std::nullopt;
}

// The ranking list reports a drag as moves of one row to its neighbour.
LRESULT ListEditorView::OnDragList(const DRAGLISTINFO& info, const std::function<void(int, int)>& moveItem) {
    if (info.hWnd != Control(controls_.chosen))
        return FALSE;
    switch (info.uNotification) {
    case DL_BEGINDRAG:
        dragRow_ = ::LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
        return dragRow_ >= 0 ? TRUE : FALSE;
    case DL_DRAGGING: {
        const int row = ::LBItemFromPt(info.hWnd, info.ptCursor, TRUE);
        while (row >= 0 && dragRow_ >= 0 && row != dragRow_) {
            const int next = dragRow_ + (row > dragRow_ ? 1 : -1);
            moveItem(dragRow_, next);
            dragRow_ = next;
        }
        if (dragRow_ >= 0)
            ::SendMessageW(info.hWnd, LB_SETCURSEL, static_cast<WPARAM>(dragRow_), 0);
        return DL_MOVECURSOR;
    }
    default:
        dragRow_ = -1;
        return FALSE;
    }
}

void ListEditorView::DrawRow(const DRAWITEMSTRUCT& draw) const {
    const int id = static_cast<int>(draw.CtlID);
    if ((id != controls_.available && id != controls_.chosen) || draw.itemID == static_cast<UINT>(-1))
        return;
    const int row = static_cast<int>(draw.itemID);
    const bool chosen = id == controls_.chosen;
    const std::vector<int>& list = chosen ? editor_.chosen : editor_.available;
    const int entry = chosen ? EntryOfChosenRow(row) : row;
    if (entry < 0 || entry >= static_cast<int>(list.size()))
        return;
    const int code = list[static_cast<size_t>(entry)];
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const UniqueBrush fill(::CreateSolidBrush(selected ? ::GetSysColor(COLOR_MENUHILIGHT) : kWhite));
    ::FillRect(draw.hDC, &draw.rcItem, fill.get());
    // The glyph of this scale, as wide as its cell.
    const UINT dpi = WindowDpi(page_);
    const int cell = ScaleToDpi(kGlyphCell, dpi);
    if (glyphs_ && code != 0) {
        if (const HBITMAP glyph = glyphs_->Glyph(code, dpi)) {
            const UniqueMemoryDC memory(::CreateCompatibleDC(draw.hDC));
            const SelectGuard select(memory.get(), glyph);
            const int side = GlyphCellSize(glyph);
            const int top = draw.rcItem.top + std::max(0, static_cast<int>(draw.rcItem.bottom - draw.rcItem.top - side) / 2);
            ::BitBlt(draw.hDC, draw.rcItem.left, top, side, side, memory.get(), 0, 0, SRCCOPY);
        }
    }
    const std::wstring text = std::wstring(L" ") + EntryName(code);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::TextOutW(draw.hDC, draw.rcItem.left + (glyphs_ ? cell : 0), draw.rcItem.top, text.c_str(),
               static_cast<int>(text.size()));
}

}  // namespace kz
