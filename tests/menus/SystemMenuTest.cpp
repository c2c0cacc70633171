#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/TestWindows.h"
#include "common/LibrarySettings.h"
#include "tests/support/MenuReading.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "trelmo/menus/WindowSystemMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz::test {
namespace {

void InstallSystemMenuOnly(HookedWindow& record) { record.AddHandler(std::make_unique<WindowSystemMenu>(record)); }

const std::vector<std::wstring> kCommandTexts = {
    L"Minimize to tray", L"Minimize to common tray", L"Minimize to box", L"Roll up/unroll",
    L"Always on top",    L"Push to background",      L"Transparency preset", L"Tune transparency",
    L"Run application copy"};

// The system commands the window's own procedure was given.
std::vector<WPARAM> g_ownSystemCommands;

LRESULT CALLBACK RememberingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND)
        g_ownSystemCommands.push_back(wParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateRememberingWindow() {
    RegisterTestWindowClass(L"KzMenusRememberingWindow", RememberingProcedure);
    return CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, nullptr, L"KzMenusRememberingWindow");
}

std::vector<std::wstring> Texts(const std::vector<MenuItemView>& items, std::size_t count) {
    std::vector<std::wstring> texts;
    for (std::size_t i = 0; i < count && i < items.size(); ++i)
        texts.push_back(items[i].text);
    return texts;
}

std::vector<UINT> IdsFrom(const std::vector<MenuItemView>& items, std::size_t first) {
    std::vector<UINT> ids;
    for (std::size_t i = first; i < items.size(); ++i)
        ids.push_back(items[i].id);
    return ids;
}

class SystemMenu : public ::testing::Test {
protected:
    SystemMenu() { g_ownSystemCommands.clear(); }
    ~SystemMenu() override {
        ::DestroyWindow(window);
        ::DestroyWindow(reference);
    }

    void Attach() {
        library.Attach(window);
        ASSERT_TRUE(library.IsAttached(window));
    }
    std::vector<MenuItemView> Items() { return ReadMenu(::GetSystemMenu(window, FALSE)); }
    // The system menu of a window the library never touched.
    std::vector<UINT> DefaultIds() { return MenuIds(::GetSystemMenu(reference, FALSE)); }

    void StoreMenuItems(const std::vector<int8_t>& kinds) {
        LibrarySettings settings = DecodeLibrarySettings(nullptr, 0);
        settings.MenuItemCount = static_cast<int8_t>(kinds.size());
        for (std::size_t i = 0; i < kinds.size(); ++i)
            settings.MenuItems[i] = kinds[i];
        registry.StoreSettings(settings);
    }

    ScratchRegistry registry;
    LibraryInProcess library{InstallSystemMenuOnly};
    HWND window = CreateRememberingWindow();
    HWND reference = CreateTestWindow();
};

TEST_F(SystemMenu, DefaultEntriesStandInOrderAboveTheSystemsOwn) {
    Attach();
    const std::vector<MenuItemView> items = Items();
    EXPECT_EQ(Texts(items, 9), kCommandTexts);
    for (std::size_t i = 0; i < 9 && i < items.size(); ++i)
        EXPECT_EQ(items[i].id, kSystemMenuFirstIdentifier + 256 * i) << i;

    ASSERT_GE(items.size(), 9u);
    ASSERT_NE(items[7].submenu, nullptr) << "Tune transparency";
    const std::vector<MenuItemView> levels = ReadMenu(items[7].submenu);
    ASSERT_EQ(levels.size(), 11u);
    EXPECT_EQ(levels[0].text, L"100 %");
    EXPECT_TRUE(levels[0].checked);

    // Kind 10, the tenth default entry, is left out: the system's own entries follow at once.
    EXPECT_EQ(IdsFrom(items, 9), DefaultIds());
}

TEST_F(SystemMenu, EveryAttachedWindowGetsTheEntries) {
    Process().installHandlers = InstallStandardHandlers;
    Attach();
    EXPECT_EQ(Texts(Items(), 9), kCommandTexts);
}

TEST_F(SystemMenu, ConfiguredEntriesFollowTheSettingsWithoutEmptyOnes) {
    StoreMenuItems({5, 0, 10, 40, -3, 1});
    Attach();
    const std::vector<MenuItemView> items = Items();
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[0].text, L"Always on top");
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].text, L"Minimize to tray");
    EXPECT_EQ(items[2].id, kSystemMenuFirstIdentifier + 2 * 256);
    EXPECT_EQ(IdsFrom(items, 3), DefaultIds());
}

TEST_F(SystemMenu, AfterARebuildTheEntriesStandThereOnce) {
    Attach();
    const std::size_t attachedCount = Items().size();
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    ::SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    const std::vector<MenuItemView> items = Items();
    EXPECT_EQ(items.size(), attachedCount);
    EXPECT_EQ(Texts(items, 9), kCommandTexts);
    EXPECT_EQ(IdsFrom(items, 9), DefaultIds());

    // A rebuild reads the settings again.
    StoreMenuItems({9});
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(Texts(Items(), 1), std::vector<std::wstring>{L"Run application copy"});
    EXPECT_EQ(IdsFrom(Items(), 1), DefaultIds());
}

TEST_F(SystemMenu, AnEntrySendsItsCommandOnceAndTheWindowStillGetsTheSystemCommand) {
    Attach();
    const WPARAM toTray = kSystemMenuFirstIdentifier;
    // The system uses the low four bits for itself: they do not matter.
    for (WPARAM command : {toTray, toTray | 0xF, toTray & ~WPARAM(0xF)}) {
        library.Host().Clear();
        g_ownSystemCommands.clear();
        ::SendMessageW(window, WM_SYSCOMMAND, command, 0);
        EXPECT_EQ(library.Host().Count(HM_TO_TRAY, window), 1) << command;
        EXPECT_EQ(library.Host().Messages().size(), 1u) << command;
        EXPECT_EQ(g_ownSystemCommands, std::vector<WPARAM>{command});
    }

    library.Host().Clear();
    ::SendMessageW(window, WM_SYSCOMMAND, kSystemMenuFirstIdentifier + 2 * 256, 0);
    EXPECT_EQ(library.Host().Count(HM_TO_BOX, window), 1);

    library.Host().Clear();
    const UINT thirty = FindIdByText(::GetSystemMenu(window, FALSE), L"30 %");
    ASSERT_NE(thirty, 0u);
    ::SendMessageW(window, WM_SYSCOMMAND, thirty, 0);
    ASSERT_EQ(library.Host().Messages().size(), 1u);
    EXPECT_EQ(library.Host().Messages()[0].message, static_cast<UINT>(HM_TRANSPARENCY));
    EXPECT_EQ(library.Host().Messages()[0].lParam, 30);

    // The submenu's own entry sends nothing; the system's commands still work.
    library.Host().Clear();
    ::SendMessageW(window, WM_SYSCOMMAND, kSystemMenuFirstIdentifier + 7 * 256, 0);
    ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_EQ(library.Host().Count(HM_TRANSPARENCY), 0);
    EXPECT_EQ(library.Host().Count(HM_TO_TRAY), 0);
}

TEST_F(SystemMenu, RollingUpFromTheMenuIsNotReportedAsAResize) {
    Attach();
    // The host rolls the window up while the library waits for it.
    library.Host().onMessage = [](const ReceivedMessage& m) {
        if (m.message == HM_ROLL)
            ::SetWindowPos(reinterpret_cast<HWND>(m.wParam), nullptr, 0, 0, 300, 30,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    library.Host().Clear();
    ::SendMessageW(window, WM_SYSCOMMAND, kSystemMenuFirstIdentifier + 3 * 256, 0);
    EXPECT_EQ(library.Host().Count(HM_ROLL, window), 1);
    EXPECT_EQ(library.Host().Count(HM_WINDOW_SIZED), 0);
    EXPECT_TRUE(Process().FindRecord(window)->rolledUp);
}

TEST_F(SystemMenu, DestroyingTheHandlerLeavesTheDefaultMenu) {
    HookedWindow record(window, DecodeLibrarySettings(nullptr, 0));
    HMENU transparency = nullptr;
    {
        WindowSystemMenu handler(record);
        const std::vector<MenuItemView> items = Items();
        ASSERT_EQ(Texts(items, 9), kCommandTexts);
        transparency = items[7].submenu;
        ASSERT_TRUE(::IsMenu(transparency));
    }
    EXPECT_EQ(MenuIds(::GetSystemMenu(window, FALSE)), DefaultIds());
    EXPECT_FALSE(::IsMenu(transparency)) << "the transparency menu went with its entry";

    // Also when the program reset its system menu itself meanwhile.
    {
        WindowSystemMenu handler(record);
        ::GetSystemMenu(window, TRUE);
    }
    EXPECT_EQ(MenuIds(::GetSystemMenu(window, FALSE)), DefaultIds());
}

TEST_F(SystemMenu, TheProgramsOwnEntriesSurviveRebuildAndDetach) {
    constexpr UINT kOwnId = 0x50;
    ::AppendMenuW(::GetSystemMenu(window, FALSE), MF_STRING, kOwnId, L"Own entry");
    std::vector<UINT> expected = DefaultIds();
    expected.push_back(kOwnId);

    Attach();
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(IdsFrom(Items(), 9), expected);

    ReleaseWindow(window);
    ASSERT_FALSE(library.IsAttached(window));
    EXPECT_EQ(MenuIds(::GetSystemMenu(window, FALSE)), expected);
}

}  // namespace
}  // namespace kz::test
