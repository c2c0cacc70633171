// Prints the private memory the hook library adds to a decorated program: a
// program that loads the system libraries the library uses (common controls
// with a tooltip, visual styles, the window manager) and paints a captioned
// window, once without and once with the real trelmo.dll attached to it; and
// how that memory grows over 500 frame paints. Each measure runs in a process
// of its own, this program started again with one argument.
#include "tests/support/LibraryExports.h"
#include "tests/support/Programs.h"
#include "tests/support/TestWindows.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using namespace kz;

constexpr int kPaints = 500;

// The process's private memory: committed private allocations (heaps,
// stacks, bitmaps) and the pages of mapped images that were written to, which
// no other process shares. Counted by walking the address space, since Wine
// reports no private usage through the process counters.
// image: when given, only the written pages of that mapped image.
SIZE_T PrivateBytes(HMODULE image = nullptr) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<const char*>(nullptr);
         ::VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT)
            continue;
        const bool written = region.Protect == PAGE_READWRITE || region.Protect == PAGE_EXECUTE_READWRITE;
        if (image ? region.AllocationBase == image && written
                  : region.Type == MEM_PRIVATE || (region.Type == MEM_IMAGE && written))
            total += region.RegionSize;
    }
    return total;
}

void PaintFrame(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    test::PumpPending();
}

// The program's own use of what the library would load: a tooltip, the
// visual styles, the window manager.
void LoadWhatTheLibraryUses() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, nullptr,
                      nullptr, nullptr, nullptr);
    ::LoadLibraryW(L"uxtheme.dll");
    ::LoadLibraryW(L"dwmapi.dll");
}

// Runs in the child: prints "<after set-up> <after the paints> <written pages
// of the library's image>" in bytes.
int Measure(bool withLibrary) {
    LoadWhatTheLibraryUses();
    HMODULE library = nullptr;
    const HWND window = test::CreateTestWindow();
    test::TestWindow host([](UINT, WPARAM, LPARAM) { return std::optional<LRESULT>(); });
    for (int i = 0; i < 20; ++i)
        PaintFrame(window);
    if (withLibrary) {
        library = ::LoadLibraryW((test::BinaryDirectory() + L"\\trelmo.dll").c_str());
        const test::LibraryExports exports = test::LibraryExports::Of(library);
        if (!exports.Complete())
            return 2;
        exports.setHostWindow(host.Window());
        exports.setHandle(reinterpret_cast<HHOOK>(1));
        CWPRETSTRUCT call{};
        call.hwnd = window;
        call.message = WM_NCPAINT;
        exports.hookProcedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
    }
    for (int i = 0; i < 20; ++i)
        PaintFrame(window);
    const SIZE_T settled = PrivateBytes();
    for (int i = 0; i < kPaints; ++i)
        PaintFrame(window);
    std::printf("%zu %zu %zu\n", static_cast<size_t>(settled), static_cast<size_t>(PrivateBytes()),
                static_cast<size_t>(library ? PrivateBytes(library) : 0));
    return 0;
}

bool RunChild(const wchar_t* mode, double* settledKb, double* grownKb, double* imageKb) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring output = test::BinaryDirectory() + L"\\memory_bench_" + mode + L".txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueFile file(::CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file.get();
    startup.hStdError = file.get();
    std::wstring line = test::Quoted(path) + L" " + mode;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return false;
    const UniqueKernelHandle process(info.hProcess);
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(process.get(), 60000);
    FILE* read = _wfopen(output.c_str(), L"r");
    if (!read)
        return false;
    unsigned long long settled = 0;
    unsigned long long after = 0;
    unsigned long long image = 0;
    const bool parsed = std::fscanf(read, "%llu %llu %llu", &settled, &after, &image) == 3;
    std::fclose(read);
    *settledKb = static_cast<double>(settled) / 1024.0;
    *grownKb = (static_cast<double>(after) - static_cast<double>(settled)) / 1024.0;
    *imageKb = static_cast<double>(image) / 1024.0;
    return parsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2)
        return Measure(std::wcscmp(argv[1], L"library") == 0);
    double plain = 0;
    double plainGrowth = 0;
    double decorated = 0;
    double decoratedGrowth = 0;
    double unused = 0;
    double image = 0;
    if (!RunChild(L"plain", &plain, &plainGrowth, &unused) ||
        !RunChild(L"library", &decorated, &decoratedGrowth, &image)) {
        std::printf("memory_bench: a measuring process failed\n");
        return 1;
    }
    std::printf("private bytes of a program with a painted captioned window: %.0f KB without the library, "
                "%.0f KB with it attached: %.0f KB added\n",
                plain, decorated, decorated - plain);
    std::printf("  of which written pages of the library's image (data, relocated code): %.0f KB; allocations "
                "(records, toolbar, painters, glyph strips, tooltip): %.0f KB\n",
                image, decorated - plain - image);
    std::printf("growth over %d frame paints: %.0f KB without the library, %.0f KB with it\n", kPaints,
                plainGrowth, decoratedGrowth);
    return 0;
}
