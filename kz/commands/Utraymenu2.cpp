#include "kz/commands/Utraymenu2.h"

#include "common/Dpi.h"
#include "common/Product.h"
#include "common/Text.h"
#include "kz/commands/Menupicture.h"
#include "kz/commands/Menupopup.h"
#include "kz/commands/HostInternalMessages.h"

namespace kz {

namespace {

// Command identifiers of the fixed items; run-time items take the block of
// their list (see ItemId).
enum FixedItem : UINT { kShowAll1 = 1, kRestoreAll1, kHelp1, kAbout1, kOptions1, kExit1 };
constexpr UINT kItemBlock = 0x1000;

UINT ItemId(int list, size_t index) { return kItemBlock * static_cast<UINT>(list + 1) + static_cast<UINT>(index); }

// ilTray's pictures by use.
enum TrayImage : int { kHelpImage, kAboutImage, kOptionsImage, kRestoreImage, kExitImage, kTrayedImage };

std::vector<WindowMenuItem> ItemsOf(const TWndParamsAr& records, bool (*listed)(const TWndParams&)) {
    std::vector<WindowMenuItem> items;
    for (int i = 0; i < records.Count(); ++i) {
        if (listed(records[i]))
            items.push_back({records[i].Identity(), records[i].Caption});
    }
    return items;
}

bool InCommonTray(const TWndParams& record) { return record.State.InCommonTray; }
bool InTray(const TWndParams& record) { return record.State.InTray; }
bool AnyRecord(const TWndParams&) { return true; }

void InsertItem(HMENU menu, UINT position, UINT id, const std::wstring& caption, const MenuPicture* picture,
                bool enabled = true, HMENU submenu = nullptr) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (submenu ? MIIM_SUBMENU : 0u);
    item.wID = id;
    item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    item.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
    item.hSubMenu = submenu;
    if (picture)
        SetItemPicture(item, *picture);
    ::InsertMenuItemW(menu, position, TRUE, &item);
}

void AppendItem(HMENU menu, UINT id, const std::wstring& caption, const MenuPicture* picture, bool enabled = true,
                HMENU submenu = nullptr) {
    InsertItem(menu, static_cast<UINT>(::GetMenuItemCount(menu)), id, caption, picture, enabled, submenu);
}

void AppendSeparator(HMENU menu) { ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

// The side of a menu's pictures at a scale: that of small icons.
int MenuPictureSize(UINT dpi) { return MetricForDpi(SM_CXSMICON, dpi); }

// The icon resources carry an image for each size a scale asks for, so the
// one of the exact size is taken, never a stretched smaller one.
UniqueIcon LoadIconResource(const wchar_t* name, int size) {
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0)));
}

}  // namespace

MainTrayMenuLists BuildMainTrayMenuLists(const TWndParamsAr& current, const TWndParamsAr& saved,
                                         bool commonInMainMenu) {
    MainTrayMenuLists lists;
    if (commonInMainMenu)
        lists.common = ItemsOf(current, InCommonTray);
    lists.trayed = ItemsOf(current, InTray);
    lists.changed = ItemsOf(saved, AnyRecord);
    lists.trayMenuSeparatorVisible = !lists.common.empty();
    lists.trayedSeparatorVisible = lists.showAllEnabled = !lists.trayed.empty();
    lists.changedSeparatorVisible = lists.restoreAllEnabled = !lists.changed.empty();
    return lists;
}

std::vector<WindowMenuItem> BuildCommonTrayItems(const TWndParamsAr& current) {
    return ItemsOf(current, InCommonTray);
}

int AnimationFrameOf(int counter) {
    static constexpr struct {
        int lastCounter;
        int frame;
    } kSteps[] = {{39, 0}, {49, 1}, {52, 2}, {55, 3}, {65, 4}, {105, 5}, {115, 4}, {118, 3}, {121, 2}, {131, 1}};
    for (const auto& step : kSteps) {
        if (counter <= step.lastCounter)
            return step.frame;
    }
    return 0;
}

TdmTrayMenu::TdmTrayMenu(TrayMenuHost& host, bool commonInMainMenu, TImpProfile& executor)
    : host_(host), executor_(executor), CommonInMainMenu(commonInMainMenu), popupTrayMenu_(::CreatePopupMenu()) {
    static constexpr const wchar_t* kFrameNames[] = {L"TI101", L"TI102", L"TI103", L"TI104", L"TI105", L"TI106"};
    for (size_t i = 0; i < frames_.size(); ++i)
        frames_[i] = LoadIconResource(kFrameNames[i], ::GetSystemMetrics(SM_CXSMICON));
}

TdmTrayMenu::~TdmTrayMenu() {
    if (commonIcon_) {
        ::KillTimer(host_.Window(), reinterpret_cast<UINT_PTR>(this));
        ::Shell_NotifyIconW(NIM_DELETE, &*commonIcon_);
    }
}

void TdmTrayMenu::ShowCommonTrayIcon() {
    if (commonIcon_ || CommonInMainMenu)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = host_.Window();
    data.uID = kCommonTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = frames_[0].get();
    CopyToField(data.szTip, kApplicationTitle);
    commonIcon_ = data;
    ::Shell_NotifyIconW(NIM_ADD, &*commonIcon_);
    ::SetTimer(host_.Window(), reinterpret_cast<UINT_PTR>(this), kAnimationTickMs, &TMTimerProc);
    AnimCounter = 0;
    AnimFrame = 0;
}

void TdmTrayMenu::HideCommonTrayIcon() {
    if (!commonIcon_)
        return;
    if (!CommonInMainMenu && !BuildCommonTrayItems(executor_.Current()).empty())
        return;
    ::Shell_NotifyIconW(NIM_DELETE, &*commonIcon_);
    commonIcon_.reset();
    ::KillTimer(host_.Window(), reinterpret_cast<UINT_PTR>(this));
}

void TdmTrayMenu::AddCommonIconAgain() {
    if (commonIcon_)
        ::Shell_NotifyIconW(NIM_ADD, &*commonIcon_);
}

void CALLBACK TdmTrayMenu::TMTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        reinterpret_cast<TdmTrayMenu*>(id)->TMTimerTimer();
    } catch (...) {
        // A lost animation step is of no consequence.
    }
}

void TdmTrayMenu::TMTimerTimer() {
    if (AnimCounter >= kAnimationCycle)
        AnimCounter = 0;
    const int frame = AnimationFrameOf(AnimCounter);
    ++AnimCounter;
    if (frame != AnimFrame)
        SetCommonIconFrame(frame);
}

void TdmTrayMenu::SetCommonIconFrame(int frame) {
    AnimFrame = frame;
    if (!commonIcon_)
        return;
    commonIcon_->uFlags = NIF_ICON;
    commonIcon_->hIcon = frames_[static_cast<size_t>(frame)].get();
    ::Shell_NotifyIconW(NIM_MODIFY, &*commonIcon_);
}

void TdmTrayMenu::LoadTrayPictures(UINT dpi) {
    static constexpr const wchar_t* kImageNames[] = {L"ILTRAY0", L"ILTRAY1", L"ILTRAY2",
                                                      L"ILTRAY3", L"ILTRAY4", L"ILTRAY5"};
    if (dpi == ilTrayDpi_)
        return;
    const int size = MenuPictureSize(dpi);
    for (size_t i = 0; i < ilTray.size(); ++i) {
        ilTray[i].icon = LoadIconResource(kImageNames[i], size);
        ilTray[i].size = size;
    }
    ilTrayDpi_ = dpi;
}

void TdmTrayMenu::AppendWindowItem(HMENU menu, ItemList list, const WindowMenuItem& item, UINT position,
                                   int pictureSize) {
    const TWndParams& record = *executor_.Current().Find(HandleOf(item.Window.window));
    std::vector<RuntimeItem>& runtimeItems = items_[list];
    runtimeItems.push_back(
        {item.Window, std::make_unique<MenuPicture>(MenuPictureOfIcon(record.SmallIcon, record.SmallIconSize, pictureSize))});
    InsertItem(menu, position, ItemId(list, runtimeItems.size() - 1), item.Caption,
               runtimeItems.back().picture.get());
}

void TdmTrayMenu::BuildTrayedSubmenu(HMENU submenu, const MainTrayMenuLists& lists, int pictureSize) {
    AppendItem(submenu, kShowAll1, L"Show &All", nullptr, lists.showAllEnabled);
    if (lists.trayedSeparatorVisible)
        AppendSeparator(submenu);
    for (const WindowMenuItem& item : lists.trayed)
        AppendWindowItem(submenu, kTrayed, item, static_cast<UINT>(::GetMenuItemCount(submenu)), pictureSize);
}

void TdmTrayMenu::BuildChangedSubmenu(HMENU submenu, const MainTrayMenuLists& lists, int pictureSize) {
    AppendItem(submenu, kRestoreAll1, L"Restore &All", nullptr, lists.restoreAllEnabled);
    if (lists.changedSeparatorVisible)
        AppendSeparator(submenu);
    for (const WindowMenuItem& item : lists.changed)
        AppendWindowItem(submenu, kChanged, item, static_cast<UINT>(::GetMenuItemCount(submenu)), pictureSize);
}

void TdmTrayMenu::popupMainTrayPopup(UINT dpi) {
    executor_.DropGoneWindows();
    const MainTrayMenuLists lists = BuildMainTrayMenuLists(executor_.Current(), executor_.Saved(), CommonInMainMenu);
    // The menu, its submenus and the previous run-time items go together; the
    // fixed items are made again with them, and so are their pictures when
    // the scale changed.
    popupMainTray_.reset(::CreatePopupMenu());
    for (int list : {kCommonInMain, kTrayed, kChanged})
        items_[static_cast<size_t>(list)].clear();
    LoadTrayPictures(dpi);
    const int pictureSize = MenuPictureSize(dpi);
    const HMENU menu = popupMainTray_.get();

    const HMENU trayed = ::CreatePopupMenu();
    AppendItem(menu, 0, L"Show &trayed windows", &ilTray[kTrayedImage], true, trayed);
    BuildTrayedSubmenu(trayed, lists, pictureSize);
    const HMENU changed = ::CreatePopupMenu();
    AppendItem(menu, 0, L"Restore &changed windows", &ilTray[kRestoreImage], true, changed);
    BuildChangedSubmenu(changed, lists, pictureSize);
    AppendSeparator(menu);
    AppendItem(menu, kHelp1, L"&Help", &ilTray[kHelpImage]);
    AppendItem(menu, kAbout1, L"&About", &ilTray[kAboutImage]);
    AppendItem(menu, kOptions1, L"&Options", &ilTray[kOptionsImage]);
    AppendSeparator(menu);
    for (const WindowMenuItem& item : lists.common)
        AppendWindowItem(menu, kCommonInMain, item, static_cast<UINT>(::GetMenuItemCount(menu)), pictureSize);
    if (lists.trayMenuSeparatorVisible)
        AppendSeparator(menu);
    AppendItem(menu, kExit1, L"E&xit", &ilTray[kExitImage]);
}

void TdmTrayMenu::popupTrayMenuPopup(UINT dpi) {
    if (CommonInMainMenu)
        return;
    executor_.DropGoneWindows();
    popupTrayMenu_.reset(::CreatePopupMenu());
    items_[kCommonInTrayMenu].clear();
    for (const WindowMenuItem& item : BuildCommonTrayItems(executor_.Current()))
        AppendWindowItem(popupTrayMenu_.get(), kCommonInTrayMenu, item,
                         static_cast<UINT>(::GetMenuItemCount(popupTrayMenu_.get())), MenuPictureSize(dpi));
}

void TdmTrayMenu::ShowMainTrayMenu(POINT at) {
    popupMainTrayPopup(DpiAtPoint(at));
    MenuCommand(ShowPopupMenu(host_.Window(), popupMainTray_.get(), at));
}

void TdmTrayMenu::ShowCommonTrayMenu(POINT at) {
    popupTrayMenuPopup(DpiAtPoint(at));
    MenuCommand(ShowPopupMenu(host_.Window(), popupTrayMenu_.get(), at));
}

void TdmTrayMenu::MenuCommand(UINT id) {
    switch (id) {
    case 0: return;
    case kShowAll1: return ShowAll1Click();
    case kRestoreAll1: return RestoreAll1Click();
    case kHelp1: return Help1Click();
    case kAbout1: return About1Click();
    case kOptions1: return Options1Click();
    case kExit1: return Exit1Click();
    default: break;
    }
    const UINT list = id / kItemBlock - 1;
    const size_t index = id % kItemBlock;
    if (list >= kItemListCount || index >= items_[list].size())
        return;
    const WindowIdentity window = items_[list][index].window;
    switch (list) {
    case kCommonInMain:
    case kCommonInTrayMenu: return CommonTrayItemClick(window);
    case kTrayed: return TrayedItemClick(window);
    case kChanged: return ChangedItemClick(window);
    default: return;
    }
}

void TdmTrayMenu::ShowAll1Click() {
    for (const RuntimeItem& item : items_[kTrayed])
        TrayedItemClick(item.window);
}

void TdmTrayMenu::RestoreAll1Click() {
    for (const RuntimeItem& item : items_[kChanged])
        ChangedItemClick(item.window);
}

void TdmTrayMenu::Help1Click() { host_.ShowHelp(); }

void TdmTrayMenu::About1Click() { host_.ShowAbout(); }

void TdmTrayMenu::Options1Click() { host_.OpenOptions(); }

void TdmTrayMenu::Exit1Click() { host_.RequestExit(); }

void TdmTrayMenu::CommonTrayItemClick(const WindowIdentity& window) {
    if (const HWND w = executor_.RecordedWindow(window))
        executor_.SetInCommonTray(w, false);
}

void TdmTrayMenu::TrayedItemClick(const WindowIdentity& window) {
    if (const HWND w = executor_.RecordedWindow(window)) {
        executor_.SetInTray(w, false);
        executor_.SetVisible(w, true);
    }
}

void TdmTrayMenu::ChangedItemClick(const WindowIdentity& window) {
    if (const HWND w = executor_.RecordedWindow(window))
        executor_.RestoreWindow(w);
}

}  // namespace kz
