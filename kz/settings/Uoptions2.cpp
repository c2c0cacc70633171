#include "kz/settings/Uoptions2.h"

#include "kz/core/Vwindowlist.h"
#include "kz/settings/Optionsids.h"
#include "kz/settings/Startupentry.h"
#include "kz/settings/Usettingsfile.h"

#include <commdlg.h>

#include <algorithm>
#include <stdexcept>

namespace kz {

namespace {

// In pixels of the design font (see DesignScale).
constexpr int kClientWidth = 671;
constexpr int kClientHeight = 524;
constexpr int kTopPanelHeight = 41;
constexpr int kNavigationWidth = 168;
constexpr int kBottomPanelHeight = 40;
constexpr int kHintHeight = 22;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr SIZE kPreviewSize{433, 33};
constexpr SIZE kImage11Size{99, 97};
constexpr int kArrangementButtonSide = 71;
constexpr POINT kColorButtonOffset{344, 10};
constexpr int kSrcRowHeight = 13;
constexpr int kDstRowHeight = 16;
constexpr int kGlyphCell = 18;
constexpr int kBlacklistColumnWidth = 450;

constexpr COLORREF kHeadingColour = RGB(0x4D, 0x4D, 0x4D);
constexpr COLORREF kHintColour = RGB(0x00, 0x33, 0x99);
constexpr COLORREF kBylineColour = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kWarningColour = RGB(0xC0, 0x00, 0x00);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr wchar_t kByline[] = L"by Quorvane Software";
constexpr wchar_t kLimitText[] = L"The list is full: it holds at most 32 entries.";

bool IsListId(int id) {
    return id == IDC_SRCLIST || id == IDC_DSTLIST || id == IDC_MENUITEMSSRCLIST || id == IDC_MENUITEMSDSTLIST;
}

const NavigationLabel* LabelOfNumber(int number) {
    for (const NavigationLabel& label : kNavigationLabels) {
        if (label.number == number)
            return &label;
    }
    return nullptr;
}

const NavigationLabel* LabelOfPage(Page page) {
    for (const NavigationLabel& label : kNavigationLabels) {
        if (label.page == page)
            return &label;
    }
    return nullptr;
}

int LabelNumberOfControl(HWND control) {
    const int id = ::GetDlgCtrlID(control) - IDC_LABEL_BASE;
    return LabelOfNumber(id) ? id : 0;
}

std::wstring Widen(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
}

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

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveChild(HWND child, int x, int y, int width, int height) {
    ::SetWindowPos(child, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// ---- Creation ----

TfrmOptions::TfrmOptions(HINSTANCE instance, HWND owner, OptionsHost& host)
    : instance_(instance), owner_(owner), host_(host) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                      ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    dragListMessage_ = ::RegisterWindowMessageW(L"commctrl_DragListMsg");
    const HWND window = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), owner, &FrameProcedure,
                                             reinterpret_cast<LPARAM>(this));
    if (!window)
        throw std::runtime_error("The options dialog cannot be created");
    FormCreate();
}

TfrmOptions::~TfrmOptions() {
    // The windows go first: their last messages still reach this object.
    window_.reset();
    if (ilBlackList_)
        ::ImageList_Destroy(ilBlackList_);
}

void TfrmOptions::FormCreate() {
    SetDefaultSettings(settings_);
    whiteBrush_.reset(::CreateSolidBrush(kWhite));
    MakeFonts();
    CreatePages();
    LayOutFrame();
    PlacePixelControls();
    SetUpControls();
    previewDrawer_ = std::make_unique<TExBackDrawer>(host_.MainWindow(), 0);
    listGlyphs_ = std::make_unique<TButtonGlyphs>(EffectiveGlyphColor(settings_));
    static constexpr const wchar_t* kBoxPictureNames[] = {L"box16", L"box32", L"box48", L"box64", L"box96"};
    for (size_t i = 0; i < boxPictures_.size(); ++i)
        boxPictures_[i].reset(static_cast<HBITMAP>(
            ::LoadImageW(instance_, kBoxPictureNames[i], IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT)));
    for (const NavigationLabel& label : kNavigationLabels)
        ::SetWindowSubclass(::GetDlgItem(Handle(), IDC_LABEL_BASE + label.number), &LabelProcedure, 0,
                            reinterpret_cast<DWORD_PTR>(this));
    firstActivation_ = true;
    Label1Click(10);
    ToolButton1Click();
    modified_ = false;
}

void TfrmOptions::MakeFonts() {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    boldFont_.reset(::CreateFontIndirectW(&font));
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    underlineFont_.reset(::CreateFontIndirectW(&font));
}

void TfrmOptions::CreatePages() {
    for (int i = 0; i < kPageCount; ++i) {
        pages_[static_cast<size_t>(i)] = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_PAGE_FIRST + i),
                                                              Handle(), &PageProcedure, reinterpret_cast<LPARAM>(this));
        if (!pages_[static_cast<size_t>(i)])
            throw std::runtime_error("A page of the options dialog cannot be created");
        ::SendDlgItemMessageW(pages_[static_cast<size_t>(i)], IDC_PAGE_TITLE, WM_SETFONT,
                              reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    }
}

DesignScale DesignScaleOf(HWND dialog) {
    RECT units{0, 0, 4, 8};
    if (!::MapDialogRect(dialog, &units))
        return {};
    return {static_cast<int>(units.right), static_cast<int>(units.bottom)};
}

// The panels are given in pixels of the design font: the frame is laid out
// here, in those pixels scaled to the dialog's own font.
void TfrmOptions::LayOutFrame() {
    scale_ = DesignScaleOf(Handle());
    const int clientWidth = scale_.X(kClientWidth);
    const int clientHeight = scale_.Y(kClientHeight);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    const int margin = scale_.X(8);
    const int buttonWidth = scale_.X(kButtonWidth);
    const int buttonHeight = scale_.Y(kButtonHeight);
    const int bottomPanelHeight = scale_.Y(kBottomPanelHeight);
    const int buttonTop = clientHeight - bottomPanelHeight + (bottomPanelHeight - buttonHeight) / 2;
    MoveChild(::GetDlgItem(Handle(), IDC_RESTORE), margin, buttonTop, scale_.X(120), buttonHeight);
    int left = clientWidth - margin - buttonWidth;
    for (const int id : {IDHELP, IDCANCEL, IDOK}) {
        MoveChild(::GetDlgItem(Handle(), id), left, buttonTop, buttonWidth, buttonHeight);
        left -= buttonWidth + margin;
    }
    const int navigationWidth = scale_.X(kNavigationWidth);
    const int topPanelHeight = scale_.Y(kTopPanelHeight);
    const int hintHeight = scale_.Y(kHintHeight);
    MoveChild(::GetDlgItem(Handle(), IDC_HINT), navigationWidth + margin, topPanelHeight + scale_.Y(4),
              clientWidth - navigationWidth - 2 * margin, hintHeight - scale_.Y(6));
    const int pageTop = topPanelHeight + hintHeight;
    for (const HWND page : pages_)
        MoveChild(page, navigationWidth, pageTop, clientWidth - navigationWidth,
                  clientHeight - bottomPanelHeight - pageTop);
    for (const int id : {IDC_HEAD_PARAMETERS, IDC_HEAD_BUTTONS, IDC_HINT})
        ::SendDlgItemMessageW(Handle(), id, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
}

void TfrmOptions::PlacePixelControls() {
    const HWND buttonsSet = PageWindow(Page::ButtonsSet);
    const HWND preview = ::GetDlgItem(buttonsSet, IDC_IMPREVIEW);
    const RECT previewRect = ChildRect(preview);
    MoveChild(preview, previewRect.left, previewRect.top, kPreviewSize.cx, kPreviewSize.cy);
    const RECT group = ChildRect(::GetDlgItem(buttonsSet, IDC_GLYPHCOLOR_GROUP));
    colorButton_ = TColorSelectBtn::Create(buttonsSet, IDC_COLORSELECTBTN, group.left + kColorButtonOffset.x,
                                           group.top + kColorButtonOffset.y);
    if (!colorButton_)
        throw std::runtime_error("The colour button of the options dialog cannot be created");
    colorButton_->OnClick = [this] { ColorButtonClick(); };
    colorButton_->OnChange = [this] { ColorButtonChange(); };

    const HWND box = PageWindow(Page::MinimizeToBox);
    const HWND image11 = ::GetDlgItem(box, IDC_IMAGE11);
    const RECT imageRect = ChildRect(image11);
    MoveChild(image11, imageRect.left, imageRect.top, kImage11Size.cx, kImage11Size.cy);
    // The orientation column, and beside it the two sets in one place.
    const HWND arrangementGroup = ::GetDlgItem(box, IDC_ARRANGEMENT_GROUP);
    const RECT arrangement = ChildRect(arrangementGroup);
    const int side = kArrangementButtonSide;
    const int top = arrangement.top + 16;
    MoveChild(arrangementGroup, arrangement.left, arrangement.top, arrangement.right - arrangement.left,
              16 + 2 * side + 2 + 8);
    MoveChild(::GetDlgItem(box, IDC_TOOLBUTTON_BASE + 1), arrangement.left + 8, top, side, side);
    MoveChild(::GetDlgItem(box, IDC_TOOLBUTTON_BASE + 2), arrangement.left + 8, top + side + 2, side, side);
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        const int column = (button - kFirstArrangementButton) % 4;
        MoveChild(::GetDlgItem(box, IDC_TOOLBUTTON_BASE + button), arrangement.left + 8 + side + 16 + column * (side + 2),
                  top, side, side);
    }
}

void TfrmOptions::SetUpControls() {
    for (int kind = 1; kind <= kLastButtonCode; ++kind) {
        const HWND hotKey = Control(IDC_HOTKEY_BASE + kind);
        // Neither a bare key nor Shift alone: such a combination gets Alt.
        ::SendMessageW(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
    }
    for (size_t i = 0; i < imageList1_.size(); ++i) {
        const std::wstring name = L"ARRANGE" + std::to_wstring(i);
        imageList1_[i].reset(static_cast<HBITMAP>(::LoadImageW(instance_, name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
        ::SendMessageW(Control(IDC_TOOLBUTTON_BASE + 1 + static_cast<int>(i)), BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(imageList1_[i].get()));
    }
    const HWND trackBar = Control(IDC_TRACKBAR1);
    ::SendMessageW(trackBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    ::SendMessageW(trackBar, TBM_SETTICFREQ, 5, 0);
    ::SendMessageW(trackBar, TBM_SETPAGESIZE, 0, 10);
    const HWND upDown = Control(IDC_UDBOXSIZE);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(IDC_EDBOXSIZE)), 0);
    ::SendMessageW(upDown, UDM_SETRANGE32, kBoxSizeMin, kBoxSizeMax);
    UDACCEL step{0, kBoxSizeStep};
    ::SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    for (const int id : {IDC_SRCLIST, IDC_MENUITEMSSRCLIST})
        ::SendMessageW(Control(id), LB_SETITEMHEIGHT, 0, kSrcRowHeight);
    for (const int id : {IDC_DSTLIST, IDC_MENUITEMSDSTLIST}) {
        ::SendMessageW(Control(id), LB_SETITEMHEIGHT, 0, kDstRowHeight);
        ::MakeDragList(Control(id));
    }
    const HWND list = Control(IDC_LVBLACKLIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_INFOTIP | LVS_EX_UNDERLINEHOT | LVS_EX_TWOCLICKACTIVATE);
    ilBlackList_ = ::ImageList_Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                      ILC_COLOR32 | ILC_MASK, 4, 8);
    ListView_SetImageList(list, ilBlackList_, LVSIL_SMALL);
    ListView_SetColumnWidth(list, 0, kBlacklistColumnWidth);
    ::SendDlgItemMessageW(PageWindow(Page::Blacklist), IDC_BTNBLACKLISTADD, WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(L"Add..."));
}

// ---- Window procedures ----

INT_PTR CALLBACK TfrmOptions::FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TfrmOptions*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_.reset(window);
        return TRUE;
    }
    auto* self = reinterpret_cast<TfrmOptions*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_.release();
        return FALSE;
    }
    try {
        return self->HandleFrameMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CALLBACK TfrmOptions::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    if (message == WM_MEASUREITEM) {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const bool chosenList = measure.CtlID == IDC_DSTLIST || measure.CtlID == IDC_MENUITEMSDSTLIST;
        measure.itemHeight = chosenList ? kDstRowHeight : kSrcRowHeight;
        return TRUE;
    }
    auto* self = reinterpret_cast<TfrmOptions*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        INT_PTR result = FALSE;
        if (!self->HandleSharedMessage(window, message, wParam, lParam, result))
            return FALSE;
        return result;
    } catch (...) {
        return FALSE;
    }
}

LRESULT CALLBACK TfrmOptions::LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<TfrmOptions*>(data);
    try {
        if (message == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            self->Label1MouseMove(LabelNumberOfControl(window));
        } else if (message == WM_MOUSELEAVE) {
            self->Label1MouseLeave(LabelNumberOfControl(window));
        } else if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(window, &LabelProcedure, 0);
        }
    } catch (...) {
        // Hover effects only.
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR TfrmOptions::HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    if (HandleSharedMessage(Handle(), message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT: return OnPaint();
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            FormActivate();
        return FALSE;
    case WM_CLOSE: Cancel_ButtonClick(); return TRUE;
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(whiteBrush_.get());
    default: return FALSE;
    }
}

bool TfrmOptions::HandleSharedMessage(HWND from, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == dragListMessage_ && dragListMessage_ != 0) {
        result = OnDragList(from, *reinterpret_cast<const DRAGLISTINFO*>(lParam));
        ::SetWindowLongPtrW(from, DWLP_MSGRESULT, result);
        return true;
    }
    switch (message) {
    case WM_COMMAND: result = OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return true;
    case WM_NOTIFY:
        result = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        ::SetWindowLongPtrW(from, DWLP_MSGRESULT, 0);
        return true;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Control(IDC_TRACKBAR1))
            TrackBar1Change();
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        DrawListRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<INT_PTR>(whiteBrush_.get());
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        result = OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    default: return false;
    }
}

INT_PTR TfrmOptions::OnCommand(WORD id, WORD code, HWND control) {
    if (id >= IDC_LABEL_BASE && id < IDC_LABEL_BASE + 100 && code == STN_CLICKED) {
        Label1Click(id - IDC_LABEL_BASE);
        return TRUE;
    }
    if (id > IDC_HOTKEY_BASE && id <= IDC_HOTKEY_BASE + kLastButtonCode) {
        if (code == EN_CHANGE)
            OnModifyParameter();
        return TRUE;
    }
    if (id > IDC_TOOLBUTTON_BASE + 2 && id <= IDC_TOOLBUTTON_BASE + kLastArrangementButton) {
        ToolButton8Click(id - IDC_TOOLBUTTON_BASE);
        return TRUE;
    }
    const bool clicked = code == BN_CLICKED;
    switch (id) {
    case IDOK: OK_ButtonClick(); return TRUE;
    case IDCANCEL: Cancel_ButtonClick(); return TRUE;
    case IDC_RESTORE: Restore_ButtonClick(); return TRUE;
    case IDHELP: Help_ButtonClick(); return TRUE;
    case IDC_TOOLBUTTON_BASE + 1: ToolButton1Click(); return TRUE;
    case IDC_TOOLBUTTON_BASE + 2: ToolButton2Click(); return TRUE;
    case IDC_EDBOXSIZE:
        if (code == EN_CHANGE)
            CSpinEdit1Change();
        return TRUE;
    case IDC_RADIOBUTTON1:
    case IDC_RADIOBUTTON2:
    case IDC_CBRUNONSTARTUP:
    case IDC_CBSHOWTIPS:
    case IDC_CBSHOWSPLASH:
    case IDC_CBSHOWBUTTONHINTS:
    case IDC_CBALLOWOVERFLOWCAPTIONTEXT:
        if (clicked)
            OnModifyParameter();
        return TRUE;
    case IDC_SRCLIST:
        if (code == LBN_DBLCLK)
            Button5Click();
        return TRUE;
    case IDC_DSTLIST:
        if (code == LBN_DBLCLK)
            Button6Click();
        return TRUE;
    case IDC_MENUITEMSSRCLIST:
        if (code == LBN_DBLCLK)
            btnAddMenuItemClick();
        return TRUE;
    case IDC_MENUITEMSDSTLIST:
        if (code == LBN_DBLCLK)
            btnRemoveMenuItemClick();
        return TRUE;
    default: break;
    }
    if (!clicked)
        return FALSE;
    switch (id) {
    case IDC_BUTTON5: Button5Click(); break;
    case IDC_BUTTON6: Button6Click(); break;
    case IDC_BUTTON7: Button7Click(); break;
    case IDC_BUTTON8: Button8Click(); break;
    case IDC_BTNADDMENUITEM: btnAddMenuItemClick(); break;
    case IDC_BTNREMOVEMENUITEM: btnRemoveMenuItemClick(); break;
    case IDC_BTNADDALLMENUITEMS: btnAddAllMenuItemsClick(); break;
    case IDC_BTNREMOVEALLMENUITEMS: btnRemoveAllMenuItemsClick(); break;
    case IDC_RBGLYPHCOLORAUTODETECT: rbGlyphColorAutodetectClick(); break;
    case IDC_RBGLYPHCOLORMANUAL: rbGlyphColorManualClick(); break;
    case IDC_BTNBLACKLISTADD: btnBlacklistAddClick(); break;
    case IDC_BTNBLACKLISTREMOVE: btnBlacklistRemoveClick(); break;
    default: return FALSE;
    }
    (void)control;
    return TRUE;
}

INT_PTR TfrmOptions::OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_UDBOXSIZE && header.code == UDN_DELTAPOS)
        CSpinEdit1Changing();
    else if (header.idFrom == IDC_LVBLACKLIST && header.code == LVN_GETINFOTIPW)
        lvBlackListInfoTip(*reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(&header)));
    return 0;
}

INT_PTR TfrmOptions::OnCtlColor(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    ::SetBkColor(dc, kWhite);
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    if (const int number = LabelNumberOfControl(control); number != 0 && ::GetParent(control) == Handle()) {
        if (number == selectedLabel_)
            text = ::GetSysColor(COLOR_HOTLIGHT);
        else if (number == hoveredLabel_)
            text = ::GetSysColor(COLOR_ACTIVECAPTION);
    } else if (id == IDC_HEAD_PARAMETERS || id == IDC_HEAD_BUTTONS) {
        text = kHeadingColour;
    } else if (id == IDC_HINT) {
        text = kHintColour;
    } else if ((id > IDC_HOTKEY_STATUS_BASE && id <= IDC_HOTKEY_STATUS_BASE + kLastButtonCode) ||
               id == IDC_BUTTONS_LIMIT || id == IDC_MENUITEMS_LIMIT || id == IDC_BLACKLIST_STATUS) {
        text = kWarningColour;
    }
    ::SetTextColor(dc, text);
    return reinterpret_cast<INT_PTR>(whiteBrush_.get());
}

INT_PTR TfrmOptions::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Handle(), &paint);
    if (!banner_)
        banner_.reset(static_cast<HBITMAP>(::LoadImageW(instance_, L"OPTBANNER", IMAGE_BITMAP, 0, 0, 0)));
    if (banner_) {
        const UniqueMemoryDC memory(::CreateCompatibleDC(dc));
        const SelectGuard select(memory.get(), banner_.get());
        BITMAP bitmap{};
        ::GetObjectW(banner_.get(), sizeof bitmap, &bitmap);
        ::StretchBlt(dc, 0, 0, scale_.X(kClientWidth), scale_.Y(kTopPanelHeight), memory.get(), 0, 0,
                     bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    }
    RECT byline{0, 0, scale_.X(kClientWidth - 10), scale_.Y(kTopPanelHeight - 3)};
    const SelectGuard font(dc, boldFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kBylineColour);
    ::DrawTextW(dc, kByline, -1, &byline, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    ::EndPaint(Handle(), &paint);
    return TRUE;
}

INT_PTR TfrmOptions::OnSetCursor(HWND under) {
    if (LabelNumberOfControl(under) == 0 || ::GetParent(under) != Handle())
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
    ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// ---- Navigation ----

void TfrmOptions::FormActivate() {
    if (!firstActivation_)
        return;
    Label1Click(10);
    RedrawPreview();
    firstActivation_ = false;
}

void TfrmOptions::Label1Click(int number) {
    const NavigationLabel* label = LabelOfNumber(number);
    if (!label)
        return;
    selectedLabel_ = number;
    for (const NavigationLabel& each : kNavigationLabels) {
        const HWND control = ::GetDlgItem(Handle(), IDC_LABEL_BASE + each.number);
        const HFONT font = each.number == number ? boldFont_.get()
                                                 : reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    SelectPage(label->page);
}

void TfrmOptions::SelectPage(Page page) {
    visiblePage_ = page;
    for (int i = 0; i < kPageCount; ++i)
        ::ShowWindow(pages_[static_cast<size_t>(i)], static_cast<Page>(i) == page ? SW_SHOWNA : SW_HIDE);
}

void TfrmOptions::Label1MouseMove(int number) {
    const NavigationLabel* label = LabelOfNumber(number);
    if (!label)
        return;
    ::SetDlgItemTextW(Handle(), IDC_HINT, label->hint);
    if (number == selectedLabel_ || number == hoveredLabel_)
        return;
    hoveredLabel_ = number;
    const HWND control = ::GetDlgItem(Handle(), IDC_LABEL_BASE + number);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont_.get()), TRUE);
}

void TfrmOptions::Label1MouseLeave(int number) {
    if (number == hoveredLabel_)
        hoveredLabel_ = 0;
    if (number == selectedLabel_)
        return;
    const HWND control = ::GetDlgItem(Handle(), IDC_LABEL_BASE + number);
    ::SendMessageW(control, WM_SETFONT, ::SendMessageW(Handle(), WM_GETFONT, 0, 0), TRUE);
}

// ---- Opening, filling, storing ----

void TfrmOptions::OpenOptions() {
    LoadControls(true);
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
}

bool TfrmOptions::IsDialogMessage(MSG& msg) const {
    return Handle() && ::IsWindowVisible(Handle()) && ::IsDialogMessageW(Handle(), &msg);
}

HWND TfrmOptions::Control(int id) const {
    if (const HWND own = ::GetDlgItem(Handle(), id))
        return own;
    for (const HWND page : pages_) {
        if (const HWND control = page ? ::GetDlgItem(page, id) : nullptr)
            return control;
    }
    return nullptr;
}

bool TfrmOptions::Checked(int id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TfrmOptions::SetChecked(int id, bool checked) {
    ::SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmOptions::LoadControls(bool reload) {
    if (reload && !LoadSettings(settings_))
        SetDefaultSettings(settings_);
    FillEditors();
    SetChecked(IDC_CBRUNONSTARTUP, settings_.RunOnStartUp != 0);
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, settings_.GlyphColorAutodetect);
    SetChecked(IDC_RBGLYPHCOLORMANUAL, !settings_.GlyphColorAutodetect);
    SetChecked(IDC_CBSHOWSPLASH, settings_.ShowSplash);
    SetChecked(IDC_CBSHOWTIPS, settings_.ShowTips);
    colorButton_->FSetColor(settings_.GlyphColor);
    for (int kind = 1; kind <= kLastButtonCode; ++kind)
        ::SendMessageW(Control(IDC_HOTKEY_BASE + kind), HKM_SETHOTKEY,
                       ControlValueOfStoredHotKey(settings_.HotKeys[kind]), 0);
    ::SendMessageW(Control(IDC_TRACKBAR1), TBM_SETPOS, TRUE, settings_.TransparencyLevel);
    TrackBar1Change();
    SetChecked(IDC_RADIOBUTTON1, settings_.TrayMenuSeparate);
    SetChecked(IDC_RADIOBUTTON2, !settings_.TrayMenuSeparate);
    ::SendMessageW(Control(IDC_UDBOXSIZE), UDM_SETPOS32, 0, settings_.BoxSize);
    host_.SetCurrentBoxSize(settings_.BoxSize);
    UpdateBoxPicture();
    SetChecked(IDC_CBALLOWOVERFLOWCAPTIONTEXT, settings_.AllowOverflowCaptionText);
    SetChecked(IDC_CBSHOWBUTTONHINTS, settings_.ShowButtonHints);
    arrangement_ = ArrangementViewOf(settings_.BoxArrangement);
    ShowArrangement();
    FillBlacklistView();
    modified_ = false;
}

TfrmOptions::StoreOutcome TfrmOptions::StoreControls() {
    StoreOutcome outcome;
    StoreEditors();
    settings_.RunOnStartUp = Checked(IDC_CBRUNONSTARTUP) ? 1 : 0;
    outcome.startupEntryFailed = settings_.RunOnStartUp ? !WriteStartupEntry(ProgramPath()) : !DeleteStartupEntry();
    settings_.GlyphColor = colorButton_->Color();
    settings_.GlyphColorAutodetect = Checked(IDC_RBGLYPHCOLORAUTODETECT);
    settings_.TrayMenuSeparate = Checked(IDC_RADIOBUTTON1);
    for (int kind = 1; kind <= kLastButtonCode; ++kind)
        settings_.HotKeys[kind] = StoredHotKeyOfControl(
            static_cast<uint16_t>(::SendMessageW(Control(IDC_HOTKEY_BASE + kind), HKM_GETHOTKEY, 0, 0)));
    settings_.TransparencyLevel = static_cast<int8_t>(::SendMessageW(Control(IDC_TRACKBAR1), TBM_GETPOS, 0, 0));
    settings_.ShowTips = Checked(IDC_CBSHOWTIPS);
    settings_.ShowSplash = Checked(IDC_CBSHOWSPLASH);
    settings_.BoxSize = static_cast<int8_t>(
        ClampBoxSize(static_cast<int>(::SendMessageW(Control(IDC_UDBOXSIZE), UDM_GETPOS32, 0, 0))));
    settings_.AllowOverflowCaptionText = Checked(IDC_CBALLOWOVERFLOWCAPTIONTEXT);
    settings_.ShowButtonHints = Checked(IDC_CBSHOWBUTTONHINTS);
    settings_.BoxArrangement = static_cast<int8_t>(StoredArrangement(arrangement_));
    host_.SetTipsEnabled(settings_.ShowTips);
    host_.SetCurrentBoxSize(settings_.BoxSize);
    outcome.settingsFailed = !SaveSettings(settings_);
    outcome.blacklistFailed = !blacklist_.Save();
    outcome.refused = host_.ApplyButtonSettings(settings_);
    return outcome;
}

void TfrmOptions::BroadcastSettingsChange() const {
    std::vector<HWND> windows;
    CollectTopLevelWindows(windows, host_.MainWindow());
    // A hung program must not hold the host: each window gets a short while.
    for (const HWND w : windows)
        ::SendMessageTimeoutW(w, WM_SYSCOLORCHANGE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kBroadcastTimeoutMs, nullptr);
}

void TfrmOptions::ReportStoreFailures(const StoreOutcome& outcome) const {
    std::wstring text;
    if (outcome.startupEntryFailed)
        text += std::wstring(L"Failed to set data for '") + kStartupValueName + L"': Barquill will not start with Windows.\n";
    if (outcome.settingsFailed)
        text += L"The settings could not be stored.\n";
    if (outcome.blacklistFailed)
        text += L"The list of excluded applications could not be stored.\n";
    if (text.empty())
        return;
    text += L"Everything else was stored.";
    host_.ShowMessage(text);
}

void TfrmOptions::MarkRefusedHotKeys(const std::vector<RefusedHotKey>& refused) {
    for (int kind = 1; kind <= kLastButtonCode; ++kind) {
        const auto hit = std::find_if(refused.begin(), refused.end(), [kind](const RefusedHotKey& r) { return r.kind == kind; });
        const std::wstring text = hit == refused.end() ? L"" : HotKeyRefusalText(settings_, *hit);
        ::SetWindowTextW(Control(IDC_HOTKEY_STATUS_BASE + kind), text.c_str());
    }
}

void TfrmOptions::OK_ButtonClick() {
    if (modified_) {
        const StoreOutcome outcome = StoreControls();
        BroadcastSettingsChange();
        modified_ = false;
        MarkRefusedHotKeys(outcome.refused);
        ReportStoreFailures(outcome);
        if (!outcome.refused.empty()) {
            // Stays open on the first refused hotkey, so that the user sees why.
            if (const NavigationLabel* label = LabelOfPage(PageOfKind(outcome.refused.front().kind)))
                Label1Click(label->number);
            return;
        }
    }
    ::ShowWindow(Handle(), SW_HIDE);
}

void TfrmOptions::Cancel_ButtonClick() { ::ShowWindow(Handle(), SW_HIDE); }

void TfrmOptions::Restore_ButtonClick() {
    SetDefaultSettings(settings_);
    LoadControls(false);
    RedrawPreview();
    modified_ = true;
}

void TfrmOptions::Help_ButtonClick() {
    for (const PageHelpTopic& entry : kPageHelpTopics) {
        if (::IsWindowVisible(PageWindow(entry.page))) {
            host_.ShowHelpTopic(entry.topic);
            return;
        }
    }
    host_.ShowHelp();
}

void TfrmOptions::OnModifyParameter() { modified_ = true; }

// ---- Box page ----

void TfrmOptions::ShowArrangement() {
    SetChecked(IDC_TOOLBUTTON_BASE + 1, !arrangement_.vertical);
    SetChecked(IDC_TOOLBUTTON_BASE + 2, arrangement_.vertical);
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        const bool vertical = IsVerticalButton(button);
        const int down = vertical ? arrangement_.verticalDown : arrangement_.horizontalDown;
        const HWND control = Control(IDC_TOOLBUTTON_BASE + button);
        SetChecked(IDC_TOOLBUTTON_BASE + button, down == button);
        ::ShowWindow(control, vertical == arrangement_.vertical ? SW_SHOWNA : SW_HIDE);
    }
}

void TfrmOptions::ToolButton1Click() {
    arrangement_.vertical = false;
    ShowArrangement();
    modified_ = true;
}

void TfrmOptions::ToolButton2Click() {
    arrangement_.vertical = true;
    ShowArrangement();
    modified_ = true;
}

void TfrmOptions::ToolButton8Click(int button) {
    PressArrangementButton(arrangement_, button);
    ShowArrangement();
    modified_ = true;
}

void TfrmOptions::TrackBar1Change() {
    const auto position = ::SendMessageW(Control(IDC_TRACKBAR1), TBM_GETPOS, 0, 0);
    ::SetWindowTextW(Control(IDC_LABEL54), (std::to_wstring(position) + L"%").c_str());
    modified_ = true;
}

void TfrmOptions::CSpinEdit1Change() {
    UpdateBoxPicture();
    modified_ = true;
}

void TfrmOptions::CSpinEdit1Changing() { modified_ = true; }

void TfrmOptions::UpdateBoxPicture() {
    const int size = ClampBoxSize(static_cast<int>(::SendMessageW(Control(IDC_UDBOXSIZE), UDM_GETPOS32, 0, 0)));
    const HBITMAP picture = boxPictures_[static_cast<size_t>(BoxPictureIndex(size))].get();
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap stretched(::CreateCompatibleBitmap(screen.get(), size, size));
    {
        const UniqueMemoryDC to(::CreateCompatibleDC(screen.get()));
        const UniqueMemoryDC from(::CreateCompatibleDC(screen.get()));
        const SelectGuard selectTo(to.get(), stretched.get());
        const SelectGuard selectFrom(from.get(), picture);
        BITMAP bitmap{};
        ::GetObjectW(picture, sizeof bitmap, &bitmap);
        ::SetStretchBltMode(to.get(), COLORONCOLOR);
        ::StretchBlt(to.get(), 0, 0, size, size, from.get(), 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    }
    ::SendMessageW(Control(IDC_IMAGE11), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(stretched.get()));
    image11_ = std::move(stretched);
}

// ---- List editors ----

void TfrmOptions::FillEditors() {
    buttons_ = FillEditor(settings_.Buttons, settings_.ButtonCount, kLastButtonCode);
    menuItems_ = FillEditor(settings_.MenuItems, settings_.MenuItemCount, kLastMenuItemCode);
    buttonsEdited_ = false;
    menuItemsEdited_ = false;
    ShowEditorLimit(IDC_BUTTONS_LIMIT, EditResult::Done);
    ShowEditorLimit(IDC_MENUITEMS_LIMIT, EditResult::Done);
    RefreshButtonLists();
    RefreshMenuLists();
}

void TfrmOptions::StoreEditors() {
    if (buttonsEdited_)
        StoreEditor(buttons_, settings_.Buttons, kMaxButtons, settings_.ButtonCount);
    if (menuItemsEdited_)
        StoreEditor(menuItems_, settings_.MenuItems, kMaxMenuItems, settings_.MenuItemCount);
}

namespace {

void FillRows(HWND list, size_t count) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < count; ++i)
        ::SendMessageW(list, LB_ADDSTRING, 0, 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

void TfrmOptions::RefreshButtonLists() {
    FillRows(Control(IDC_SRCLIST), buttons_.available.size());
    FillRows(Control(IDC_DSTLIST), buttons_.chosen.size());
    RedrawPreview();
}

void TfrmOptions::RefreshMenuLists() {
    FillRows(Control(IDC_MENUITEMSSRCLIST), menuItems_.available.size());
    FillRows(Control(IDC_MENUITEMSDSTLIST), menuItems_.chosen.size());
}

void TfrmOptions::RedrawPreview() {
    if (!previewDrawer_)
        return;
    std::vector<int8_t> kinds(buttons_.chosen.begin(), buttons_.chosen.end());
    previewDrawer_->SetButtons(kinds.data(), static_cast<int>(kinds.size()));
    const COLORREF colour = Checked(IDC_RBGLYPHCOLORAUTODETECT) ? DetectThemeGlyphColor() : colorButton_->Color();
    UniqueBitmap caption = previewDrawer_->DrawPreview(kPreviewSize.cx, colour);
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap picture(::CreateCompatibleBitmap(screen.get(), kPreviewSize.cx, kPreviewSize.cy));
    {
        const UniqueMemoryDC to(::CreateCompatibleDC(screen.get()));
        const UniqueMemoryDC from(::CreateCompatibleDC(screen.get()));
        const SelectGuard selectTo(to.get(), picture.get());
        const SelectGuard selectFrom(from.get(), caption.get());
        const RECT all{0, 0, kPreviewSize.cx, kPreviewSize.cy};
        ::FillRect(to.get(), &all, whiteBrush_.get());
        BITMAP bitmap{};
        ::GetObjectW(caption.get(), sizeof bitmap, &bitmap);
        ::BitBlt(to.get(), 0, (kPreviewSize.cy - bitmap.bmHeight) / 2, bitmap.bmWidth, bitmap.bmHeight, from.get(), 0,
                 0, SRCCOPY);
    }
    const HWND control = Control(IDC_IMPREVIEW);
    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    preview_ = std::move(picture);
    const RECT r = ChildRect(control);
    MoveChild(control, r.left, r.top, kPreviewSize.cx, kPreviewSize.cy);
}

std::vector<int> TfrmOptions::SelectedRows(int listId) const {
    const HWND list = Control(listId);
    const auto count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> rows(static_cast<size_t>(std::max<LRESULT>(count, 0)));
    if (!rows.empty())
        ::SendMessageW(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

int TfrmOptions::DstEntryOfRow(int listId, int row) const {
    return listId == IDC_DSTLIST ? ReversedRowEntry(static_cast<int>(buttons_.chosen.size()), row) : row;
}

void TfrmOptions::ShowEditorLimit(int statusId, EditResult result) {
    ::SetWindowTextW(Control(statusId), result == EditResult::LimitReached ? kLimitText : L"");
}

void TfrmOptions::AfterButtonEdit(EditResult result) {
    ShowEditorLimit(IDC_BUTTONS_LIMIT, result);
    if (result == EditResult::LimitReached)
        return;
    RefreshButtonLists();
    buttonsEdited_ = true;
    modified_ = true;
}

void TfrmOptions::AfterMenuEdit(EditResult result) {
    ShowEditorLimit(IDC_MENUITEMS_LIMIT, result);
    if (result == EditResult::LimitReached)
        return;
    RefreshMenuLists();
    menuItemsEdited_ = true;
    modified_ = true;
}

void TfrmOptions::Button5Click() { AfterButtonEdit(AddRows(buttons_, SelectedRows(IDC_SRCLIST))); }
void TfrmOptions::Button7Click() { AfterButtonEdit(AddAllRows(buttons_)); }

void TfrmOptions::Button6Click() {
    const auto row = ::SendMessageW(Control(IDC_DSTLIST), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR)
        return;
    RemoveEntry(buttons_, DstEntryOfRow(IDC_DSTLIST, static_cast<int>(row)));
    AfterButtonEdit(EditResult::Done);
}

void TfrmOptions::Button8Click() {
    RemoveAllEntries(buttons_);
    AfterButtonEdit(EditResult::Done);
}

void TfrmOptions::btnAddMenuItemClick() { AfterMenuEdit(AddRows(menuItems_, SelectedRows(IDC_MENUITEMSSRCLIST))); }
void TfrmOptions::btnAddAllMenuItemsClick() { AfterMenuEdit(AddAllRows(menuItems_)); }

void TfrmOptions::btnRemoveMenuItemClick() {
    const auto row = ::SendMessageW(Control(IDC_MENUITEMSDSTLIST), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR)
        return;
    RemoveEntry(menuItems_, static_cast<int>(row));
    AfterMenuEdit(EditResult::Done);
}

void TfrmOptions::btnRemoveAllMenuItemsClick() {
    RemoveAllEntries(menuItems_);
    AfterMenuEdit(EditResult::Done);
}

void TfrmOptions::DstListMoveItem(int oldRow, int newRow) {
    if (!SwapEntries(buttons_, DstEntryOfRow(IDC_DSTLIST, oldRow), DstEntryOfRow(IDC_DSTLIST, newRow)))
        return;
    ::InvalidateRect(Control(IDC_DSTLIST), nullptr, TRUE);
    RedrawPreview();
    buttonsEdited_ = true;
    modified_ = true;
}

void TfrmOptions::MenuItemsDstListMoveItem(int oldRow, int newRow) {
    if (!SwapEntries(menuItems_, oldRow, newRow))
        return;
    ::InvalidateRect(Control(IDC_MENUITEMSDSTLIST), nullptr, TRUE);
    menuItemsEdited_ = true;
    modified_ = true;
}

// The ranking lists report a drag as moves of one row to its neighbour.
INT_PTR TfrmOptions::OnDragList(HWND, const DRAGLISTINFO& info) {
    const int id = ::GetDlgCtrlID(info.hWnd);
    if (id != IDC_DSTLIST && id != IDC_MENUITEMSDSTLIST)
        return FALSE;
    switch (info.uNotification) {
    case DL_BEGINDRAG:
        dragRow_ = ::LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
        return dragRow_ >= 0 ? TRUE : FALSE;
    case DL_DRAGGING: {
        const int row = ::LBItemFromPt(info.hWnd, info.ptCursor, TRUE);
        while (row >= 0 && dragRow_ >= 0 && row != dragRow_) {
            const int next = dragRow_ + (row > dragRow_ ? 1 : -1);
            if (id == IDC_DSTLIST)
                DstListMoveItem(dragRow_, next);
            else
                MenuItemsDstListMoveItem(dragRow_, next);
            dragRow_ = next;
        }
        if (dragRow_ >= 0)
            ::SendMessageW(info.hWnd, LB_SETCURSEL, static_cast<WPARAM>(dragRow_), 0);
        return DL_MOVECURSOR;
    }
    default:
        dragRow_ = -1;
        return FALSE;
    }
}

void TfrmOptions::DrawListRow(const DRAWITEMSTRUCT& draw) {
    const int id = static_cast<int>(draw.CtlID);
    if (!IsListId(id) || draw.itemID == static_cast<UINT>(-1))
        return;
    const int row = static_cast<int>(draw.itemID);
    const std::vector<int>& list = id == IDC_SRCLIST           ? buttons_.available
                                   : id == IDC_DSTLIST         ? buttons_.chosen
                                   : id == IDC_MENUITEMSSRCLIST ? menuItems_.available
                                                                : menuItems_.chosen;
    const int entry = DstEntryOfRow(id, row);
    if (entry < 0 || entry >= static_cast<int>(list.size()))
        return;
    const int code = list[static_cast<size_t>(entry)];
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const UniqueBrush fill(::CreateSolidBrush(selected ? ::GetSysColor(COLOR_MENUHILIGHT) : kWhite));
    ::FillRect(draw.hDC, &draw.rcItem, fill.get());
    const bool buttonList = id == IDC_SRCLIST || id == IDC_DSTLIST;
    if (buttonList && code != 0) {
        if (const HBITMAP glyph = listGlyphs_->Glyph(code)) {
            const UniqueMemoryDC memory(::CreateCompatibleDC(draw.hDC));
            const SelectGuard select(memory.get(), glyph);
            ::BitBlt(draw.hDC, draw.rcItem.left, draw.rcItem.top, kGlyphCell, kGlyphCell, memory.get(), 0, 0, SRCCOPY);
        }
    }
    const std::wstring text = std::wstring(L" ") + EntryName(code);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::TextOutW(draw.hDC, draw.rcItem.left + (buttonList ? kGlyphCell : 0), draw.rcItem.top, text.c_str(),
               static_cast<int>(text.size()));
}

// ---- Glyph colour ----

void TfrmOptions::rbGlyphColorAutodetectClick() {
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, true);
    SetChecked(IDC_RBGLYPHCOLORMANUAL, false);
    RedrawPreview();
    modified_ = true;
}

void TfrmOptions::rbGlyphColorManualClick() {
    SetChecked(IDC_RBGLYPHCOLORMANUAL, true);
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, false);
    RedrawPreview();
    modified_ = true;
}

void TfrmOptions::ColorButtonClick() { rbGlyphColorManualClick(); }

void TfrmOptions::ColorButtonChange() {
    RedrawPreview();
    modified_ = true;
}

// ---- Exclude applications ----

void TfrmOptions::FillBlacklistView() {
    blacklist_.Load();
    const HWND list = Control(IDC_LVBLACKLIST);
    ListView_DeleteAllItems(list);
    ::ImageList_RemoveAll(ilBlackList_);
    for (int i = 0; i < blacklist_.Count(); ++i)
        AddBlacklistItem(*blacklist_.Item(i));
    ::SetWindowTextW(Control(IDC_BLACKLIST_STATUS), L"");
}

void TfrmOptions::AddBlacklistItem(const TBlackListItem& entry) {
    const HWND list = Control(IDC_LVBLACKLIST);
    std::wstring caption = Widen(entry.DisplayName());
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = caption.data();
    item.lParam = reinterpret_cast<LPARAM>(&entry);
    item.iImage = entry.Icon() ? ::ImageList_AddIcon(ilBlackList_, entry.Icon()) : I_IMAGENONE;
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TfrmOptions::btnBlacklistAddClick() {
    std::wstring buffer(32 * 1024, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = L"Applications (*.exe)\0*.exe\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = L"exe";
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING |
                   OFN_HIDEREADONLY;
    if (!::GetOpenFileNameW(&dialog))
        return;
    std::wstring status;
    for (const std::wstring& file : ChosenFiles(buffer.c_str())) {
        const BlacklistAddResult added = blacklist_.Add(Narrow(file));
        if (added.Item) {
            AddBlacklistItem(*added.Item);
            modified_ = true;
        } else if (added.Refusal == BlacklistRefusal::ListFull) {
            status = L"The list is full: no more applications can be added.";
        }
    }
    ::SetWindowTextW(Control(IDC_BLACKLIST_STATUS), status.c_str());
}

void TfrmOptions::btnBlacklistRemoveClick() {
    const HWND list = Control(IDC_LVBLACKLIST);
    for (int i = ListView_GetItemCount(list) - 1; i >= 0; --i) {
        if (ListView_GetItemState(list, i, LVIS_SELECTED) & LVIS_SELECTED) {
            ListView_DeleteItem(list, i);
            blacklist_.Delete(i);
            modified_ = true;
        }
    }
    ::SetWindowTextW(Control(IDC_BLACKLIST_STATUS), L"");
}

void TfrmOptions::lvBlackListInfoTip(NMLVGETINFOTIPW& tip) {
    const TBlackListItem* entry = blacklist_.Item(tip.iItem);
    if (!entry || !tip.pszText || tip.cchTextMax <= 0)
        return;
    const std::wstring path = Widen(entry->Path());
    lstrcpynW(tip.pszText, path.c_str(), tip.cchTextMax);
}

}  // namespace kz
