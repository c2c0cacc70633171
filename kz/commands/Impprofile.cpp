#include "kz/commands/Impprofile.h"

#include "kz/commands/ForeignWindow.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Opacity.h"
#include "kz/commands/Process.h"
#include "kz/commands/WindowMetrics.h"
#include "kz/commands/Windowtexts.h"

#include <algorithm>
#include <utility>

namespace kz {

namespace {

// How often the records of windows that have gone are dropped.
constexpr UINT kDropGoneWindowsMs = 5000;
// The early sweep after a window was let go: long enough for a window that
// was only on its way out to have gone.
constexpr UINT kReleasedWindowSweepMs = 250;
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
        Connect(nullptr, nullptr, nullptr, nullptr);
    } catch (...) {
        // The program is ending: what could not be restored stays as it is,
        // and the crash journal still names the changed windows.
    }
}

void TImpProfile::Connect(HWND mainWindow, CommonTrayIcon* commonTray, BoxWindows* boxes, ChangeJournal* journal) {
    StopSweeping();
    mainWindow_ = mainWindow;
    commonTray_ = commonTray;
    boxes_ = boxes;
    journal_ = journal;
    if (current_.Count() > 0 || saved_.Count() > 0)
        SweepIn(kDropGoneWindowsMs);
}

void TImpProfile::SweepIn(UINT milliseconds) {
    if (mainWindow_)
        sweeping_ = ::SetTimer(mainWindow_, reinterpret_cast<UINT_PTR>(this), milliseconds, &DropGoneWindowsTimer) != 0;
}

void TImpProfile::StopSweeping() {
    if (sweeping_ && mainWindow_)
        ::KillTimer(mainWindow_, reinterpret_cast<UINT_PTR>(this));
    sweeping_ = false;
}

void CALLBACK TImpProfile::DropGoneWindowsTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    auto& executor = *reinterpret_cast<TImpProfile*>(id);
    try {
        executor.DropGoneWindows();
    } catch (...) {
        // Tried again at the next tick.
    }
    // At the slow pace, should the sweep have been brought forward; and not
    // at all while no window is recorded, so that an idle host sleeps.
    if (executor.current_.Count() > 0 || executor.saved_.Count() > 0)
        executor.SweepIn(kDropGoneWindowsMs);
    else
        executor.StopSweeping();
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
    DWORD processId = 0;
    ::GetWindowThreadProcessId(w, &processId);
    record->ProcessId = processId;
    record->State.OnTop = IsOnTop(w);
    return record;
}

bool TImpProfile::StillSame(const TWndParams& record) { return WindowOf(record.Identity()) != nullptr; }

TWndParams& TImpProfile::GetProfile(HWND w) {
    if (TWndParams* record = current_.Find(w)) {
        // The record of a window that has gone is left to the next round of
        // DropGoneWindows: a command holds on to it while it runs.
        if (StillSame(*record) || !::IsWindow(w))
            return *record;
        Drop(w);
    }
    if (!sweeping_)
        SweepIn(kDropGoneWindowsMs);
    return current_.Append(MakeRecord(w));
}

TWndParams* TImpProfile::FindSaved(HWND w) { return saved_.Find(w); }

HWND TImpProfile::RecordedWindow(const WindowIdentity& identity) const {
    const HWND w = WindowOf(identity);
    const TWndParams* record = w ? current_.Find(w) : nullptr;
    return record && record->Identity() == identity ? w : nullptr;
}

void TImpProfile::Journal(HWND w) {
    if (!journal_)
        return;
    JournalEntry entry;
    if (const TWndParams* saved = saved_.Find(w))
        entry = JournalEntryOf(*saved);
    const uint64_t handle = StoredHandle(w);
    for (int i = 0; i < saved_.Count(); ++i) {
        if (saved_[i].HiddenOwner.window == handle && handle != 0) {
            entry.identity = saved_[i].HiddenOwner;
            entry.changes |= kJournalHidden;
        }
    }
    if (entry.changes)
        journal_->Put(entry);
    else
        journal_->Drop(w);
}

void TImpProfile::Drop(HWND w) {
    const TWndParams* current = current_.Find(w);
    const bool inCommonTray = current && current->State.InCommonTray;
    const TWndParams* saved = saved_.Find(w);
    const HWND owner = saved ? HandleOf(saved->HiddenOwner.window) : nullptr;
    trayIcons_.Remove(w);
    if (boxes_ && boxes_->HasBox(w))
        boxes_->RemoveBox(w);
    current_.Remove(w);
    saved_.Remove(w);
    if (inCommonTray && commonTray_)
        commonTray_->HideCommonTrayIcon();
    Journal(w);
    if (owner)
        Journal(owner);
}

void TImpProfile::DropGoneWindows() {
    std::vector<HWND> gone;
    for (const TWndParamsAr* records : {&current_, &saved_}) {
        for (int i = 0; i < records->Count(); ++i) {
            if (!StillSame((*records)[i]))
                gone.push_back((*records)[i].Wnd);
        }
    }
    for (HWND w : gone)
        Drop(w);
    toldAbove_.erase(std::remove_if(toldAbove_.begin(), toldAbove_.end(),
                                    [](const WindowIdentity& told) { return !WindowOf(told); }),
                     toldAbove_.end());
}

bool TImpProfile::Refused(HWND w) {
    if (!integrity_->AboveHost(w))
        return false;
    const WindowIdentity identity = IdentityOf(w);
    if (std::find(toldAbove_.begin(), toldAbove_.end(), identity) == toldAbove_.end()) {
        toldAbove_.push_back(identity);
        if (mainWindow_)
            ::PostMessageW(mainWindow_, WM_ELEVATEDWINDOW, reinterpret_cast<WPARAM>(w), 0);
    }
    return true;
}

bool TImpProfile::SetVisible(HWND w, bool visible) {
    if (!visible && Refused(w))
        return false;
    TWndParams& current = GetProfile(w);
    if (current.State.Visible == visible)
        return true;
    if (!visible)
        return Hide(w, current);
    Show(w, current);
    return true;
}

bool TImpProfile::Hide(HWND w, TWndParams& current) {
    const SavedState saved = SaveState(saved_, current, StateKind::Visibility);
    // An owner its program keeps hidden (many keep one to have no taskbar
    // button) stays as it is, and is not shown with the window later.
    const HWND owner = ::GetWindow(w, GW_OWNER);
    const bool hideOwner = owner && ::IsWindowVisible(owner);
    saved.record->HiddenOwner = hideOwner ? IdentityOf(owner) : WindowIdentity{};
    current.State.Visible = false;
    // Journalled first: a crash after the hiding still finds them.
    Journal(w);
    if (hideOwner)
        Journal(owner);
    const ForeignWindow window(w);
    window.Show(SW_HIDE);
    if (window.Answers() && ::IsWindowVisible(w)) {
        current.State.Visible = true;
        UndoSaveState(saved_, w, StateKind::Visibility, saved);
        Journal(w);
        if (hideOwner)
            Journal(owner);
        return false;
    }
    if (hideOwner)
        ForeignWindow(owner).Show(SW_HIDE);
    return true;
}

void TImpProfile::Show(HWND w, TWndParams& current) {
    const TWndParams* saved = saved_.Find(w);
    const WindowIdentity hiddenOwner = saved ? saved->HiddenOwner : WindowIdentity{};
    // Shown again only while it is still the window's owner.
    const HWND owner = WindowOf(hiddenOwner);
    current.State.Visible = true;
    if (owner && ::GetWindow(w, GW_OWNER) == owner)
        ForeignWindow(owner).Show(SW_SHOW);
    ForeignWindow(w).Show(SW_SHOW);
    ClearChange(saved_, w, StateKind::Visibility);
    Journal(w);
    if (hiddenOwner.window)
        Journal(HandleOf(hiddenOwner.window));
}

void TImpProfile::MinimizeToTray(HWND w) {
    if (SetVisible(w, false))
        SetInTray(w, true);
}

void TImpProfile::MinimizeToCommonTray(HWND w) { SetInCommonTray(w, true); }

void TImpProfile::MinimizeToBox(HWND w) {
    if (SetVisible(w, false))
        SetInBox(w, true);
}

void TImpProfile::SetInTray(HWND w, bool on) {
    if (on && Refused(w))
        return;
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
    if (on && Refused(w))
        return;
    if (GetProfile(w).State.InCommonTray == on)
        return;
    // In the common tray only once hidden; SetVisible may drop the record of
    // a window that has gone, so the record is looked up again after it.
    if (on && !SetVisible(w, false))
        return;
    TWndParams& current = GetProfile(w);
    if (on)
        SaveState(saved_, current, StateKind::CommonTray);
    current.State.InCommonTray = on;
    if (commonTray_) {
        if (on)
            commonTray_->ShowCommonTrayIcon();
        else
            commonTray_->HideCommonTrayIcon();
    }
    if (on)
        return;
    SetVisible(w, true);
    ClearChange(saved_, w, StateKind::CommonTray);
}

bool TImpProfile::IsOnTop(HWND w) const { return (ExtendedStyle(w) & WS_EX_TOPMOST) != 0; }

void TImpProfile::SetOnTop(HWND w, bool on) {
    if (Refused(w))
        return;
    TWndParams& current = GetProfile(w);
    const SavedState saved = SaveState(saved_, current, StateKind::OnTop);
    // The record may be older than a change made by someone else: the
    // window itself knows whether it was topmost before the first command.
    if (saved.created)
        saved.record->State.OnTop = IsOnTop(w);
    const bool before = current.State.OnTop;
    current.State.OnTop = on;
    Journal(w);
    const ForeignWindow window(w);
    const bool placed = window.SetPosition(on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (!placed || (window.Answers() && IsOnTop(w) != on)) {
        current.State.OnTop = before;
        UndoSaveState(saved_, w, StateKind::OnTop, saved);
    } else if (!on) {
        ClearChange(saved_, w, StateKind::OnTop);
    }
    Journal(w);
}

void TImpProfile::SendToBack(HWND w) {
    if (Refused(w))
        return;
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

void TImpProfile::ReportTransparencyFailure(HWND w) const {
    // A window that is gone fails silently, like every other command.
    if (mainWindow_ && ::IsWindow(w))
        ::PostMessageW(mainWindow_, WM_TRANSPARENCYFAILED, 0, 0);
}

void TImpProfile::SetTransparency(HWND w, int percent) {
    if (percent < 0 || Refused(w))
        return;
    const ForeignWindow window(w);
    // Its style cannot be changed without waiting for it: nothing is changed
    // and nothing recorded.
    if (!window.Answers()) {
        ReportTransparencyFailure(w);
        return;
    }
    TWndParams& current = GetProfile(w);
    const int limited = LimitPercent(percent);
    const TWndParams* earlier = saved_.Find(w);
    const bool changed = earlier && (earlier->Changes & kChangedTransparency);
    if (changed && limited == kOpaquePercent)
        return UndoTransparency(window, current);
    Layering before;
    if (!changed) {
        // A window painted with UpdateLayeredWindow has no attributes to
        // keep, and setting some would end its own painting for good.
        const std::optional<Layering> now = layered_.Read(w);
        if (!now) {
            ReportTransparencyFailure(w);
            return;
        }
        if (limited == kOpaquePercent && !now->layered) {
            current.Transparency = kOpaquePercent;
            return;
        }
        before = *now;
    }
    const int percentBefore = GetTransparency(w);
    const SavedState saved = SaveState(saved_, current, StateKind::Transparency);
    if (saved.changeSet) {
        saved.record->Transparency = percentBefore;
        saved.record->SavedLayering = before;
    }
    Journal(w);
    // The program's own colour key stays in force under the alpha.
    const Layering& original = saved.record->SavedLayering;
    Layering wanted;
    wanted.layered = true;
    wanted.colourKey = original.layered ? original.colourKey : 0;
    wanted.alpha = AlphaOfPercent(limited);
    wanted.flags = (original.layered ? original.flags : 0) | LWA_ALPHA;
    if (!layered_.Apply(window, wanted)) {
        UndoSaveState(saved_, w, StateKind::Transparency, saved);
        Journal(w);
        ReportTransparencyFailure(w);
        return;
    }
    current.Transparency = limited;
}

void TImpProfile::UndoTransparency(const ForeignWindow& window, TWndParams& current) {
    const HWND w = window.Handle();
    if (!layered_.Apply(window, saved_.Find(w)->SavedLayering)) {
        // The change stays recorded: it can be undone later.
        ReportTransparencyFailure(w);
        return;
    }
    ClearChange(saved_, w, StateKind::Transparency);
    current.Transparency = ReadTransparency(w);
    Journal(w);
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
    if (Refused(w))
        return;
    const ForeignWindow window(w);
    RECT rect;
    // Resized later, once the library's wait is over, the window would
    // report the roll as a resize by hand and lose it: a window that does
    // not answer is not rolled up.
    if (!::GetWindowRect(w, &rect) || !window.Answers())
        return;
    TWndParams& current = GetProfile(w);
    const SavedState saved = SaveState(saved_, current, StateKind::Roll);
    const bool wasRolled = current.State.Rolled;
    const int heightKept = saved.record->RolledHeight;
    // Rolled up again, the window has its caption's height: the height to
    // unroll to is the one from before the first roll-up.
    if (!wasRolled)
        saved.record->RolledHeight = rect.bottom - rect.top;
    current.State.Rolled = true;
    Journal(w);
    if (ResizeForRoll(window, rect.right - rect.left, RolledUpHeight(w)))
        return;
    // The system refused the resize: nothing was rolled up.
    current.State.Rolled = wasRolled;
    if (TWndParams* record = saved_.Find(w))
        record->RolledHeight = heightKept;
    UndoSaveState(saved_, w, StateKind::Roll, saved);
    Journal(w);
}

bool TImpProfile::ResizeForRoll(const ForeignWindow& window, int width, int height) {
    // The window's library reports the resize back at once, from inside this
    // call; that report is the roll itself, not a resize by someone else.
    const HWND outer = std::exchange(rolling_, window.Handle());
    const bool resized = window.SetPosition(nullptr, 0, 0, width, height, kResizeOnly);
    rolling_ = outer;
    return resized;
}

std::optional<int> TImpProfile::TakeRollChange(HWND w) {
    const TWndParams* saved = saved_.Find(w);
    if (!saved || !(saved->Changes & kChangedRoll))
        return std::nullopt;
    const int height = saved->RolledHeight;
    ClearChange(saved_, w, StateKind::Roll);
    Journal(w);
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
    if (on && Refused(w))
        return;
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
    case StateKind::Transparency: SetTransparency(w, kOpaquePercent); break;  // opaque undoes the change
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
    // The handle may name another window by now.
    if (!StillSame(*saved))
        return Drop(w);
    for (const RestoreStep& step : RestorePlan(*saved))
        Restore(w, step);
    if (const TWndParams* left = saved_.Find(w)) {
        const HWND owner = HandleOf(left->HiddenOwner.window);
        saved_.Remove(w);
        Journal(w);
        if (owner)
            Journal(owner);
    }
}

void TImpProfile::ForgetWindow(HWND w) { Drop(w); }

void TImpProfile::WindowReleased(HWND w) {
    if (!::IsWindow(w))
        Drop(w);
    else
        SweepIn(kReleasedWindowSweepMs);
}

void TImpProfile::RestoreAll() {
    while (saved_.Count() > 0)
        RestoreWindow(saved_[0].Wnd);
}

HWND TImpProfile::WindowOfTrayIcon(UINT id) {
    const HWND w = trayIcons_.WindowOf(id);
    const TWndParams* record = w ? current_.Find(w) : nullptr;
    if (record && StillSame(*record))
        return w;
    if (w)
        Drop(w);
    return nullptr;
}

void TImpProfile::AddTrayIconsAgain() { trayIcons_.AddAgain(); }

}  // namespace kz
