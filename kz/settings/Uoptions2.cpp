#include "kz/settings/Uoptions2.h"

#include "common/Dpi.h"
#include "kz/commands/ScaledPicture.h"
#include "kz/core/Pngpicture.h"
#include "kz/core/Programfolder.h"
#include "kz/core/Vwindowlist.h"
#include "kz/settings/BlacklistPage.h"
#include "kz/settings/ButtonsSetPage.h"
#include "kz/settings/CommandPage.h"
#include "kz/settings/CommonOptionsPage.h"
#include "kz/settings/MinimizeToBoxPage.h"
#include "kz/settings/Optionsids.h"
#include "kz/settings/Startupentry.h"
#include "kz/settings/TransparencyPage.h"
#include "kz/settings/TrayMenuPage.h"
#include "kz/settings/Usettingsfile.h"
#include "kz/settings/WinMenuPage.h"

namespace kz {

namespace {

// In pixels of the design font (see DesignScale).
constexpr int kClientWidth = 671;
constexpr int kClientHeight = 524;
constexpr int kTopPanelHeight = 41;
constexpr int kNavigationWidth = 168;
constexpr int kBottomPanelHeight = 40;
constexpr int kHintHeight = 22;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

constexpr COLORREF kHeadingColour = RGB(0x4D, 0x4D, 0x4D);
constexpr COLORREF kHintColour = RGB(0x00, 0x33, 0x99);
constexpr COLORREF kBylineColour = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr wchar_t kByline[] = L"by Quorvane Software";

const NavigationLabel* LabelOfNumber(int number) {
    for (const NavigationLabel& label : kNavigationLabels) {
        if (label.number == number)
            return &label;
    }
    return nullptr;
}

const NavigationLabel* LabelOfPage(Page page) {
    for (const NavigationLabel& label : kNavigationLabels) {
        if (label.page == page)
            return &label;
    }
    return nullptr;
}

// Keeps a typed pointer to a page that the frame asks for more.
template <typename Kind>
WindowPtr<OptionsPage> Remember(Kind*& typed, WindowPtr<Kind> page) {
    typed = page.get();
    return page;
}

int LabelNumberOfControl(HWND control) {
    const int id = ::GetDlgCtrlID(control) - IDC_LABEL_BASE;
    return LabelOfNumber(id) ? id : 0;
}

}  // namespace

// ---- Creation ----

WindowPtr<TfrmOptions> TfrmOptions::Create(HINSTANCE instance, HWND owner, OptionsHost& host) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                      ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    WindowPtr<TfrmOptions> form = DialogBase::Create(instance, IDD_OPTIONS, owner, instance, host);
    if (!form || !form->FormCreate())
        return nullptr;
    return form;
}

TfrmOptions::TfrmOptions(HINSTANCE instance, OptionsHost& host) : host_(host) { site_.instance = instance; }

bool TfrmOptions::FormCreate() {
    SetDefaultSettings(settings_);
    site_.background.reset(::CreateSolidBrush(kWhite));
    MakeFonts();
    if (!CreatePages())
        return false;
    LayOutFrame();
    CentreOnWorkArea();
    for (const NavigationLabel& label : kNavigationLabels)
        ::SetWindowSubclass(::GetDlgItem(Window(), IDC_LABEL_BASE + label.number), &LabelProcedure, 0,
                            reinterpret_cast<DWORD_PTR>(this));
    firstActivation_ = true;
    Label1Click(10);
    site_.modified = false;
    return true;
}

void TfrmOptions::MakeFonts() {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Window(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    site_.boldFont.reset(::CreateFontIndirectW(&font));
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    underlineFont_.reset(::CreateFontIndirectW(&font));
}

// In the order of the templates, so that the pages lie in the frame in that order.
bool TfrmOptions::CreatePages() {
    for (int i = 0; i < kPageCount; ++i) {
        pages_[static_cast<size_t>(i)] = MakePage(static_cast<Page>(i));
        if (!pages_[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

WindowPtr<OptionsPage> TfrmOptions::MakePage(Page page) {
    const HWND frame = Window();
    switch (page) {
    case Page::TrayMenu: return TrayMenuPage::Create(site_, frame);
    case Page::MinimizeToBox: return Remember(boxPage_, MinimizeToBoxPage::Create(site_, frame));
    case Page::Transparency: return TransparencyPage::Create(site_, frame);
    case Page::CommonOptions: return CommonOptionsPage::Create(site_, frame);
    case Page::ButtonsSet: return Remember(buttonsSet_, ButtonsSetPage::Create(site_, frame, host_.MainWindow()));
    case Page::WinMenu: return WinMenuPage::Create(site_, frame);
    case Page::Blacklist: return Remember(blacklistPage_, BlacklistPage::Create(site_, frame));
    default: return CommandPage::Create(site_, frame, KindOfPage(page));
    }
}

// The panels are given in pixels of the design font: the frame is laid out
// here, in those pixels scaled to the dialog's own font, which the system
// makes for the scale of the dialog's monitor.
void TfrmOptions::LayOutFrame() {
    scale_ = DesignScaleOf(Window());
    const int clientWidth = scale_.X(kClientWidth);
    const int clientHeight = scale_.Y(kClientHeight);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_EXSTYLE));
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectForDpi(frame, style, exStyle, WindowDpi(Window()));
    ::SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const int margin = scale_.X(8);
    const int buttonWidth = scale_.X(kButtonWidth);
    const int buttonHeight = scale_.Y(kButtonHeight);
    const int bottomPanelHeight = scale_.Y(kBottomPanelHeight);
    const int buttonTop = clientHeight - bottomPanelHeight + (bottomPanelHeight - buttonHeight) / 2;
    MoveChild(::GetDlgItem(Window(), IDC_RESTORE), margin, buttonTop, scale_.X(120), buttonHeight);
    int left = clientWidth - margin - buttonWidth;
    for (const int id : {IDHELP, IDCANCEL, IDOK}) {
        MoveChild(::GetDlgItem(Window(), id), left, buttonTop, buttonWidth, buttonHeight);
        left -= buttonWidth + margin;
    }
    const int navigationWidth = scale_.X(kNavigationWidth);
    const int topPanelHeight = scale_.Y(kTopPanelHeight);
    const int hintHeight = scale_.Y(kHintHeight);
    MoveChild(::GetDlgItem(Window(), IDC_HINT), navigationWidth + margin, topPanelHeight + scale_.Y(4),
              clientWidth - navigationWidth - 2 * margin, hintHeight - scale_.Y(6));
    const int pageTop = topPanelHeight + hintHeight;
    for (const auto& page : pages_)
        MoveChild(page->Window(), navigationWidth, pageTop, clientWidth - navigationWidth,
                  clientHeight - bottomPanelHeight - pageTop);
    for (const int id : {IDC_HEAD_PARAMETERS, IDC_HEAD_BUTTONS, IDC_HINT})
        ::SendDlgItemMessageW(Window(), id, WM_SETFONT, reinterpret_cast<WPARAM>(site_.boldFont.get()), FALSE);
}

void TfrmOptions::CentreOnWorkArea() {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    ::GetWindowRect(Window(), &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(Window(), nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Messages ----

LRESULT CALLBACK TfrmOptions::LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<TfrmOptions*>(data);
    try {
        if (message == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            self->Label1MouseMove(LabelNumberOfControl(window));
        } else if (message == WM_MOUSELEAVE) {
            self->Label1MouseLeave(LabelNumberOfControl(window));
        } else if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(window, &LabelProcedure, 0);
        }
    } catch (...) {
        // Hover effects only.
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR TfrmOptions::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;  // the dialog manager focuses the first control
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_PAINT: return OnPaint();
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            FormActivate();
        return FALSE;
    case WM_CLOSE: Cancel_ButtonClick(); return TRUE;
    case WM_DPICHANGED: return OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(site_.background.get());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default: return FALSE;
    }
}

INT_PTR TfrmOptions::OnCommand(WORD id, WORD code) {
    if (id >= IDC_LABEL_BASE && id < IDC_LABEL_BASE + 100 && code == STN_CLICKED) {
        Label1Click(id - IDC_LABEL_BASE);
        return TRUE;
    }
    switch (id) {
    case IDOK: OK_ButtonClick(); return TRUE;
    case IDCANCEL: Cancel_ButtonClick(); return TRUE;
    case IDC_RESTORE: Restore_ButtonClick(); return TRUE;
    case IDHELP: Help_ButtonClick(); return TRUE;
    default: return FALSE;
    }
}

INT_PTR TfrmOptions::OnCtlColor(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    ::SetBkColor(dc, kWhite);
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    if (const int number = LabelNumberOfControl(control); number != 0) {
        if (number == selectedLabel_)
            text = ::GetSysColor(COLOR_HOTLIGHT);
        else if (number == hoveredLabel_)
            text = ::GetSysColor(COLOR_ACTIVECAPTION);
    } else if (id == IDC_HEAD_PARAMETERS || id == IDC_HEAD_BUTTONS) {
        text = kHeadingColour;
    } else if (id == IDC_HINT) {
        text = kHintColour;
    }
    ::SetTextColor(dc, text);
    return reinterpret_cast<INT_PTR>(site_.background.get());
}

// Moved to a monitor of another scale: the system has made the dialog's
// font for it; the frame and the pages follow.
INT_PTR TfrmOptions::OnDpiChanged(const RECT& suggested) {
    ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    MakeFonts();
    LayOutFrame();
    for (const auto& page : pages_)
        page->FitToScale();
    Label1Click(selectedLabel_);
    ::InvalidateRect(Window(), nullptr, TRUE);
    return TRUE;
}

INT_PTR TfrmOptions::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    const UINT dpi = WindowDpi(Window());
    if (!banner_)
        banner_ = LoadPngPicture(site_.instance, L"OPTBANNER");
    if (dpi > kDesignDpi && !largeBanner_)
        largeBanner_ = LoadPngPicture(site_.instance, L"OPTBANNER2X");
    DrawPicture(dc, PictureForDpi(banner_.get(), largeBanner_.get(), dpi),
                RECT{0, 0, scale_.X(kClientWidth), scale_.Y(kTopPanelHeight)});
    RECT byline{0, 0, scale_.X(kClientWidth - 10), scale_.Y(kTopPanelHeight - 3)};
    const SelectGuard font(dc, site_.boldFont.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kBylineColour);
    ::DrawTextW(dc, kByline, -1, &byline, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    ::EndPaint(Window(), &paint);
    return TRUE;
}

INT_PTR TfrmOptions::OnSetCursor(HWND under) {
    if (LabelNumberOfControl(under) == 0 || ::GetParent(under) != Window())
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
    return Reply(TRUE);
}

// ---- Navigation ----

void TfrmOptions::FormActivate() {
    if (!firstActivation_)
        return;
    Label1Click(10);
    buttonsSet_->RedrawPreview();
    firstActivation_ = false;
}

void TfrmOptions::Label1Click(int number) {
    const NavigationLabel* label = LabelOfNumber(number);
    if (!label)
        return;
    selectedLabel_ = number;
    for (const NavigationLabel& each : kNavigationLabels) {
        const HWND control = ::GetDlgItem(Window(), IDC_LABEL_BASE + each.number);
        const HFONT font = each.number == number ? site_.boldFont.get()
                                                 : reinterpret_cast<HFONT>(::SendMessageW(Window(), WM_GETFONT, 0, 0));
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    SelectPage(label->page);
}

void TfrmOptions::SelectPage(Page page) {
    visiblePage_ = page;
    for (int i = 0; i < kPageCount; ++i)
        ::ShowWindow(PageWindow(static_cast<Page>(i)), static_cast<Page>(i) == page ? SW_SHOWNA : SW_HIDE);
}

void TfrmOptions::Label1MouseMove(int number) {
    const NavigationLabel* label = LabelOfNumber(number);
    if (!label)
        return;
    ::SetDlgItemTextW(Window(), IDC_HINT, label->hint);
    if (number == selectedLabel_ || number == hoveredLabel_)
        return;
    hoveredLabel_ = number;
    const HWND control = ::GetDlgItem(Window(), IDC_LABEL_BASE + number);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont_.get()), TRUE);
}

void TfrmOptions::Label1MouseLeave(int number) {
    if (number == hoveredLabel_)
        hoveredLabel_ = 0;
    if (number == selectedLabel_)
        return;
    const HWND control = ::GetDlgItem(Window(), IDC_LABEL_BASE + number);
    ::SendMessageW(control, WM_SETFONT, ::SendMessageW(Window(), WM_GETFONT, 0, 0), TRUE);
}

// ---- Opening, filling, storing ----

void TfrmOptions::OpenOptions() {
    LoadControls(true);
    ::ShowWindow(Window(), SW_SHOW);
    ::SetForegroundWindow(Window());
}

bool TfrmOptions::IsDialogMessage(MSG& msg) const {
    return Window() && ::IsWindowVisible(Window()) && ::IsDialogMessageW(Window(), &msg);
}

HWND TfrmOptions::Control(int id) const {
    if (const HWND own = ::GetDlgItem(Window(), id))
        return own;
    for (const auto& page : pages_) {
        if (const HWND control = ::GetDlgItem(page->Window(), id))
            return control;
    }
    return nullptr;
}

const ListEditor& TfrmOptions::ButtonEditor() const { return buttonsSet_->ButtonEditor(); }
TColorSelectBtn& TfrmOptions::ColorButton() { return buttonsSet_->ColorButton(); }
HBITMAP TfrmOptions::PreviewBitmap() const { return buttonsSet_->PreviewBitmap(); }
HBITMAP TfrmOptions::BoxPicture() const { return boxPage_->BoxPicture(); }

void TfrmOptions::LoadControls(bool reload) {
    if (reload) {
        if (!LoadSettings(settings_))
            SetDefaultSettings(settings_);
        // Whether the host starts at log-on is what the Run key says, not the
        // stored flag: the setup program asks it too, and users switch it off
        // in the system's list of start-up programs.
        settings_.RunOnStartUp = StartupEntryExists() ? 1 : 0;
    }
    for (const auto& page : pages_)
        page->Load(settings_);
    host_.SetCurrentBoxSize(settings_.BoxSize);
    site_.modified = false;
}

TfrmOptions::StoreOutcome TfrmOptions::StoreControls() {
    StoreOutcome outcome;
    for (const auto& page : pages_)
        page->Store(settings_);
    outcome.startupEntryFailed = settings_.RunOnStartUp ? !WriteStartupEntry(ProgramPath()) : !DeleteStartupEntry();
    host_.SetTipsEnabled(settings_.ShowTips);
    host_.SetCurrentBoxSize(settings_.BoxSize);
    outcome.settingsFailed = !SaveSettings(settings_);
    outcome.blacklistFailed = !blacklistPage_->Save();
    outcome.refused = host_.ApplyButtonSettings(settings_);
    return outcome;
}

void TfrmOptions::BroadcastSettingsChange() const {
    std::vector<HWND> windows;
    CollectTopLevelWindows(windows, host_.MainWindow());
    // A hung program must not hold the host: each window gets a short while.
    for (const HWND w : windows)
        ::SendMessageTimeoutW(w, WM_SYSCOLORCHANGE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kBroadcastTimeoutMs, nullptr);
}

void TfrmOptions::ReportStoreFailures(const StoreOutcome& outcome) const {
    std::wstring text;
    if (outcome.startupEntryFailed)
        text += std::wstring(L"Failed to set data for '") + kStartupValueName + L"': Barquill will not start with Windows.\n";
    if (outcome.settingsFailed)
        text += L"The settings could not be stored.\n";
    if (outcome.blacklistFailed)
        text += L"The list of excluded applications could not be stored.\n";
    if (text.empty())
        return;
    text += L"Everything else was stored.";
    host_.ShowMessage(text);
}

void TfrmOptions::OK_ButtonClick() {
    if (site_.modified) {
        const StoreOutcome outcome = StoreControls();
        BroadcastSettingsChange();
        site_.modified = false;
        for (const auto& page : pages_)
            page->ShowRefusedHotKeys(settings_, outcome.refused);
        ReportStoreFailures(outcome);
        if (!outcome.refused.empty()) {
            // Stays open on the first refused hotkey, so that the user sees why.
            if (const NavigationLabel* label = LabelOfPage(PageOfKind(outcome.refused.front().kind)))
                Label1Click(label->number);
            return;
        }
    }
    ::ShowWindow(Window(), SW_HIDE);
}

void TfrmOptions::Cancel_ButtonClick() { ::ShowWindow(Window(), SW_HIDE); }

void TfrmOptions::Restore_ButtonClick() {
    SetDefaultSettings(settings_);
    LoadControls(false);
    buttonsSet_->RedrawPreview();
    site_.modified = true;
}

void TfrmOptions::Help_ButtonClick() {
    if (const wchar_t* topic = HelpTopicOf(visiblePage_))
        host_.ShowHelpTopic(topic);
    else
        host_.ShowHelp();
}

}  // namespace kz
