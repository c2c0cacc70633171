#include "tests/e2e/EndToEnd.h"

#include "tests/support/LibraryExports.h"
#include "tests/e2e/TargetQuery.h"

#include <cstdio>
#include <vector>

namespace kz::test {

std::wstring BinaryDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

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

ChildProgram::ChildProgram(const std::wstring& commandLine) : program_(LaunchProgram(commandLine)) {}

ChildProgram::~ChildProgram() {
    if (program_.process && ::WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT)
        ::TerminateProcess(program_.process.get(), 1);
}

HWND ChildProgram::WaitForWindow() {
    WaitUntil(
        [this] {
            window_ = FindProgramWindow(program_.processId);
            return window_ != nullptr;
        },
        std::chrono::seconds(20));
    return window_;
}

bool ChildProgram::Close() {
    if (!program_.process)
        return false;
    if (window_)
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitUntil([this] { return ::WaitForSingleObject(program_.process.get(), 0) == WAIT_OBJECT_0; },
                     std::chrono::seconds(20));
}

LRESULT AskTarget(HWND window, WPARAM question, LPARAM argument) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, TargetQueryMessage(), question, argument, SMTO_NORMAL, 10000, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

int CaptionMiddle(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
}

std::vector<std::pair<int, int>> ButtonSpans(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int y = CaptionMiddle(window);
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

namespace {

void WriteBitmapFile(const std::wstring& path, HBITMAP bitmap, HDC dc, int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                DIB_RGB_COLORS);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    if (FILE* out = ::_wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
}

}  // namespace

void SendClicksAt(int x, int y, int clicks) {
    std::vector<INPUT> inputs{MouseInputAt(x, y, 0)};
    for (int i = 0; i < clicks; ++i) {
        inputs.push_back(MouseInputAt(x, y, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(MouseInputAt(x, y, MOUSEEVENTF_LEFTUP));
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SaveScreenshot(const std::string& name) {
    const std::wstring directory = BinaryDirectory() + L"\\..\\screenshots";
    ::CreateDirectoryW(directory.c_str(), nullptr);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const WindowDC screen = WindowDC::OfClient(nullptr);
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    {
        const SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), ::GetSystemMetrics(SM_XVIRTUALSCREEN),
                 ::GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
    }
    WriteBitmapFile(directory + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp", bitmap.get(),
                    memory.get(), width, height);
}

}  // namespace kz::test
