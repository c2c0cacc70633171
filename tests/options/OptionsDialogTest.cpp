// The real options dialog in this process, filled from a scratch registry:
// what OK stores and applies, Cancel, "Restore to Defaults", the start-up
// entry, refused hotkeys, the editors' limit, Help and the preview.
#include "kz/settings/Optionsids.h"
#include "tests/support/ScratchRegistry.h"
#include "common/Settingsformat.h"
#include "kz/settings/Startupentry.h"
#include "tests/support/TestWindows.h"
#include "kz/settings/Uoptions2.h"
#include "kz/settings/Usettingsfile.h"
#include "trelmo/paint/PainterGeometry.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace kz {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encoded(const SettingsRecord& record) {
    std::array<uint8_t, kLongestSettingsBytes> buffer{};
    const int32_t size = EncodeSettings(record, buffer.data());
    return Bytes(buffer.begin(), buffer.begin() + size);
}

SettingsRecord Defaults() {
    SettingsRecord record;
    SetDefaultSettings(record);
    record.Version = 1;
    return record;
}

// The host as the dialog sees it, recording what it is asked to do.
class RecordingOptionsHost final : public OptionsHost {
public:
    HWND MainWindow() const override { return window_.get(); }
    void SetTipsEnabled(bool enabled) override { tipsEnabled = enabled; }
    std::vector<RefusedHotKey> ApplyButtonSettings(const SettingsRecord& settings) override {
        applied.push_back(settings);
        return refuse;
    }
    void SetCurrentBoxSize(int size) override { boxSize = size; }
    void ShowHelp() override { helpTopics.push_back(L"(whole file)"); }
    void ShowHelpTopic(const std::wstring& topic) override { helpTopics.push_back(topic); }
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }

    std::vector<SettingsRecord> applied;
    std::vector<RefusedHotKey> refuse;
    std::vector<std::wstring> helpTopics;
    std::vector<std::wstring> messages;
    bool tipsEnabled = false;
    int boxSize = 0;

private:
    UniqueWindow window_ = test::CreateMainWindowStandIn();
};

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring RunValue() {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kStartupValueName, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"";
    return value;
}

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
}

// The form made hidden, as at start-up; a form that cannot be made fails the test.
TfrmOptions& Made(const WindowPtr<TfrmOptions>& form) {
    if (!form)
        throw std::runtime_error("The options dialog cannot be created");
    return *form;
}

class OptionsDialog : public ::testing::Test {
protected:
    // What a click on a button does: the control tells its page.
    void Click(int id) {
        const HWND control = dialog.Control(id);
        ASSERT_NE(control, nullptr) << id;
        ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    }
    // What the user's typing into a hotkey control does.
    void TypeHotKey(int kind, uint16_t controlValue) {
        const HWND control = dialog.Control(IDC_HOTKEY_BASE + kind);
        ::SendMessageW(control, HKM_SETHOTKEY, controlValue, 0);
        ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(IDC_HOTKEY_BASE + kind, EN_CHANGE),
                       reinterpret_cast<LPARAM>(control));
    }
    uint16_t HotKeyShown(int kind) {
        return static_cast<uint16_t>(::SendMessageW(dialog.Control(IDC_HOTKEY_BASE + kind), HKM_GETHOTKEY, 0, 0));
    }
    void SelectRow(int listId, int row) {
        const HWND list = dialog.Control(listId);
        if (::GetWindowLongW(list, GWL_STYLE) & LBS_EXTENDEDSEL)
            ::SendMessageW(list, LB_SETSEL, TRUE, row);
        else
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    int Rows(int listId) { return static_cast<int>(::SendMessageW(dialog.Control(listId), LB_GETCOUNT, 0, 0)); }
    bool Checked(int id) { return ::SendMessageW(dialog.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Shown(int id) { return ::IsWindowVisible(dialog.Control(id)) != FALSE; }

    test::ScratchRegistry registry;
    RecordingOptionsHost host;
    const WindowPtr<TfrmOptions> form = TfrmOptions::Create(::GetModuleHandleW(nullptr), nullptr, host);
    TfrmOptions& dialog = Made(form);
};

TEST_F(OptionsDialog, OpensFilledFromTheStoredSettings) {
    SettingsRecord stored = Defaults();
    stored.ButtonCount = 3;
    stored.Buttons[0] = 5;
    stored.Buttons[1] = 0;
    stored.Buttons[2] = 2;
    stored.HotKeys[4] = 0xC052;  // Ctrl+Alt+R
    stored.TransparencyLevel = 30;
    stored.BoxSize = 40;
    stored.BoxArrangement = 4;
    stored.TrayMenuSeparate = false;
    stored.ShowTips = true;
    registry.StoreSettings(stored);

    dialog.OpenOptions();
    EXPECT_TRUE(::IsWindowVisible(dialog.Window()));
    EXPECT_FALSE(dialog.Modified());
    EXPECT_EQ(dialog.ButtonEditor().chosen, (std::vector<int>{5, 0, 2}));
    EXPECT_EQ(Rows(IDC_DSTLIST), 3);
    EXPECT_EQ(Rows(IDC_SRCLIST), 8);
    EXPECT_EQ(HotKeyShown(4), 0x0652);
    EXPECT_EQ(HotKeyShown(1), 0);
    EXPECT_EQ(::SendMessageW(dialog.Control(IDC_TRACKBAR1), TBM_GETPOS, 0, 0), 30);
    EXPECT_EQ(Text(dialog.Control(IDC_LABEL54)), L"30%");
    EXPECT_TRUE(Checked(IDC_RADIOBUTTON2));
    EXPECT_FALSE(Checked(IDC_RADIOBUTTON1));
    EXPECT_TRUE(Checked(IDC_CBSHOWTIPS));
    EXPECT_EQ(host.boxSize, 40);
    // Box size 40: the 32-pixel picture stretched to 40.
    BITMAP picture{};
    ASSERT_TRUE(::GetObjectW(dialog.BoxPicture(), sizeof picture, &picture));
    EXPECT_EQ(picture.bmWidth, 40);
    EXPECT_EQ(picture.bmHeight, 40);
    // Arrangement 4: the vertical set, ToolButton9 down.
    EXPECT_TRUE(Checked(IDC_TOOLBUTTON_BASE + 2));
    dialog.PageWindow(Page::MinimizeToBox);
    Click(IDC_LABEL_BASE + 5);
    EXPECT_EQ(dialog.VisiblePage(), Page::MinimizeToBox);
    EXPECT_TRUE(Shown(IDC_TOOLBUTTON_BASE + 9));
    EXPECT_TRUE(Checked(IDC_TOOLBUTTON_BASE + 9));
    EXPECT_FALSE(Shown(IDC_TOOLBUTTON_BASE + 3));
}

TEST_F(OptionsDialog, OkWithoutAChangeStoresNothingAndAppliesNothing) {
    dialog.OpenOptions();
    Click(IDOK);
    EXPECT_TRUE(registry.ReadValue("Settings").empty());
    EXPECT_TRUE(registry.ReadValue("Blacklist").empty());
    EXPECT_TRUE(host.applied.empty());
    EXPECT_FALSE(::IsWindowVisible(dialog.Window()));
}

TEST_F(OptionsDialog, OneChangedHotKeyStoresTheWholeRecordAndRebuildsTheHotKeys) {
    dialog.OpenOptions();
    dialog.PageWindow(Page::RollUp);
    TypeHotKey(4, 0x0652);  // Ctrl+Alt+R
    EXPECT_TRUE(dialog.Modified());
    Click(IDOK);

    SettingsRecord expected = Defaults();
    expected.HotKeys[4] = 0xC052;
    expected.RunOnStartUp = 0;  // the box showed that no start-up value is there
    const Bytes stored = registry.ReadValue("Settings");
    EXPECT_EQ(stored, Encoded(expected));
    // The untouched window menu keeps its entries 9 and 10.
    EXPECT_EQ(stored.size(), static_cast<size_t>(kDefaultSettingsBytes));
    ASSERT_EQ(host.applied.size(), 1u);
    EXPECT_EQ(host.applied[0].HotKeys[4], 0xC052);
    EXPECT_EQ(Encoded(host.applied[0]), stored);
    EXPECT_FALSE(::IsWindowVisible(dialog.Window()));
}

TEST_F(OptionsDialog, RestoreToDefaultsThenOkStoresTheDefaultRecord) {
    SettingsRecord changed = Defaults();
    changed.BoxSize = 80;
    changed.ButtonCount = 1;
    changed.ShowSplash = false;
    registry.StoreSettings(changed);
    dialog.OpenOptions();
    EXPECT_EQ(host.boxSize, 80);
    Click(IDC_RESTORE);
    EXPECT_TRUE(dialog.Modified());
    EXPECT_EQ(host.boxSize, 48);  // at once, before OK
    Click(IDOK);

    const Bytes stored = registry.ReadValue("Settings");
    ASSERT_EQ(stored.size(), static_cast<size_t>(kDefaultSettingsBytes));
    EXPECT_EQ(stored, Encoded(Defaults()));
    const Bytes head{0x01, 0x00, 0x00, 0x00, 0xFF, 0x01, 0x01};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), stored.begin()));
    // RunOnStartUp is 1 in the defaults: the start-up value is written.
    EXPECT_EQ(RunValue(), ProgramPath());
}

TEST_F(OptionsDialog, CancelThenReopenShowsTheStoredValues) {
    SettingsRecord stored = Defaults();
    stored.TransparencyLevel = 70;
    stored.HotKeys[6] = 0x8042;
    registry.StoreSettings(stored);
    dialog.OpenOptions();
    TypeHotKey(6, 0x0241);
    ::SendMessageW(dialog.Control(IDC_TRACKBAR1), TBM_SETPOS, TRUE, 10);
    Click(IDC_BUTTON8);  // << Remove All
    EXPECT_TRUE(dialog.ButtonEditor().chosen.empty());
    Click(IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(dialog.Window()));
    EXPECT_EQ(registry.ReadValue("Settings"), Encoded(stored));

    dialog.OpenOptions();
    EXPECT_EQ(HotKeyShown(6), 0x0442);
    EXPECT_EQ(::SendMessageW(dialog.Control(IDC_TRACKBAR1), TBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(Rows(IDC_DSTLIST), 9);
    EXPECT_TRUE(host.applied.empty());
}

TEST_F(OptionsDialog, TheStartUpBoxShowsTheCurrentUsersRunValueAndSetsIt) {
    const auto setBox = [&](bool on) {
        const WPARAM state = on ? BST_CHECKED : BST_UNCHECKED;
        ::SendMessageW(dialog.Control(IDC_CBRUNONSTARTUP), BM_SETCHECK, state, 0);
        Click(IDC_CBRUNONSTARTUP);
        ::SendMessageW(dialog.Control(IDC_CBRUNONSTARTUP), BM_SETCHECK, state, 0);
    };
    dialog.OpenOptions();
    EXPECT_FALSE(Checked(IDC_CBRUNONSTARTUP)) << "no start-up value, though the stored default says so";
    setBox(true);
    Click(IDOK);
    EXPECT_EQ(RunValue(), ProgramPath());

    dialog.OpenOptions();
    ASSERT_TRUE(Checked(IDC_CBRUNONSTARTUP));
    setBox(false);
    Click(IDOK);
    EXPECT_EQ(RunValue(), L"");
    SettingsRecord stored;
    SetDefaultSettings(stored);
    ASSERT_TRUE(LoadSettings(stored));
    EXPECT_EQ(stored.RunOnStartUp, 0);
    EXPECT_TRUE(host.messages.empty());

    // Written by the setup program since: the box shows it, and OK keeps it.
    ASSERT_TRUE(WriteStartupEntry(ProgramPath()));
    dialog.OpenOptions();
    EXPECT_TRUE(Checked(IDC_CBRUNONSTARTUP));
    Click(IDOK);
    EXPECT_EQ(RunValue(), ProgramPath());
}

TEST_F(OptionsDialog, ARefusedHotKeyIsMarkedOnItsPageWhichStaysOpen) {
    host.refuse = {RefusedHotKey{3, 4, 0xC052}};
    dialog.OpenOptions();
    TypeHotKey(4, 0x0652);
    Click(IDOK);
    EXPECT_FALSE(registry.ReadValue("Settings").empty());  // stored all the same
    EXPECT_TRUE(::IsWindowVisible(dialog.Window()));
    EXPECT_EQ(dialog.VisiblePage(), Page::RollUp);
    EXPECT_EQ(Text(dialog.Control(IDC_HOTKEY_STATUS_BASE + 4)), L"Not registered: already used by another program.");
    EXPECT_EQ(Text(dialog.Control(IDC_HOTKEY_STATUS_BASE + 1)), L"");

    host.refuse.clear();
    TypeHotKey(4, 0x0653);
    Click(IDOK);
    EXPECT_EQ(Text(dialog.Control(IDC_HOTKEY_STATUS_BASE + 4)), L"");
    EXPECT_FALSE(::IsWindowVisible(dialog.Window()));
}

TEST_F(OptionsDialog, TheButtonSetRefusesAThirtyThirdEntryAndSaysSo) {
    SettingsRecord stored = Defaults();
    stored.ButtonCount = 32;
    for (int i = 0; i < 32; ++i)
        stored.Buttons[i] = 0;
    registry.StoreSettings(stored);
    dialog.OpenOptions();
    EXPECT_EQ(Rows(IDC_DSTLIST), 32);
    SelectRow(IDC_SRCLIST, 0);
    Click(IDC_BUTTON5);
    EXPECT_EQ(Rows(IDC_DSTLIST), 32);
    EXPECT_FALSE(dialog.Modified());
    EXPECT_NE(Text(dialog.Control(IDC_BUTTONS_LIMIT)).find(L"32"), std::wstring::npos);
    SelectRow(IDC_DSTLIST, 0);
    Click(IDC_BUTTON6);
    EXPECT_EQ(Rows(IDC_DSTLIST), 31);
    EXPECT_EQ(Text(dialog.Control(IDC_BUTTONS_LIMIT)), L"");
}

TEST_F(OptionsDialog, AddAndRemoveGoThroughTheReversedSetAndReachTheStoredRecord) {
    dialog.OpenOptions();
    // The top row of the set shows the last entry (Copy window).
    SelectRow(IDC_DSTLIST, 0);
    Click(IDC_BUTTON6);
    EXPECT_EQ(dialog.ButtonEditor().chosen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dialog.ButtonEditor().available, (std::vector<int>{0, 9}));
    SelectRow(IDC_SRCLIST, 0);
    SelectRow(IDC_SRCLIST, 1);
    Click(IDC_BUTTON5);
    EXPECT_EQ(dialog.ButtonEditor().chosen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0, 9}));
    // The window menu: the last two entries swap places.
    SelectRow(IDC_MENUITEMSDSTLIST, 7);
    Click(IDC_BTNREMOVEMENUITEM);
    Click(IDOK);
    SettingsRecord stored;
    SetDefaultSettings(stored);
    ASSERT_TRUE(LoadSettings(stored));
    EXPECT_EQ(stored.ButtonCount, 10);
    EXPECT_EQ(stored.Buttons[8], 0);
    EXPECT_EQ(stored.Buttons[9], 9);
    EXPECT_EQ(stored.MenuItemCount, 7);
}

TEST_F(OptionsDialog, HelpOpensTheTopicOfTheVisiblePageOrTheWholeFile) {
    dialog.OpenOptions();
    Click(IDC_LABEL_BASE + 4);  // Roll-up/Unroll
    Click(IDHELP);
    Click(IDC_LABEL_BASE + 61);  // Window menu
    Click(IDHELP);
    Click(IDC_LABEL_BASE + 10);  // Buttons Set
    Click(IDHELP);
    EXPECT_EQ(host.helpTopics, (std::vector<std::wstring>{L"3Options window\\ButtonsSettings\\RollUp.htm",
                                                           L"(whole file)",
                                                           L"3Options window\\Parameters\\ButtonsSet.htm"}));
}

TEST_F(OptionsDialog, RemovedApplicationsLeaveTheStoredBlacklist) {
    const std::wstring self = ProgramPath();
    const std::string path(self.begin(), self.end());
    Bytes value(path.begin(), path.end());
    value.push_back(0);
    value.push_back(0);
    registry.SetBlacklistValue(value);
    dialog.OpenOptions();
    const HWND list = dialog.Control(IDC_LVBLACKLIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDC_BTNBLACKLISTREMOVE);
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    Click(IDOK);
    EXPECT_EQ(registry.ReadValue("Blacklist"), Bytes{0});
}

int CountPixels(HBITMAP bitmap, COLORREF colour) {
    return test::CountPixels(test::BitmapPixels(bitmap), RgbOfColorref(colour));
}

TEST_F(OptionsDialog, ThePreviewsPixelsFollowTheGlyphColour) {
    dialog.OpenOptions();
    BITMAP preview{};
    ASSERT_TRUE(::GetObjectW(dialog.PreviewBitmap(), sizeof preview, &preview));
    EXPECT_EQ(preview.bmWidth, 433);
    EXPECT_EQ(preview.bmHeight, 33);

    const COLORREF red = RGB(0xE0, 0x10, 0x20);
    const COLORREF green = RGB(0x10, 0xC0, 0x30);
    dialog.ColorButton().FSetColor(red);
    dialog.ColorButton().OnClick();  // the click before the palette opens: manual colour
    dialog.ColorButton().OnChange();
    EXPECT_TRUE(Checked(IDC_RBGLYPHCOLORMANUAL));
    EXPECT_FALSE(Checked(IDC_RBGLYPHCOLORAUTODETECT));
    EXPECT_TRUE(dialog.Modified());
    EXPECT_GT(CountPixels(dialog.PreviewBitmap(), red), 20);
    EXPECT_EQ(CountPixels(dialog.PreviewBitmap(), green), 0);

    dialog.ColorButton().FSetColor(green);
    dialog.ColorButton().OnChange();
    EXPECT_EQ(CountPixels(dialog.PreviewBitmap(), red), 0);
    EXPECT_GT(CountPixels(dialog.PreviewBitmap(), green), 20);

    // No buttons: no glyph pixels at all.
    Click(IDC_BUTTON8);
    EXPECT_EQ(CountPixels(dialog.PreviewBitmap(), green), 0);
}

// Whatever the font's width, each page's controls lie inside the page, the
// navigation labels left of the pages, and the pages above the buttons.
TEST_F(OptionsDialog, EveryPageHoldsItsControlsBesideTheNavigation) {
    struct Bounds {
        RECT page;
        std::vector<int> outside;
    };
    for (int i = 0; i < kPageCount; ++i) {
        const HWND page = dialog.PageWindow(static_cast<Page>(i));
        Bounds bounds{{}, {}};
        ::GetWindowRect(page, &bounds.page);
        test::ForEachWindow(page, [&](HWND child) {
            RECT r{};
            ::GetWindowRect(child, &r);
            const RECT& p = bounds.page;
            if (r.left < p.left || r.top < p.top || r.right > p.right || r.bottom > p.bottom)
                bounds.outside.push_back(::GetDlgCtrlID(child));
            return true;
        });
        EXPECT_TRUE(bounds.outside.empty()) << "page " << i << ", first control outside: " << (bounds.outside.empty() ? 0 : bounds.outside.front());
        for (const NavigationLabel& label : kNavigationLabels) {
            RECT r{};
            ::GetWindowRect(::GetDlgItem(dialog.Window(), IDC_LABEL_BASE + label.number), &r);
            EXPECT_LE(r.right, bounds.page.left) << "label " << label.number;
        }
        RECT ok{};
        ::GetWindowRect(::GetDlgItem(dialog.Window(), IDOK), &ok);
        EXPECT_GE(ok.top, bounds.page.bottom);
        RECT client{};
        ::GetClientRect(dialog.Window(), &client);
        ::MapWindowPoints(dialog.Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_LE(bounds.page.right, client.right);
    }
}

}  // namespace
}  // namespace kz
