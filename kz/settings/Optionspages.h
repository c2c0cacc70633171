// The pages of the options dialog as data: the navigation labels with their
// tags, pages and hint texts, the help topic of each page, and the page of
// each command's hotkey.
#pragma once

#include <array>
#include <optional>

namespace kz {

// In the order of the page templates (IDD_PAGE_FIRST + the value).
enum class Page {
    Tray,
    TrayMenu,
    MinimizeToBox,
    RollUp,
    AlwaysOnTop,
    SendToBack,
    Transparency,
    PercentTransparency,
    CopyWindow,
    CommonOptions,
    ButtonsSet,
    WinMenu,
    Blacklist,
};
constexpr int kPageCount = 13;

struct NavigationLabel {
    int number;  // the number in the label's name: Label10 is 10
    int tag;     // a positive tag is the kind of the command the page configures
    Page page;
    const wchar_t* hint;
};

// Top to bottom, as the navigation panel lists them.
constexpr std::array<NavigationLabel, kPageCount> kNavigationLabels{{
    {10, -1, Page::ButtonsSet, L"Buttons choice and windows caption preview"},
    {11, -2, Page::CommonOptions, L"Common options for Barquill"},
    {61, -3, Page::WinMenu, L""},
    {12, -4, Page::Blacklist, L""},
    {1, 5, Page::AlwaysOnTop, L"Places window on the top of other windows, so that be always visible"},
    {2, 6, Page::SendToBack, L"Places window under other windows"},
    {3, 9, Page::CopyWindow, L"Starts a new copy of the application"},
    {4, 4, Page::RollUp, L"Rolls-up / unroll window to its caption"},
    {5, 3, Page::MinimizeToBox, L"Minimizes window and places it to box with window's icon on it"},
    {6, 7, Page::Transparency, L"Makes any window transparent"},
    {7, 8, Page::PercentTransparency, L"Setups any window transparency from any of transparency menu items"},
    {8, 1, Page::Tray, L"Minimizes window and places its icon to System Tray"},
    {9, 2, Page::TrayMenu, L"Minimizes window and places its icon to System Tray Menu"},
}};

struct PageHelpTopic {
    Page page;
    const wchar_t* topic;
};

// Help opens the topic of the first page of this table that is visible.
constexpr std::array<PageHelpTopic, 11> kPageHelpTopics{{
    {Page::TrayMenu, L"3Options window\\ButtonsSettings\\ToTrayMenu.htm"},
    {Page::AlwaysOnTop, L"3Options window\\ButtonsSettings\\AlwaysOnTop.htm"},
    {Page::MinimizeToBox, L"3Options window\\ButtonsSettings\\ToBox.htm"},
    {Page::RollUp, L"3Options window\\ButtonsSettings\\RollUp.htm"},
    {Page::CopyWindow, L"3Options window\\ButtonsSettings\\CopyWindow.htm"},
    {Page::SendToBack, L"3Options window\\ButtonsSettings\\SendToBack.htm"},
    {Page::Tray, L"3Options window\\ButtonsSettings\\ToTray.htm"},
    {Page::Transparency, L"3Options window\\ButtonsSettings\\Transparency.htm"},
    {Page::PercentTransparency, L"3Options window\\ButtonsSettings\\PercentageTransparency.htm"},
    {Page::ButtonsSet, L"3Options window\\Parameters\\ButtonsSet.htm"},
    {Page::CommonOptions, L"3Options window\\Parameters\\CommonOptions.htm"},
}};

// The help topic of a page; nothing for a page without one.
inline const wchar_t* HelpTopicOf(Page page) {
    for (const PageHelpTopic& entry : kPageHelpTopics) {
        if (entry.page == page)
            return entry.topic;
    }
    return nullptr;
}

// The page that holds the hotkey of a command kind (1 to 9).
inline Page PageOfKind(int kind) { return static_cast<Page>(kind - 1); }
// The command kind a page configures, for the pages Tray to CopyWindow.
inline int KindOfPage(Page page) { return static_cast<int>(page) + 1; }

}  // namespace kz
