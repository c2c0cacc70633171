#include "kz/settings/BlacklistPage.h"

#include <commdlg.h>

#include <string>
#include <vector>

namespace kz {

namespace {

constexpr int kBlacklistColumnWidth = 450;

// The files an open dialog returned: one full path, or a folder and names.
std::vector<std::wstring> ChosenFiles(const wchar_t* buffer) {
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer; *p; p += parts.back().size() + 1)
        parts.emplace_back(p);
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

}  // namespace

WindowPtr<BlacklistPage> BlacklistPage::Create(PageSite& site, HWND frame) {
    return MakePage<BlacklistPage>(site, frame, Page::Blacklist);
}

void BlacklistPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    const HWND list = Item(IDC_LVBLACKLIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_INFOTIP | LVS_EX_UNDERLINEHOT | LVS_EX_TWOCLICKACTIVATE);
    ilBlackList_ = ::ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                      ILC_COLOR32 | ILC_MASK, 4, 8);
    ListView_SetImageList(list, ilBlackList_, LVSIL_SMALL);
    ListView_SetColumnWidth(list, 0, DesignScaleOf(Window()).X(kBlacklistColumnWidth));
    ::SetWindowTextW(Item(IDC_BTNBLACKLISTADD), L"Add...");
}

void BlacklistPage::FitToScale() {
    OptionsPage::FitToScale();
    ListView_SetColumnWidth(Item(IDC_LVBLACKLIST), 0, DesignScaleOf(Window()).X(kBlacklistColumnWidth));
}

BlacklistPage::~BlacklistPage() {
    if (ilBlackList_)
        ::ImageList_Destroy(ilBlackList_);
}

void BlacklistPage::Load(const SettingsRecord&) { FillBlacklistView(); }

void BlacklistPage::Store(SettingsRecord&) const {}

INT_PTR BlacklistPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return OptionsPage::HandleMessage(message, wParam, lParam);
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.idFrom == IDC_LVBLACKLIST && header.code == LVN_GETINFOTIPW)
        lvBlackListInfoTip(*reinterpret_cast<NMLVGETINFOTIPW*>(&header));
    return Reply(0);
}

void BlacklistPage::OnCommand(int id, int code) {
    if (code != BN_CLICKED)
        return;
    if (id == IDC_BTNBLACKLISTADD)
        btnBlacklistAddClick();
    else if (id == IDC_BTNBLACKLISTREMOVE)
        btnBlacklistRemoveClick();
}

void BlacklistPage::FillBlacklistView() {
    blacklist_.Load();
    const HWND list = Item(IDC_LVBLACKLIST);
    ListView_DeleteAllItems(list);
    ::ImageList_RemoveAll(ilBlackList_);
    for (int i = 0; i < blacklist_.Count(); ++i)
        AddBlacklistItem(*blacklist_.Item(i));
}

void BlacklistPage::AddBlacklistItem(const TBlackListItem& entry) {
    const HWND list = Item(IDC_LVBLACKLIST);
    std::wstring caption = entry.DisplayName();
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = caption.data();
    item.lParam = reinterpret_cast<LPARAM>(&entry);
    item.iImage = entry.Icon() ? ::ImageList_AddIcon(ilBlackList_, entry.Icon()) : I_IMAGENONE;
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void BlacklistPage::btnBlacklistAddClick() {
    std::wstring buffer(32 * 1024, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    // The frame owns the file dialog, as it owns every window of the page.
    dialog.hwndOwner = ::GetParent(Window());
    dialog.lpstrFilter = L"Applications (*.exe)\0*.exe\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = L"exe";
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING |
                   OFN_HIDEREADONLY;
    if (!::GetOpenFileNameW(&dialog))
        return;
    for (const std::wstring& file : ChosenFiles(buffer.c_str())) {
        if (const TBlackListItem* added = blacklist_.Add(file).Item) {
            AddBlacklistItem(*added);
            OnModifyParameter();
        }
    }
}

void BlacklistPage::btnBlacklistRemoveClick() {
    const HWND list = Item(IDC_LVBLACKLIST);
    for (int i = ListView_GetItemCount(list) - 1; i >= 0; --i) {
        if (ListView_GetItemState(list, i, LVIS_SELECTED) & LVIS_SELECTED) {
            ListView_DeleteItem(list, i);
            blacklist_.Delete(i);
            OnModifyParameter();
        }
    }
}

void BlacklistPage::lvBlackListInfoTip(NMLVGETINFOTIPW& tip) {
    const TBlackListItem* entry = blacklist_.Item(tip.iItem);
    if (!entry || !tip.pszText || tip.cchTextMax <= 0)
        return;
    lstrcpynW(tip.pszText, entry->Path().c_str(), tip.cchTextMax);
}

}  // namespace kz
