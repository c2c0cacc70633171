#include "kz/commands/Impprofile.h"

#include "kz/commands/ForeignWindow.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Opacity.h"
#include "kz/commands/Process.h"
#include "kz/commands/WindowMetrics.h"
#include "kz/commands/Windowtexts.h"

#include <utility>

namespace kz {

namespace {

// Sizes the window without moving it or changing the z-order.
constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// How long record creation waits for a window to name its icon: a hung
// program must not hold up the host.
constexpr UINT kIconQueryTimeoutMs = 500;

LONG_PTR ExtendedStyle(HWND w) { return ::GetWindowLongPtrW(w, GWL_EXSTYLE); }

HICON AskIcon(HWND w, WPARAM kind) {
    DWORD_PTR icon = 0;
    ::SendMessageTimeoutW(w, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kIconQueryTimeoutMs, &icon);
    return reinterpret_cast<HICON>(icon);
}

HICON ClassIcon(HWND w, int index) { return reinterpret_cast<HICON>(::GetClassLongPtrW(w, index)); }

HICON SmallIconOf(HWND w) {
    if (HICON icon = AskIcon(w, ICON_SMALL2))
        return icon;
    if (HICON icon = AskIcon(w, ICON_SMALL))
        return icon;
    return ClassIcon(w, GCLP_HICONSM);
}

HICON BorrowedLargeIconOf(HWND w) {
    if (HICON icon = ClassIcon(w, GCLP_HICON))
        return icon;
    return AskIcon(w, ICON_BIG);
}

// The icon the shell associates with the program's file; owned by the caller.
HICON ExtractProgramIcon(const std::wstring& path) {
    // The shell may write the path of the file it took the icon from into
    // the buffer, which it expects to hold MAX_PATH characters.
    wchar_t buffer[MAX_PATH] = {};
    if (path.size() >= MAX_PATH)
        return nullptr;
    path.copy(buffer, path.size());
    WORD index = 0;
    return ::ExtractAssociatedIconW(::GetModuleHandleW(nullptr), buffer, &index);
}

}  // namespace

TImpProfile::TImpProfile() = default;

TImpProfile::~TImpProfile() {
    try {
        RestoreAll();
    } catch (...) {
        // The program is ending: what could not be restored stays as it is,
        // and the crash journal still names the hidden windows.
    }
}

void TImpProfile::Connect(HWND mainWindow, CommonTrayIcon* commonTray, BoxWindows* boxes,
                          HiddenWindowJournal* journal) {
    mainWindow_ = mainWindow;
    commonTray_ = commonTray;
    boxes_ = boxes;
    journal_ = journal;
}

std::unique_ptr<TWndParams> TImpProfile::MakeRecord(HWND w) const {
    auto record = std::make_unique<TWndParams>();
    record->ModulePath = ProgramPathOfWindow(w);
    record->Caption = WindowTextOf(w);
    record->ClassName = ClassNameOf(w);
    record->Transparency = ReadTransparency(w);
    record->SmallIcon = SmallIconOf(w);
    record->LargeIcon = BorrowedLargeIconOf(w);
    if (!record->LargeIcon) {
        if (UniqueIcon extracted(ExtractProgramIcon(record->ModulePath)); extracted) {
            record->LargeIcon = extracted.get();
            record->ExtractedIcon = std::make_shared<const UniqueIcon>(std::move(extracted));
        }
    }
    if (!record->SmallIcon && record->LargeIcon) {
        record->SmallIcon = record->LargeIcon;
        record->SmallIconSize = record->LargeIconSize;
    } else if (record->SmallIcon && !record->LargeIcon) {
        record->LargeIcon = record->SmallIcon;
        record->LargeIconSize = record->SmallIconSize;
    }
    record->Wnd = w;
    record->State.OnTop = IsOnTop(w);
    return record;
}

TWndParams& TImpProfile::GetProfile(HWND w) {
    if (TWndParams* record = current_.Find(w))
        return *record;
    return current_.Append(MakeRecord(w));
}

TWndParams* TImpProfile::FindSaved(HWND w) { return saved_.Find(w); }

void TImpProfile::JournalHidden(HWND w) {
    if (journal_)
        journal_->Hidden(w);
}

void TImpProfile::JournalShown(HWND w) {
    if (journal_)
        journal_->Shown(w);
}

void TImpProfile::SetVisible(HWND w, bool visible) {
    TWndParams& current = GetProfile(w);
    if (current.State.Visible == visible)
        return;
    SaveState(saved_, current, StateKind::Visibility);
    current.State.Visible = visible;
    const HWND owner = ::GetWindow(w, GW_OWNER);
    if (!visible) {
        // Journalled first: a crash after the hiding still finds them.
        JournalHidden(w);
        if (owner)
            JournalHidden(owner);
        ForeignWindow(w).Show(SW_HIDE);
        if (owner)
            ForeignWindow(owner).Show(SW_HIDE);
        return;
    }
    if (owner) {
        ForeignWindow(owner).Show(SW_SHOW);
        JournalShown(owner);
    }
    ForeignWindow(w).Show(SW_SHOW);
    JournalShown(w);
    ClearChange(saved_, w, StateKind::Visibility);
}

void TImpProfile::SetInTray(HWND w, bool on) {
    TWndParams& current = GetProfile(w);
    if (current.State.InTray == on)
        return;
    if (on) {
        SaveState(saved_, current, StateKind::Tray);
        current.State.InTray = true;
        trayIcons_.Add(mainWindow_, w, current.SmallIcon);
        return;
    }
    current.State.InTray = false;
    trayIcons_.Remove(w);
    ClearChange(saved_, w, StateKind::Tray);
}

void TImpProfile::SetInCommonTray(HWND w, bool on) {
    TWndParams& current = GetProfile(w);
    if (current.State.InCommonTray == on)
        return;
    if (on)
        SaveState(saved_, current, StateKind::CommonTray);
    current.State.InCommonTray = on;
    if (commonTray_) {
        if (on)
            commonTray_->ShowCommonTrayIcon();
        else
            commonTray_->HideCommonTrayIcon();
    }
    SetVisible(w, !on);
    if (!on)
        ClearChange(saved_, w, StateKind::CommonTray);
}

bool TImpProfile::IsOnTop(HWND w) const { return (ExtendedStyle(w) & WS_EX_TOPMOST) != 0; }

void TImpProfile::SetOnTop(HWND w, bool on) {
    TWndParams& current = GetProfile(w);
    const SavedState saved = SaveState(saved_, current, StateKind::OnTop);
    // The record may be older than a change made by someone else: the
    // window itself knows whether it was topmost before the first command.
    if (saved.created)
        saved.record->State.OnTop = IsOnTop(w);
    current.State.OnTop = on;
    ForeignWindow(w).SetPosition(on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (!on)
        ClearChange(saved_, w, StateKind::OnTop);
}

void TImpProfile::SendToBack(HWND w) {
    // Posted, so that the move happens after the command message that asked
    // for it has returned to the window's own thread.
    if (mainWindow_)
        ::PostMessageW(mainWindow_, WM_SENDTOBACK, 0, reinterpret_cast<LPARAM>(w));
}

std::optional<int> TImpProfile::LayeredPercent(HWND w) const {
    if (!layered_.Available())
        return std::nullopt;
    const std::optional<BYTE> alpha = layered_.ReadAlpha(w);
    return alpha ? std::optional<int>(PercentOfAlpha(*alpha)) : std::nullopt;
}

int TImpProfile::ReadTransparency(HWND w) const { return LayeredPercent(w).value_or(kOpaquePercent); }

int TImpProfile::GetTransparency(HWND w) {
    if (!layered_.Available())
        return kOpaquePercent;
    if (const std::optional<int> percent = LayeredPercent(w))
        return *percent;
    return GetProfile(w).Transparency;
}

bool TImpProfile::ApplyTransparency(const ForeignWindow& window, int percent) const {
    const LONG_PTR style = ExtendedStyle(window.Handle());
    const LONG_PTR wanted = percent != kOpaquePercent ? style | WS_EX_LAYERED
                                                      : style & ~static_cast<LONG_PTR>(WS_EX_LAYERED);
    if (wanted != style && !window.SetExtendedStyle(wanted))
        return false;
    if (percent == kOpaquePercent || !layered_.CanSetAlpha())
        return true;
    return layered_.SetAlpha(window.Handle(), AlphaOfPercent(percent));
}

void TImpProfile::ReportTransparencyFailure(HWND w) const {
    // A window that is gone fails silently, like every other command.
    if (mainWindow_ && ::IsWindow(w))
        ::PostMessageW(mainWindow_, WM_TRANSPARENCYFAILED, 0, 0);
}

void TImpProfile::SetTransparency(HWND w, int percent) {
    const ForeignWindow window(w);
    // Its style cannot be changed without waiting for it: nothing is changed
    // and nothing recorded.
    if (percent >= 0 && !window.Answers()) {
        ReportTransparencyFailure(w);
        return;
    }
    TWndParams& current = GetProfile(w);
    const SavedState saved = SaveState(saved_, current, StateKind::Transparency);
    if (saved.created)
        saved.record->Transparency = GetTransparency(w);
    current.Transparency = percent;
    if (percent < 0)
        return;
    const int limited = LimitPercent(percent);
    if (!ApplyTransparency(window, limited)) {
        ReportTransparencyFailure(w);
        return;
    }
    current.Transparency = limited;
    if (limited == kOpaquePercent)
        ClearChange(saved_, w, StateKind::Transparency);
}

void TImpProfile::ToggleTransparency(HWND w, bool on) { SetTransparency(w, on ? toggleLevel_ : kOpaquePercent); }

void TImpProfile::SetToggleLevel(int percent) { toggleLevel_ = ClampToggleLevel(percent); }

void TImpProfile::SetRolled(HWND w, bool on) {
    if (on)
        RollUp(w);
    else
        Unroll(w);
}

bool TImpProfile::IsRolled(HWND w) { return GetProfile(w).State.Rolled; }

void TImpProfile::RollUp(HWND w) {
    const ForeignWindow window(w);
    RECT rect;
    // Resized later, once the library's wait is over, the window would
    // report the roll as a resize by hand and lose it: a window that does
    // not answer is not rolled up.
    if (!::GetWindowRect(w, &rect) || !window.Answers())
        return;
    TWndParams& current = GetProfile(w);
    TWndParams& saved = *SaveState(saved_, current, StateKind::Roll).record;
    // Rolled up again, the window has its caption's height: the height to
    // unroll to is the one from before the first roll-up.
    if (!current.State.Rolled)
        saved.RolledHeight = rect.bottom - rect.top;
    current.State.Rolled = true;
    ResizeForRoll(window, rect.right - rect.left, RolledUpHeight(w));
}

void TImpProfile::ResizeForRoll(const ForeignWindow& window, int width, int height) {
    // The window's library reports the resize back at once, from inside this
    // call; that report is the roll itself, not a resize by someone else.
    const HWND outer = std::exchange(rolling_, window.Handle());
    window.SetPosition(nullptr, 0, 0, width, height, kResizeOnly);
    rolling_ = outer;
}

std::optional<int> TImpProfile::TakeRollChange(HWND w) {
    const TWndParams* saved = saved_.Find(w);
    if (!saved || !(saved->Changes & kChangedRoll))
        return std::nullopt;
    const int height = saved->RolledHeight;
    ClearChange(saved_, w, StateKind::Roll);
    return height;
}

void TImpProfile::Unroll(HWND w) {
    if (!saved_.Find(w))
        return;
    RECT rect;
    // A window that does not answer gets its height once it runs again; the
    // resize it reports then finds no roll left to forget.
    if (const std::optional<int> height = TakeRollChange(w); height && ::GetWindowRect(w, &rect))
        ResizeForRoll(ForeignWindow(w), rect.right - rect.left, *height);
    GetProfile(w).State.Rolled = false;
}

void TImpProfile::WindowSized(HWND w) {
    if (w == rolling_)
        return;
    if (TWndParams* current = current_.Find(w))
        current->State.Rolled = false;
    const std::optional<int> height = TakeRollChange(w);
    if (!height || !(::GetWindowLongPtrW(w, GWL_STYLE) & WS_MAXIMIZE))
        return;
    // Leaving the maximised state gives the height from before the roll-up.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(w, &placement))
        return;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + *height;
    ForeignWindow(w).SetPlacement(placement);
}

void TImpProfile::SetInBox(HWND w, bool on) {
    TWndParams& current = GetProfile(w);
    if (!on) {
        if (!current.State.InBox)
            return;
        current.State.InBox = false;
        ClearChange(saved_, w, StateKind::Box);
        if (boxes_)
            boxes_->RemoveBox(w);
        return;
    }
    SaveState(saved_, current, StateKind::Box);
    if (current.State.InBox)
        return;
    current.State.InBox = true;
    if (boxes_ && !boxes_->HasBox(w))
        boxes_->AddBox(w, current.LargeIcon, current.LargeIconSize);
}

bool TImpProfile::HasBox(HWND w) const { return boxes_ && boxes_->HasBox(w); }

void TImpProfile::PlaceBox(int index) {
    if (boxes_)
        boxes_->PlaceBox(index);
}

void TImpProfile::SetArrangement(int code) {
    arrangement_ = code;
    if (boxes_)
        boxes_->SetArrangement(code);
}

void TImpProfile::RunCopy(HWND w) {
    const std::wstring& path = GetProfile(w).ModulePath;
    if (!path.empty())
        ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TImpProfile::Restore(HWND w, const RestoreStep& step) {
    const bool on = step.value != 0;
    switch (step.kind) {
    case StateKind::Transparency: SetTransparency(w, step.value); break;
    case StateKind::Tray: SetInTray(w, on); break;
    case StateKind::Visibility: SetVisible(w, on); break;
    case StateKind::OnTop: SetOnTop(w, on); break;
    case StateKind::Roll: SetRolled(w, on); break;
    case StateKind::Box: SetInBox(w, on); break;
    case StateKind::CommonTray: SetInCommonTray(w, on); break;
    }
}

void TImpProfile::RestoreWindow(HWND w) {
    const TWndParams* saved = saved_.Find(w);
    if (!saved)
        return;
    for (const RestoreStep& step : RestorePlan(*saved))
        Restore(w, step);
    saved_.Remove(w);
}

void TImpProfile::ForgetWindow(HWND w) {
    RestoreWindow(w);
    trayIcons_.Remove(w);
    current_.Remove(w);
    saved_.Remove(w);
}

void TImpProfile::RestoreAll() {
    while (saved_.Count() > 0)
        RestoreWindow(saved_[0].Wnd);
}

void TImpProfile::AddTrayIconsAgain() { trayIcons_.AddAgain(); }

}  // namespace kz
