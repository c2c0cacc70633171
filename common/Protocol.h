// Everything that crosses between the host kz.exe and the hook library
// trelmo.dll: message codes, button kinds, registry names, export ordinals.
// Both deliverables include this header; nothing here may be defined twice.
#pragma once

namespace kz {

// Messages from the library to the host's main window, sent with SendMessageW.
// wParam is always the top-level window the message is about.
enum HostMessage : unsigned {
    HM_TO_TRAY = 1125,
    HM_TO_COMMON_TRAY = 1126,
    HM_TO_BOX = 1127,
    HM_ROLL = 1128,
    HM_ON_TOP = 1129,
    HM_TO_BACK = 1130,
    HM_TRANSPARENCY = 1131,  // lParam: -1 toggles, 5..100 sets that percentage of opacity
    HM_RUN_COPY = 1132,
    HM_WINDOW_GONE = 1139,   // the library let go of the window
    HM_WINDOW_SIZED = 1140,  // the window was resized by someone other than the library
};

constexpr unsigned kFirstCommandMessage = HM_TO_TRAY;
constexpr unsigned kLastCommandMessage = HM_RUN_COPY;
constexpr long kTransparencyToggleArgument = -1;

// Sent by a toolbar to its own helper window to have it destroyed. A number in
// the range each window class uses for its own messages: it never goes to a
// program's window, whose own message 0x710 may mean anything.
constexpr unsigned WM_CAPTIONBAR_DETACH = 0x710;

// What a caption button, a system-menu entry or a hotkey stands for. The same
// numbers index the stored hotkeys.
enum ButtonKind : int {
    kSeparator = 0,
    kToTray = 1,
    kToCommonTray = 2,
    kToBox = 3,
    kRollUp = 4,
    kOnTop = 5,
    kToBack = 6,
    kTransparencyToggle = 7,
    kTransparencyMenu = 8,
    kRunCopy = 9,
    kOverflow = 10,
};
constexpr int kCommandKindCount = 9;  // kinds 1..9 carry a window command

// The message a kind sends, or 0 for kinds without a command (0, 8, 10, unknown).
constexpr unsigned CommandMessageOfKind(int kind) {
    switch (kind) {
    case kToTray: return HM_TO_TRAY;
    case kToCommonTray: return HM_TO_COMMON_TRAY;
    case kToBox: return HM_TO_BOX;
    case kRollUp: return HM_ROLL;
    case kOnTop: return HM_ON_TOP;
    case kToBack: return HM_TO_BACK;
    case kTransparencyToggle: return HM_TRANSPARENCY;
    case kRunCopy: return HM_RUN_COPY;
    default: return 0;
    }
}

// Registry: HKEY_CURRENT_USER\SOFTWARE\Quorvane\Barquill
constexpr const char kRegistryKeyA[] = "SOFTWARE\\Quorvane\\Barquill";
constexpr const wchar_t kRegistryKeyW[] = L"SOFTWARE\\Quorvane\\Barquill";
constexpr const char kSettingsValueA[] = "Settings";
constexpr const wchar_t kSettingsValueW[] = L"Settings";
constexpr const char kBlacklistValueA[] = "Blacklist";
constexpr const wchar_t kBlacklistValueW[] = L"Blacklist";

// The buffer both readers take the settings into: a longer value cannot be
// read and counts as absent. The blacklist is read whole, whatever its size.
constexpr unsigned kSettingsValueMaxBytes = 512;

// The library's exports, bound by ordinal.
constexpr unsigned short kOrdinalHookProcedure = 1;  // HookGETMESSAGE
constexpr unsigned short kOrdinalSetHandle = 2;      // SetHandle(HHOOK)
constexpr unsigned short kOrdinalSetHostWindow = 3;  // SetHostWindow(HWND)
constexpr const char kHookLibraryName[] = "trelmo.dll";

// String resources of the library: the text of kind k is kFirstKindText + k - 1.
constexpr unsigned kFirstKindTextId = 102;

}  // namespace kz
