#include "kz/core/Umain.h"

#include "common/BindFunction.h"
#include "common/Protocol.h"
#include "common/Product.h"
#include "kz/core/Blocksecondrun.h"
#include "kz/core/Commanddispatch.h"
#include "kz/core/Commandtarget.h"
#include "kz/core/Errorbox.h"
#include "kz/core/Fileversion.h"
#include "kz/core/Pngpicture.h"
#include "kz/core/Programfolder.h"
#include "common/Dpi.h"
#include "kz/commands/ForeignWindow.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Menupicture.h"
#include "kz/commands/Menupopup.h"
#include "kz/commands/ScaledPicture.h"
#include "kz/commands/Impprofile.h"
#include "kz/core/Transparencypresets.h"
#include "kz/core/Traytips.h"
#include "kz/core/Uhtmlhelp.h"
#include "kz/settings/Uoptions2.h"

#include <shlwapi.h>

#include <ctime>
#include <string>

namespace kz {

namespace {

enum Timer : UINT_PTR { kTimer1 = 1, kTimer2 = 2, kCompanionTimer = 3 };
// Only a 64-bit host has programs of the other bitness beside its own.
constexpr bool kHostHasCompanion = sizeof(void*) == 8;
constexpr UINT kSplashMs = 3000;

// The picture's size, and where the labels lie on it, at 100 %.
constexpr SIZE kPictureSize{497, 297};
constexpr RECT kVersionRect{368, 12, 478, 28};
constexpr RECT kSiteLinkRect{368, 277, 490, 290};
constexpr int kVersionFontHeight = 13;
constexpr int kSiteLinkFontHeight = 11;
constexpr COLORREF kVersionColour = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kSiteLinkColour = RGB(0, 0, 0x80);

enum WndTrayItem : UINT { kShow1 = 1, kClose1 };

// The shell's major version, 0 when it does not tell.
DWORD ShellMajorVersion() {
    const UniqueModule shell(::LoadLibraryW(L"shell32.dll"));
    const DLLGETVERSIONPROC getVersion = BindFunction(shell.get(), "DllGetVersion");
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    return getVersion && SUCCEEDED(getVersion(&version)) ? version.dwMajorVersion : 0;
}

// Lets what the library sends (the eight commands, and its reports that a
// window has gone or was resized) through to a host that runs elevated,
// which hears of programs below it only so. For the main window alone where
// the system can (Windows 7), for the process before that (Vista); where
// there is no message filter, nothing is filtered.
void OpenMessageFilter(HWND window) {
    using ChangeForWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ChangeForProcess = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW and MSGFLT_ADD
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const ChangeForWindow forWindow = BindFunction(user32, "ChangeWindowMessageFilterEx");
    const ChangeForProcess forProcess = BindFunction(user32, "ChangeWindowMessageFilter");
    const auto open = [&](UINT message) {
        if (forWindow)
            forWindow(window, message, kAllow, nullptr);
        else if (forProcess)
            forProcess(message, kAllow);
    };
    for (UINT message = kFirstCommandMessage; message <= kLastCommandMessage; ++message)
        open(message);
    open(HM_WINDOW_GONE);
    open(HM_WINDOW_SIZED);
}

// The balloon tip of the first refused command on a window of a program
// that runs as administrator.
std::wstring ElevatedWindowTip() {
    return std::wstring(L"This window belongs to a program that runs as administrator, and Windows keeps other "
                        L"programs from changing it. To use the buttons on such windows, start ") +
           kApplicationTitle + L" as administrator.";
}

UniqueMenu MakeWndTrayMenu() {
    UniqueMenu menu(::CreatePopupMenu());
    ::AppendMenuW(menu.get(), MF_STRING, kShow1, L"&Show window");
    ::AppendMenuW(menu.get(), MF_STRING, kClose1, L"&Close window");
    ::SetMenuDefaultItem(menu.get(), kShow1, FALSE);
    return menu;
}

// The items' identifiers are their tags.
UniqueMenu MakeTransparencyMenu() {
    UniqueMenu menu(::CreatePopupMenu());
    for (const TransparencyPreset& preset : kTransparencyPresets) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.fType = MFT_STRING | MFT_RADIOCHECK;
        item.wID = static_cast<UINT>(preset.tag);
        item.dwTypeData = const_cast<wchar_t*>(preset.caption);
        ::InsertMenuItemW(menu.get(), static_cast<UINT>(::GetMenuItemCount(menu.get())), TRUE, &item);
    }
    return menu;
}

UniqueFont MakeFont(int height, int weight, bool italic, bool underline, const wchar_t* face) {
    return UniqueFont(::CreateFontW(height, 0, 0, 0, weight, italic, underline, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, face));
}

void DrawLabel(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT rect) {
    const SelectGuard select(dc, font);
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

RECT ScaledRect(const RECT& rect, UINT dpi) {
    return RECT{ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
                ScaleToDpi(rect.bottom, dpi)};
}

POINT CursorPosition() {
    POINT point{};
    ::GetCursorPos(&point);
    return point;
}

}  // namespace

TTQuorvane_Invisible_Buttons::TTQuorvane_Invisible_Buttons(TImpProfile& executor, UniqueWindow applicationWindow,
                                                           UniqueBitmap picture)
    : executor_(executor), applicationWindow_(std::move(applicationWindow)), Image1(std::move(picture)) {
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    exitRequestMessage_ = ExitRequestMessage();
    companionReportMessage_ = CompanionReportMessage();
    companionEndedMessage_ = CompanionEndedMessage();
    popupWndTray_ = MakeWndTrayMenu();
    popupTransparency_ = MakeTransparencyMenu();
    if (const std::wstring version = ReadFileVersion(ProgramPath()); !version.empty())
        lbVersion = version;
    random_.seed(static_cast<std::mt19937::result_type>(std::time(nullptr)));
}

WindowPtr<TTQuorvane_Invisible_Buttons> TTQuorvane_Invisible_Buttons::Create(TImpProfile& executor, HINSTANCE instance,
                                                                             const SettingsRecord& settings) {
    UniqueBitmap picture = LoadPngPicture(instance, L"SPLASH");
    // At 100 % until it exists and knows its monitor's scale.
    const SIZE size = kPictureSize;
    UniqueWindow applicationWindow(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", kApplicationTitle, WS_POPUP, 0, 0,
                                                     0, 0, nullptr, nullptr, instance, nullptr));
    const HWND owner = applicationWindow.get();
    const auto icon =
        static_cast<HICON>(::LoadImageW(instance, L"TRAYICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    WindowPtr<TTQuorvane_Invisible_Buttons> main = WindowBase::Create(
        WindowClass{kMainWindowClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon},
        WindowSpec{WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, kApplicationTitle,
                   (::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2,
                   size.cx, size.cy, owner},
        executor, std::move(applicationWindow), std::move(picture));
    if (main)
        main->Start(settings);
    return main;
}

void TTQuorvane_Invisible_Buttons::Start(const SettingsRecord& settings) {
    const HWND window = Window();
    FitToScale(WindowDpi(window));
    CentreOnMonitor();
    OpenMessageFilter(window);
    // Before the tray icon: whoever sees the icon may use the hotkeys.
    buttonManager = std::make_unique<TBtnManager>(executor_, window, settings);
    hotKeys_ = std::make_unique<TghkLoader>(window, MayTouchWindow);
    hotKeys_->Reload(settings);

    balloonsSupported = ShellMajorVersion() > 5;
    tipsActive = settings.ShowTips && balloonsSupported;
    mainTrayIcon.Add(window, tipsActive);
    timer2Interval_ = kFirstTipDelayMs;
    if (tipsActive)
        ::SetTimer(window, kTimer2, timer2Interval_, nullptr);

    ::SetTimer(window, kTimer1, kSplashMs, nullptr);
    if (settings.ShowSplash) {
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::SetForegroundWindow(window);
    }
}

bool TTQuorvane_Invisible_Buttons::InstallHook() {
    switch (hookLibrary.Install(Window())) {
    case HookLibrary::InstallResult::Installed: return true;
    case HookLibrary::InstallResult::LibraryMissing: throw StartupError(L"Unable to load library: trelmo.dll");
    case HookLibrary::InstallResult::ExportsMissing: ShowPlainMessage(L"Library trelmo.dll corrupted!"); break;
    case HookLibrary::InstallResult::HookRefused: ShowPlainMessage(L"Unable to setup hook subsystem"); break;
    }
    ::PostQuitMessage(0);
    return false;
}

void TTQuorvane_Invisible_Buttons::SetTipsEnabled(bool enabled) {
    if (!balloonsSupported)
        return;
    tipsActive = enabled;
    if (enabled)
        ::SetTimer(Window(), kTimer2, timer2Interval_, nullptr);
    else
        ::KillTimer(Window(), kTimer2);
}

std::vector<RefusedHotKey> TTQuorvane_Invisible_Buttons::ApplyButtonSettings(const SettingsRecord& settings) {
    // The hotkeys carry positions in the button row: both follow the same row.
    std::vector<RefusedHotKey> refused = hotKeys_->Reload(settings);
    buttonManager->Configure(settings);
    return refused;
}

void TTQuorvane_Invisible_Buttons::ShowAbout() {
    ::ShowWindow(Window(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Window());
}

void TTQuorvane_Invisible_Buttons::ShowHelp() { kz::ShowHelp(); }

void TTQuorvane_Invisible_Buttons::OpenOptions() {
    if (options_)
        options_->OpenOptions();
}

void TTQuorvane_Invisible_Buttons::RequestExit() {
    exitRequested = true;
    ::PostMessageW(Window(), WM_CLOSE, 0, 0);
}

LRESULT TTQuorvane_Invisible_Buttons::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsWindowCommandMessage(message))
        return OnWindowCommand(message, wParam, lParam);
    if (message >= HM_FIRST_BUTTON_MESSAGE && message <= HM_LAST_BUTTON_MESSAGE)
        return OnButtonMessage(message, reinterpret_cast<HWND>(lParam), static_cast<int>(wParam));
    if (message == taskbarCreatedMessage_)
        return OnTaskbarCreated();
    if (message == exitRequestMessage_) {
        RequestExit();
        return 0;
    }
    if (message == companionReportMessage_)
        return OnCompanionReport(wParam);
    if (message == companionEndedMessage_)
        return OnCompanionEnded();
    switch (message) {
    case WM_TIMER: return OnTimer(wParam);
    case WM_HOTKEY: return OnHotKey(wParam);
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: return OnStyleChanged(message, wParam, lParam);
    case WM_TRAYNOTIFY: return OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
    case WM_PRESETMENU: return OnPresetMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_SENDTOBACK: return OnSendToBack(reinterpret_cast<HWND>(lParam));
    case WM_TRANSPARENCYFAILED: return OnTransparencyFailed();
    case WM_ELEVATEDWINDOW: return OnElevatedWindow();
    case WM_PAINT: return OnPaint();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnClick(PointOf(lParam));
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case WM_ACTIVATE: return OnActivate(wParam);
    case WM_ACTIVATEAPP: return OnActivateApp(wParam != FALSE);
    case WM_CLOSE: return OnClose();
    case WM_MEASUREITEM: return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DPICHANGED: return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_QUERYENDSESSION: return TRUE;
    case WM_DESTROY: return OnDestroy();
    default: return ::DefWindowProcW(Window(), message, wParam, lParam);
    }
}

LRESULT TTQuorvane_Invisible_Buttons::OnTimer(UINT_PTR timer) {
    switch (timer) {
    case kTimer1: Timer1Timer(); break;
    case kTimer2: Timer2Timer(); break;
    case kCompanionTimer: CompanionTimer(); break;
    default: break;
    }
    return 0;
}

void TTQuorvane_Invisible_Buttons::Timer1Timer() {
    ::KillTimer(Window(), kTimer1);
    Hide();
}

void TTQuorvane_Invisible_Buttons::Timer2Timer() {
    if (!tipsActive) {
        ::KillTimer(Window(), kTimer2);
        return;
    }
    timer2Interval_ = NextTipIntervalMs(random_());
    ::SetTimer(Window(), kTimer2, timer2Interval_, nullptr);
    mainTrayIcon.ShowTip(TrayTipTexts[static_cast<size_t>(TipIndex(random_()))]);
}

LRESULT TTQuorvane_Invisible_Buttons::OnTrayNotify(UINT iconId, UINT mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_RBUTTONDOWN)
        return 0;
    if (iconId == kHostTrayIconId) {
        if (mouseMessage == WM_RBUTTONDOWN && trayMenu_) {
            trayMenu_->ShowMainTrayMenu(CursorPosition());
        } else if (mouseMessage == WM_LBUTTONDOWN) {
            OpenOptions();
        }
    } else if (iconId == kCommonTrayIconId) {
        if (trayMenu_)
            trayMenu_->ShowCommonTrayMenu(CursorPosition());
    } else if (const HWND w = executor_.WindowOfTrayIcon(iconId)) {
        OnWindowTrayIconClick(w, mouseMessage);
    }
    return 0;
}

void TTQuorvane_Invisible_Buttons::OnWindowTrayIconClick(HWND w, UINT mouseMessage) {
    TrayWnd = IdentityOf(w);
    if (mouseMessage == WM_RBUTTONDOWN) {
        switch (ShowPopupMenu(Window(), popupWndTray_.get(), CursorPosition())) {
        case kShow1: Show1Click(); break;
        case kClose1: Close1Click(); break;
        default: break;
        }
        return;
    }
    executor_.RestoreWindow(w);
    ::SetForegroundWindow(w);
    ForeignWindow(w).Show(SW_SHOW);
}

void TTQuorvane_Invisible_Buttons::Show1Click() {
    if (const HWND w = executor_.RecordedWindow(TrayWnd)) {
        executor_.SetVisible(w, true);
        executor_.SetInTray(w, false);
    }
}

void TTQuorvane_Invisible_Buttons::Close1Click() {
    // Posted: a program that asks whether to save its work must not hold the host.
    if (const HWND w = WindowOf(TrayWnd))
        ::PostMessageW(w, WM_CLOSE, 0, 0);
}

LRESULT TTQuorvane_Invisible_Buttons::OnPresetMenu(HWND target, LPARAM screenPoint) {
    if (!MayTouchWindow(target))
        return 0;
    transparencyTarget = target;
    popupTransparencyPopup();
    if (const UINT tag = ShowPopupMenu(Window(), popupTransparency_.get(), PresetMenuPointOf(screenPoint)))
        N1001Click(static_cast<int>(tag));
    return 0;
}

void TTQuorvane_Invisible_Buttons::popupTransparencyPopup() {
    const int tag = PresetToCheck(executor_.GetTransparency(transparencyTarget));
    for (UINT position = 0; position < kTransparencyPresets.size(); ++position) {
        if (kTransparencyPresets[position].tag == tag)
            ::CheckMenuRadioItem(popupTransparency_.get(), 0, static_cast<UINT>(kTransparencyPresets.size() - 1),
                                 position, MF_BYPOSITION);
    }
}

void TTQuorvane_Invisible_Buttons::N1001Click(int tag) {
    executor_.SetTransparency(transparencyTarget, tag);
    ::SetForegroundWindow(transparencyTarget);
}

LRESULT TTQuorvane_Invisible_Buttons::OnSendToBack(HWND target) {
    // Without SWP_NOACTIVATE the move would activate the window, which
    // brings it straight back to the top.
    if (MayTouchWindow(target))
        ForeignWindow(target).SetPosition(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnTransparencyFailed() {
    ::MessageBoxW(nullptr, L"Cannot change window transparency", kApplicationTitle, MB_OK | MB_ICONSTOP | MB_TOPMOST);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnElevatedWindow() {
    mainTrayIcon.ShowTip(ElevatedWindowTip().c_str());
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnWindowCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND w = reinterpret_cast<HWND>(wParam);
    if (message == HM_WINDOW_GONE && buttonManager)
        buttonManager->ForgetWindow(w);
    DispatchWindowCommand(executor_, message, w, lParam);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnButtonMessage(UINT message, HWND target, int index) {
    if (buttonManager)
        buttonManager->HandleMessage(message, target, index);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnHotKey(WPARAM id) {
    if (hotKeys_)
        hotKeys_->HandleHotKey(id);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnStyleChanged(UINT message, WPARAM wParam, LPARAM lParam) {
    if (buttonManager)
        buttonManager->StyleChanged();
    return ::DefWindowProcW(Window(), message, wParam, lParam);
}

LRESULT TTQuorvane_Invisible_Buttons::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    const SIZE size = PictureSize();
    // Above 100 % from the picture drawn at twice the size, never a stretched one.
    if (dpi_ > kDesignDpi && !largePicture_)
        largePicture_ = LoadPngPicture(::GetModuleHandleW(nullptr), L"SPLASH2X");
    DrawPicture(dc, PictureForDpi(Image1.get(), largePicture_.get(), dpi_), RECT{0, 0, size.cx, size.cy});
    ::SetBkMode(dc, TRANSPARENT);
    DrawLabel(dc, versionFont_.get(), kVersionColour, lbVersion, ScaledRect(kVersionRect, dpi_));
    DrawLabel(dc, siteLinkFont_.get(), kSiteLinkColour, kProductSiteCaption, ScaledRect(kSiteLinkRect, dpi_));
    ::EndPaint(Window(), &paint);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnClick(POINT point) {
    if (const RECT link = ScaledRect(kSiteLinkRect, dpi_); ::PtInRect(&link, point))
        siteLinkClick();
    else
        Image1Click();
    return 0;
}

void TTQuorvane_Invisible_Buttons::Image1Click() { Hide(); }

void TTQuorvane_Invisible_Buttons::siteLinkClick() { OpenUrl(kProductSite, SW_HIDE); }

LRESULT TTQuorvane_Invisible_Buttons::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    POINT point = CursorPosition();
    ::ScreenToClient(Window(), &point);
    if (const RECT link = ScaledRect(kSiteLinkRect, dpi_); LOWORD(lParam) == HTCLIENT && ::PtInRect(&link, point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return ::DefWindowProcW(Window(), WM_SETCURSOR, wParam, lParam);
}

LRESULT TTQuorvane_Invisible_Buttons::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) {
        const SIZE size = PictureSize();
        ::SetWindowPos(Window(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnActivateApp(bool active) {
    if (!active)
        Hide();
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnClose() {
    if (exitRequested)
        ::DestroyWindow(Window());
    else
        Hide();
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnDestroy() {
    // The companion first: its windows lose their buttons before the
    // executor, after this window, gives every window back.
    ::KillTimer(Window(), kCompanionTimer);
    companion_.reset();
    hookLibrary.Remove();
    mainTrayIcon.Delete();
    hotKeys_.reset();  // gives every combination back
    buttonManager.reset();
    ::PostQuitMessage(0);
    return 0;
}

LRESULT TTQuorvane_Invisible_Buttons::OnTaskbarCreated() {
    mainTrayIcon.AddAgain();
    executor_.AddTrayIconsAgain();
    if (trayMenu_)
        trayMenu_->AddCommonIconAgain();
    return 0;
}

void TTQuorvane_Invisible_Buttons::StartCompanion() {
    if constexpr (kHostHasCompanion) {
        companion_ = std::make_unique<CompanionProcess>(Window());
        if (!companion_->Start())
            companion_.reset();
    }
}

LRESULT TTQuorvane_Invisible_Buttons::OnCompanionReport(WPARAM report) {
    if (companion_)
        companion_->Reported(report);
    return 0;
}

// A companion that dies is started again, at once or once its budget of
// starts allows; one that never got its hook in place is not.
LRESULT TTQuorvane_Invisible_Buttons::OnCompanionEnded() {
    if (!companion_)
        return 0;
    const DWORD delay = companion_->RestartDelay();
    if (delay == 0)
        companion_->Start();
    else if (delay != INFINITE)
        ::SetTimer(Window(), kCompanionTimer, delay, nullptr);
    return 0;
}

void TTQuorvane_Invisible_Buttons::CompanionTimer() {
    ::KillTimer(Window(), kCompanionTimer);
    if (companion_)
        companion_->Start();
}

LRESULT TTQuorvane_Invisible_Buttons::OnDpiChanged(UINT dpi, const RECT& suggested) {
    FitToScale(dpi);
    ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Window(), nullptr, TRUE);
    mainTrayIcon.ShowAtScale(dpi);
    return 0;
}

void TTQuorvane_Invisible_Buttons::FitToScale(UINT dpi) {
    dpi_ = dpi;
    versionFont_ = MakeFont(-ScaleToDpi(kVersionFontHeight, dpi), FW_BOLD, true, false, L"Arial");
    siteLinkFont_ = MakeFont(-ScaleToDpi(kSiteLinkFontHeight, dpi), FW_BOLD, false, true, L"MS Sans Serif");
}

void TTQuorvane_Invisible_Buttons::CentreOnMonitor() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(Window(), MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const RECT& screen = monitor.rcMonitor;
    const SIZE size = PictureSize();
    ::SetWindowPos(Window(), nullptr, screen.left + (screen.right - screen.left - size.cx) / 2,
                   screen.top + (screen.bottom - screen.top - size.cy) / 2, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TTQuorvane_Invisible_Buttons::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    return MeasureMenuPicture(measure) ? TRUE : FALSE;
}

LRESULT TTQuorvane_Invisible_Buttons::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    return DrawMenuPicture(draw) ? TRUE : FALSE;
}

void TTQuorvane_Invisible_Buttons::Hide() { ::ShowWindow(Window(), SW_HIDE); }

SIZE TTQuorvane_Invisible_Buttons::PictureSize() const {
    return SIZE{ScaleToDpi(kPictureSize.cx, dpi_), ScaleToDpi(kPictureSize.cy, dpi_)};
}

}  // namespace kz
