#include "kz/settings/OptionsPage.h"

#include "common/Dpi.h"
#include "kz/settings/Optionseditors.h"

namespace kz {

namespace {

constexpr COLORREF kWarningColour = RGB(0xC0, 0x00, 0x00);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// The lines that say why an edit or a hotkey was refused.
bool IsWarningLine(int id) {
    return (id > IDC_HOTKEY_STATUS_BASE && id <= IDC_HOTKEY_STATUS_BASE + kLastButtonCode) ||
           id == IDC_BUTTONS_LIMIT || id == IDC_MENUITEMS_LIMIT;
}

}  // namespace

void OptionsPage::ShowRefusedHotKeys(const SettingsRecord&, const std::vector<RefusedHotKey>&) {}

INT_PTR OptionsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); return FALSE;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(Background());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return FALSE;
    }
}

void OptionsPage::OnInitDialog() {
    ::SendMessageW(Item(IDC_PAGE_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(site_.boldFont.get()), FALSE);
}

void OptionsPage::FitToScale() {
    ::SendMessageW(Item(IDC_PAGE_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(site_.boldFont.get()), TRUE);
}

int OptionsPage::ScaledPixels(int designPixels) const { return ScaleToDpi(designPixels, WindowDpi(Window())); }

INT_PTR OptionsPage::OnCtlColor(HDC dc, HWND control) const {
    ::SetBkColor(dc, kWhite);
    ::SetTextColor(dc, IsWarningLine(::GetDlgCtrlID(control)) ? kWarningColour : ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<INT_PTR>(Background());
}

bool OptionsPage::Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionsPage::SetChecked(int id, bool checked) {
    ::SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

DesignScale DesignScaleOf(HWND dialog) {
    RECT units{0, 0, 4, 8};
    if (!::MapDialogRect(dialog, &units))
        return {};
    return {static_cast<int>(units.right), static_cast<int>(units.bottom)};
}

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveChild(HWND child, int x, int y, int width, int height) {
    ::SetWindowPos(child, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kz
