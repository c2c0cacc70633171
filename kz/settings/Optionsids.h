// Identifiers of the options dialog's templates and controls, shared by the
// resource script kz/resources/options.rc and the dialog's code. Plain
// macros: the resource compiler reads this file too.
#pragma once

#define IDD_OPTIONS 300
// One template per page, in the order of the Page enumeration.
#define IDD_PAGE_FIRST 301

// The frame.
#define IDC_HEAD_PARAMETERS 1001
#define IDC_HEAD_BUTTONS 1002
#define IDC_RULE_PARAMETERS 1003
#define IDC_RULE_BUTTONS 1004
#define IDC_HINT 1005
#define IDC_RESTORE 1006
// Navigation labels: 1100 + the number in the label's name (Label1 .. Label12, Label61).
#define IDC_LABEL_BASE 1100

// On every page.
#define IDC_PAGE_TITLE 2001
#define IDC_PAGE_TEXT 2002
// Hotkey controls and their status lines: base + the command's kind.
#define IDC_HOTKEY_BASE 2100
#define IDC_HOTKEY_STATUS_BASE 2120

// Minimize to Tray Menu.
#define IDC_RADIOBUTTON1 2201
#define IDC_RADIOBUTTON2 2202

// Minimize to Box: ToolButton1 .. ToolButton10 are 2300 + their number.
#define IDC_TOOLBUTTON_BASE 2300
#define IDC_ARRANGEMENT_GROUP 2320
#define IDC_IMAGE11 2331
#define IDC_EDBOXSIZE 2332
#define IDC_UDBOXSIZE 2333

// Transparency.
#define IDC_TRACKBAR1 2401
#define IDC_LABEL54 2402

// Common options.
#define IDC_CBRUNONSTARTUP 2501
#define IDC_CBSHOWTIPS 2502
#define IDC_CBSHOWSPLASH 2503
#define IDC_CBSHOWBUTTONHINTS 2504
#define IDC_CBALLOWOVERFLOWCAPTIONTEXT 2505

// Buttons Set.
#define IDC_SRCLIST 2601
#define IDC_DSTLIST 2602
#define IDC_BUTTON5 2605
#define IDC_BUTTON6 2606
#define IDC_BUTTON7 2607
#define IDC_BUTTON8 2608
#define IDC_IMPREVIEW 2610
#define IDC_RBGLYPHCOLORAUTODETECT 2611
#define IDC_RBGLYPHCOLORMANUAL 2612
#define IDC_GLYPHCOLOR_GROUP 2613
#define IDC_BUTTONS_LIMIT 2614
#define IDC_COLORSELECTBTN 2615

// Window menu.
#define IDC_MENUITEMSSRCLIST 2701
#define IDC_MENUITEMSDSTLIST 2702
#define IDC_BTNADDMENUITEM 2703
#define IDC_BTNREMOVEMENUITEM 2704
#define IDC_BTNADDALLMENUITEMS 2705
#define IDC_BTNREMOVEALLMENUITEMS 2706
#define IDC_MENUITEMS_LIMIT 2707

// Exclude applications.
#define IDC_LVBLACKLIST 2801
#define IDC_BTNBLACKLISTADD 2802
#define IDC_BTNBLACKLISTREMOVE 2803
