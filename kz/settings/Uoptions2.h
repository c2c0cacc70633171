// The options dialog: the only place where the user changes the settings and
// the blacklist. Created hidden at start-up and shown without being modal; OK
// stores and applies the changes and makes every attached window rebuild its
// caption buttons, Cancel drops them, "Restore to Defaults" puts the defaults
// into the controls, Help opens the page's help topic.
#pragma once

#include "common/Handles.h"
#include "kz/capbuttons/Exbackdrawer.h"
#include "kz/core/Hotkeys.h"
#include "kz/settings/Colorselectbtn.h"
#include "kz/settings/Optionseditors.h"
#include "kz/settings/Optionspages.h"
#include "kz/settings/Ublacklist.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kz {

// What the dialog needs of the running host.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    // The host's main window: its windows are left out of the broadcast.
    virtual HWND MainWindow() const = 0;
    virtual void SetTipsEnabled(bool enabled) = 0;
    // Registers the hotkeys again; returns those that could not be.
    virtual std::vector<RefusedHotKey> ApplyButtonSettings(const SettingsRecord& settings) = 0;
    // The size of the boxes made from now on.
    virtual void SetCurrentBoxSize(int size) = 0;
    virtual void ShowHelp() = 0;
    virtual void ShowHelpTopic(const std::wstring& topic) = 0;
    // Tells the user about a failure.
    virtual void ShowMessage(const std::wstring& text) = 0;
};

// The frame's measures are pixels of the font it was drawn for, MS Sans Serif
// 8 at 96 DPI, whose dialog base units are 6 x 13; the page templates, in
// dialog units, fill exactly the room these measures leave them. With any
// other font or resolution the measures grow as the dialog units do, so that
// the pages still fit beside the navigation.
struct DesignScale {
    static constexpr int kDesignBaseX = 6;
    static constexpr int kDesignBaseY = 13;
    int baseX = kDesignBaseX;
    int baseY = kDesignBaseY;
    int X(int designPixels) const { return ::MulDiv(designPixels, baseX, kDesignBaseX); }
    int Y(int designPixels) const { return ::MulDiv(designPixels, baseY, kDesignBaseY); }
};
// The scale of a dialog from its own font.
DesignScale DesignScaleOf(HWND dialog);

// How long the broadcast of new settings waits for one window.
constexpr UINT kBroadcastTimeoutMs = 500;

class TfrmOptions {
public:
    // Creates the form hidden (FormCreate); its windows are owned by owner.
    TfrmOptions(HINSTANCE instance, HWND owner, OptionsHost& host);
    ~TfrmOptions();
    TfrmOptions(const TfrmOptions&) = delete;
    TfrmOptions& operator=(const TfrmOptions&) = delete;

    // Fills the controls from the registry and shows the form.
    void OpenOptions();
    // For the message loop: keyboard navigation inside the form.
    bool IsDialogMessage(MSG& msg) const;

    HWND Handle() const { return window_.get(); }
    HWND PageWindow(Page page) const { return pages_[static_cast<size_t>(page)]; }
    // A control of the frame or of any page; null when there is none.
    HWND Control(int id) const;
    Page VisiblePage() const { return visiblePage_; }
    const SettingsRecord& Settings() const { return settings_; }
    bool Modified() const { return modified_; }
    const ListEditor& ButtonEditor() const { return buttons_; }
    const ListEditor& MenuEditor() const { return menuItems_; }
    const TBlackList& BlackList() const { return blacklist_; }
    TColorSelectBtn& ColorButton() { return *colorButton_; }
    HBITMAP PreviewBitmap() const { return preview_.get(); }
    HBITMAP BoxPicture() const { return image11_.get(); }

private:
    static INT_PTR CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) noexcept;
    INT_PTR HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Messages the pages pass on; false when the form does not take one.
    bool HandleSharedMessage(HWND from, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    // Building the form.
    void FormCreate();
    void CreatePages();
    void LayOutFrame();
    void PlacePixelControls();
    void SetUpControls();
    void MakeFonts();

    // Frame events.
    INT_PTR OnCommand(WORD id, WORD code, HWND control);
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnCtlColor(HDC dc, HWND control);
    INT_PTR OnPaint();
    INT_PTR OnSetCursor(HWND under);
    void FormActivate();
    void Label1Click(int number);
    void Label1MouseMove(int number);
    void Label1MouseLeave(int number);
    void OK_ButtonClick();
    void Cancel_ButtonClick();
    void Restore_ButtonClick();
    void Help_ButtonClick();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton8Click(int button);
    void TrackBar1Change();
    void CSpinEdit1Change();
    void CSpinEdit1Changing();
    void OnModifyParameter();

    // List editors, preview and blacklist.
    void FillEditors();
    void StoreEditors();
    void RefreshButtonLists();
    void RefreshMenuLists();
    void RedrawPreview();
    void FillBlacklistView();
    void AddBlacklistItem(const TBlackListItem& entry);
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void btnAddMenuItemClick();
    void btnRemoveMenuItemClick();
    void btnAddAllMenuItemsClick();
    void btnRemoveAllMenuItemsClick();
    void DstListMoveItem(int oldRow, int newRow);
    void MenuItemsDstListMoveItem(int oldRow, int newRow);
    void DrawListRow(const DRAWITEMSTRUCT& draw);
    INT_PTR OnDragList(HWND page, const DRAGLISTINFO& info);
    void rbGlyphColorAutodetectClick();
    void rbGlyphColorManualClick();
    void ColorButtonClick();
    void ColorButtonChange();
    void btnBlacklistAddClick();
    void btnBlacklistRemoveClick();
    void lvBlackListInfoTip(NMLVGETINFOTIPW& tip);

    // Filling and storing.
    struct StoreOutcome {
        bool startupEntryFailed = false;
        bool settingsFailed = false;
        bool blacklistFailed = false;
        std::vector<RefusedHotKey> refused;
    };
    void LoadControls(bool reload);
    StoreOutcome StoreControls();
    void BroadcastSettingsChange() const;
    void ReportStoreFailures(const StoreOutcome& outcome) const;
    void MarkRefusedHotKeys(const std::vector<RefusedHotKey>& refused);
    void SelectPage(Page page);
    void ShowArrangement();
    void UpdateBoxPicture();
    void ShowEditorLimit(int statusId, EditResult result);
    void AfterButtonEdit(EditResult result);
    void AfterMenuEdit(EditResult result);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    std::vector<int> SelectedRows(int listId) const;
    int DstEntryOfRow(int listId, int row) const;

    HINSTANCE instance_;
    HWND owner_;
    OptionsHost& host_;
    UniqueWindow window_;
    std::array<HWND, kPageCount> pages_{};
    DesignScale scale_;
    Page visiblePage_ = Page::ButtonsSet;
    int selectedLabel_ = 0;
    int hoveredLabel_ = 0;

    SettingsRecord settings_;
    bool modified_ = false;
    bool firstActivation_ = true;
    ListEditor buttons_;
    ListEditor menuItems_;
    // Whether the user edited a list since the last filling: an untouched
    // list is stored as it was loaded, with the codes the editor cannot show.
    bool buttonsEdited_ = false;
    bool menuItemsEdited_ = false;
    TBlackList blacklist_;
    ArrangementView arrangement_;
    std::unique_ptr<TExBackDrawer> previewDrawer_;
    std::unique_ptr<TButtonGlyphs> listGlyphs_;
    WindowPtr<TColorSelectBtn> colorButton_;
    std::array<UniqueBitmap, 5> boxPictures_;
    std::array<UniqueBitmap, 10> imageList1_;
    UniqueBitmap banner_;
    UniqueBitmap preview_;
    UniqueBitmap image11_;
    HIMAGELIST ilBlackList_ = nullptr;
    UINT dragListMessage_ = 0;
    int dragRow_ = -1;

    UniqueFont boldFont_;
    UniqueFont underlineFont_;
    UniqueBrush whiteBrush_;
};

}  // namespace kz
