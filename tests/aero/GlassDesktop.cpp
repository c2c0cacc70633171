#include "tests/aero/GlassDesktop.h"

#include "common/Dib.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Settingsformat.h"
#include "trelmo/hook/SystemApi.h"

namespace kz::test {

LibrarySettings DefaultLibrarySettings() {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    return settings;
}

namespace {

struct ClassSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfClass(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<ClassSearch*>(parameter);
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, search.className) == 0)
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindowsOfClass(const wchar_t* className) {
    ClassSearch search{className, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<uint32_t> ClientPixels(HWND window, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return {};
    uint32_t* bits = nullptr;
    const WindowDC source = WindowDC::OfClient(window);
    const UniqueBitmap dib = CreatePixelBitmap(source.get(), width, height, &bits);
    const UniqueMemoryDC memory(::CreateCompatibleDC(source.get()));
    {
        const SelectGuard select(memory.get(), dib.get());
        ::BitBlt(memory.get(), 0, 0, width, height, source.get(), rect.left, rect.top, SRCCOPY);
        ::GdiFlush();
    }
    std::vector<uint32_t> pixels(bits, bits + width * height);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

int CountPixels(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    int count = 0;
    for (uint32_t pixel : pixels)
        count += pixel == rgb;
    return count;
}

namespace {

std::vector<uint8_t> Encode(const LibrarySettings& settings) {
    std::vector<uint8_t> bytes(kLongestSettingsBytes);
    bytes.resize(static_cast<std::size_t>(EncodeSettings(settings, bytes.data())));
    return bytes;
}

}  // namespace

void GlassDesktop::SetUp() {
    ASSERT_TRUE(dwm_.Loaded()) << "the stand-in dwmapi.dll was not loaded; run with WINEDLLOVERRIDES="
                               << kStandInOverride;
    dwm_.SetComposition(true);
    ASSERT_TRUE(Api().CompositionEnabled());
}

void GlassDesktop::TearDown() {
    window_.reset();
    dwm_.SetComposition(true);
}

void GlassDesktop::Open(const LibrarySettings& settings, const wchar_t* className, int width) {
    registry_.SetSettingsValue(Encode(settings));
    if (className)
        RegisterTestWindowClass(className);
    window_.reset(CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, nullptr, className));
    ASSERT_TRUE(window_);
    ::SetWindowPos(Window(), nullptr, 60, 80, width, 320, SWP_NOZORDER);
    PumpPending();
    library_.Attach(Window());
    ASSERT_TRUE(library_.IsAttached(Window()));
    ASSERT_NE(Toolbar(), nullptr);
    PumpPending();
}

CaptionToolBar* GlassDesktop::Toolbar() {
    HookedWindow* record = Process().FindRecord(Window());
    return record ? record->Toolbar() : nullptr;
}

HWND GlassDesktop::Helper() {
    auto* toolbar = dynamic_cast<HelperWindowToolBar*>(Toolbar());
    return toolbar ? toolbar->HelperWindow() : nullptr;
}

int GlassDesktop::SlotOf(int kind) {
    for (std::size_t i = 0; i < Row().Count(); ++i)
        if (Row()[i].kind == kind)
            return static_cast<int>(i);
    ADD_FAILURE() << "no slot of kind " << kind;
    return 0;
}

RECT GlassDesktop::ExpectedHelperRect() {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    RECT rect = Row().Bounds();
    ::OffsetRect(&rect, window.left, window.top);
    return rect;
}

RECT GlassDesktop::HelperRect() {
    RECT rect{};
    ::GetWindowRect(Helper(), &rect);
    return rect;
}

POINT GlassDesktop::InHelper(int kind) {
    const RECT& rect = Row()[SlotOf(kind)].rect;
    const RECT& bounds = Row().Bounds();
    return {(rect.left + rect.right) / 2 - bounds.left, (rect.top + rect.bottom) / 2 - bounds.top};
}

void GlassDesktop::PaintHelperNow() {
    ::RedrawWindow(Helper(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
}

std::vector<uint32_t> GlassDesktop::ButtonPixels(int kind) {
    RECT rect = Row()[SlotOf(kind)].rect;
    ::OffsetRect(&rect, -Row().Bounds().left, -Row().Bounds().top);
    return ClientPixels(Helper(), rect);
}

}  // namespace kz::test
