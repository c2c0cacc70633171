#include "kz/core/Traytips.h"

namespace kz {

const std::array<const wchar_t*, kTrayTipCount> TrayTipTexts{{
    // 0
    L"You can add or remove any of Barquill. Click on the KZ icon in System Tray and select Options "
    L"in pop-up menu. Choose Buttons tab, select any of buttons in Available buttons list and use "
    L"Add and Remove buttons to setup your own configuration of Barquill. ",
    // 1
    L"You can place any window to System Tray, so that it wouldn\u2019t prevent you to work. Click on "
    L"\u201CSend to Tray\u201D button in the caption of the window. Double click window icon in System Tray "
    L"to restore window.",
    // 2
    L"You can place many windows to KZ Tray Menu, so they would not prevent you to work and they "
    L"would not occupy a lot of place in System Tray. Click on \u201CSend to Tray Menu\u201D button in the "
    L"caption of the window. To restore window, click on KZ icon in icon or KZ Tray Menu icon and "
    L"select window name.",
    // 3
    L"You can choose whether windows that placed in KZ Tray Menu appear in KZ System Tray pop-up "
    L"menu or in separate KZ System Tray Menu. Click on the KZ Tray icon and select Options in "
    L"appeared pop-up menu. Choose Buttons Properties tab and select KZ Tray or KZ Tray Menu in "
    L"\u201CHide window to System Tray Menu\u201D section.",
    // 4
    L"You can setup KZ to automatically loads at system startup. Click on the KZ Tray icon and "
    L"select Options in appeared pop-up menu. Choose General tab and check \u201CLaunch at system "
    L"startup\u201D. To remove KZ from system startup list, uncheck \u201CLaunch at system startup\u201D.",
    // 5
    L"You can customize KZ on your own. Click on the KZ Tray icon and select Options in appeared "
    L"pop-up menu to makes any changes of configurations. To restore all setting to factory defaults "
    L"press \u201CRestore to defaults\u201D button.",
    // 6
    L"You can make any window to be transparent (only for Windows 2000/XP/Vista). Click "
    L"\u201CTransparency\u201D button in the caption of the window. To restore window state press "
    L"\u201CTransparency\u201D button again.",
    // 7
    L"You can setup any window transparency (only for Windows 2000/XP/Vista) from any of transparency "
    L"menu items. Click \u201CPercentage Transparency\u201D button in the caption of the window and select an "
    L"item in appeared pop-up menu.",
    // 8
    L"You can save your workspace by placing the window to box with window\u2019s icon on it. Click "
    L"\u201CMinimize to Box\u201D button in the caption of the window. To arrange boxes on the workspace "
    L"Right-click on one of them and choose arrangement type in appeared pop-up menu. To restore "
    L"window state double-click on the box",
    // 9
    L"You can save your workspace by rolling-up window to its caption. Click \u201CRoll-up/Unroll\u201D "
    L"button in the caption of the window to roll-up. To restore window state press \u201CRoll-up/Unroll\u201D "
    L"button again.",
    // 10
    L"You can setup hotkeys for any of Barquill. Click on the KZ Tray icon and select Options in "
    L"appeared pop-up menu. Choose Buttons properties tab and enter hotkey combination in \u201CHotkey\u201D "
    L"field.",
    // 11
    L"You can get a brief explanation for any of control elements. Place mouse pointer on control "
    L"element and wait for a second - the hint will appear.",
    // 12
    L"You can create many copies of window without searching its filename. Click \u201CCopy window\u201D "
    L"button in the caption of the window.",
    // 13
    L"You can manage your windows by sending any of them to the back.  Click \u201CSend to Back\u201D button "
    L"in the caption of the window.",
    // 14
    L"You can manage your windows by placing any of them on the top of the other, so that be always "
    L"visible if inactive. Click \u201CAlways on Top\u201D button in the caption of the window. To restore "
    L"window state press \u201CAlways on Top\u201D button again.",
    // 15
    L"You can always restore all changed properties of any window. Click on the KZ Tray icon, "
    L"select \u201CRestore changed window\u201D and choose window\u2019s name.",
}};

unsigned NextTipIntervalMs(uint32_t random) { return 700000u + random % 1200000u; }

int TipIndex(uint32_t random) { return static_cast<int>(random % kTrayTipCount); }

}  // namespace kz
