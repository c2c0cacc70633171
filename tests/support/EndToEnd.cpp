#include "tests/support/EndToEnd.h"

#include "common/Dib.h"
#include "trelmo/toolbar/CaptionToolBar.h"
#include "tests/support/LibraryExports.h"
#include "tests/support/MessageProbe.h"

#include <cstdio>

namespace kz::test {

HookedDesktop::HookedDesktop() { hook_.Install(host_.Window()); }

HookedDesktop::~HookedDesktop() { hook_.Remove(); }

void HookedDesktop::LeaveAsAtExit() {
    const LibraryExports exports = LibraryExports::Of(::GetModuleHandleW(L"trelmo.dll"));
    if (exports.Complete()) {
        exports.setHostWindow(nullptr);
        exports.setHandle(nullptr);
    }
    hook_.Remove();
}

int CaptionMiddle(HWND window) {
    return WindowRect(window).top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
}

std::vector<std::pair<int, int>> ButtonSpans(HWND window) { return ButtonSpans(window, CaptionMiddle(window)); }

std::vector<std::pair<int, int>> ButtonSpans(HWND window, int y) {
    const RECT rect = WindowRect(window);
    std::vector<std::pair<int, int>> spans;
    bool inside = false;
    for (int x = rect.left; x < rect.right; ++x) {
        DWORD_PTR code = 0;
        ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &code);
        const bool hit = static_cast<LRESULT>(code) == kCaptionButtonHitCode;
        if (hit && !inside)
            spans.push_back({x, x});
        if (hit)
            spans.back().second = x;
        inside = hit;
    }
    return spans;
}

bool WaitForButtons(HWND window, std::size_t count, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return ButtonSpans(window).size() >= count; }, timeout);
}

bool ClickCaptionButton(HWND window, std::size_t index) {
    const auto spans = ButtonSpans(window);
    if (spans.size() <= index)
        return false;
    ClickAt(window, (spans[index].first + spans[index].second) / 2, CaptionMiddle(window));
    return true;
}

void SendClicksAt(int x, int y, int clicks) {
    std::vector<INPUT> inputs{MouseInputAt(x, y, 0)};
    for (int i = 0; i < clicks; ++i) {
        inputs.push_back(MouseInputAt(x, y, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(MouseInputAt(x, y, MOUSEEVENTF_LEFTUP));
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(HWND window, int x, int y) {
    // Two clicks closer together than the double-click time are one double
    // click for the system (under Wine even at different places of a caption),
    // and a double click is no button press.
    static auto lastClick = std::chrono::steady_clock::time_point();
    const auto apart = std::chrono::milliseconds(::GetDoubleClickTime() + 100);
    WaitUntil([&] { return std::chrono::steady_clock::now() - lastClick > apart; }, apart);
    // As a hand does: onto the point first, and press once the window has
    // seen the pointer arrive. A press in the same instant as the move is
    // sometimes lost under Wine.
    MessageProbe probe;
    probe.Attach(::GetWindowThreadProcessId(window, nullptr));
    INPUT move = MouseInputAt(x, y, 0);
    ::SendInput(1, &move, sizeof(INPUT));
    WaitUntil([&] {
        const ProbeCounts counts = probe.Counts();
        return counts.Count(WM_NCMOUSEMOVE) + counts.Count(WM_MOUSEMOVE) > 0;
    });
    INPUT press[2] = {MouseInputAt(x, y, MOUSEEVENTF_LEFTDOWN), MouseInputAt(x, y, MOUSEEVENTF_LEFTUP)};
    ::SendInput(2, press, sizeof(INPUT));
    lastClick = std::chrono::steady_clock::now();
}

void ParkMouse() {
    INPUT input = MouseInputAt(::GetSystemMetrics(SM_CXSCREEN) - 40, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0);
    ::SendInput(1, &input, sizeof(INPUT));
}

void SaveScreenshot(const std::string& name) {
    const std::wstring directory = BinaryDirectory() + L"\\..\\screenshots";
    ::CreateDirectoryW(directory.c_str(), nullptr);
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const std::vector<uint32_t> pixels = ScreenPixels(RECT{left, top, left + width, top + height});
    const BITMAPINFOHEADER header = TopDownDibInfo(width, height).bmiHeader;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * sizeof(uint32_t));
    const std::wstring path = directory + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp";
    if (FILE* out = ::_wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.data(), sizeof(uint32_t), pixels.size(), out);
        std::fclose(out);
    }
}

}  // namespace kz::test
