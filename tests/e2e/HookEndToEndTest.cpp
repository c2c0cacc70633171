// The real hook across processes: the test program is the host, the targets
// are a program of ours and Wine's notepad, each in a process of its own.
#include "common/Protocol.h"
#include "tests/support/EndToEnd.h"

#include <gtest/gtest.h>

#include <string>

namespace kz::test {
namespace {

void Resize(HWND window, int width, int height) {
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The library attaches at a window's first non-client paint: once the
// target has finished one, its answer is final.
bool WaitForFirstPaint(HWND window) {
    return WaitUntil([window] { return AskTarget(window, kAskNcPaints) > 0; });
}

class HookEndToEnd : public HookedDesktopTest {};

TEST_F(HookEndToEnd, ATargetProgramAttachesReportsResizesAndIsReleasedOnce) {
    TargetProgram target({L"Barquill target"});
    ASSERT_TRUE(target.Started());
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForFirstPaint(window));
    EXPECT_TRUE(WaitUntil([window] { return AskTarget(window, kAskAttached) == 1; }));
    SaveScreenshot("e2e_target_attached");

    Host().Clear();
    Resize(window, 600, 360);
    EXPECT_TRUE(WaitUntil([&] { return Host().Count(HM_WINDOW_SIZED, window) >= 1; }));

    ASSERT_TRUE(target.Close());
    PumpPending();
    EXPECT_EQ(Host().Count(HM_WINDOW_GONE, window), 1);
}

TEST_F(HookEndToEnd, NotepadIsAttachedAndReleased) {
    ChildProgram notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    const HWND window = notepad.WaitForWindow();
    ASSERT_NE(window, nullptr);
    // Notepad cannot be asked; a resize it reports shows its window is attached.
    Host().Clear();
    EXPECT_TRUE(WaitUntil([&] {
        Resize(window, 500 + static_cast<int>(Host().Messages().size() % 2), 400);
        return Host().Count(HM_WINDOW_SIZED, window) >= 1;
    }));
    SaveScreenshot("e2e_notepad_attached");
    ASSERT_TRUE(notepad.Close());
    PumpPending();
    EXPECT_EQ(Host().Count(HM_WINDOW_GONE, window), 1);
}

// A program the library must stay out of: painted, resized, closed, and the
// host never hears of it.
void ExpectNeverAttached(RecordingHost& host, TargetProgram& program, const char* screenshot) {
    ASSERT_TRUE(program.Started());
    const HWND window = program.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForFirstPaint(window));
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(AskTarget(window, kAskAttached), 0);
    host.Clear();
    Resize(window, 610, 370);
    AskTarget(window, kAskNcPaints);  // a round trip: the resize has been handled
    PumpPending();
    SaveScreenshot(screenshot);
    ASSERT_TRUE(program.Close());
    PumpPending();
    EXPECT_EQ(host.Count(HM_WINDOW_SIZED, window), 0);
    EXPECT_EQ(host.Count(HM_WINDOW_GONE, window), 0);
}

TEST_F(HookEndToEnd, AProgramNamedCmdIsNeverAttached) {
    const ProgramCopy copy(TargetProgramPath(), L"CMD.exe");
    TargetProgram program({L"Barquill as cmd"}, copy.Path());
    ExpectNeverAttached(Host(), program, "e2e_cmd_not_attached");
}

TEST_F(HookEndToEnd, ABlacklistedProgramIsNeverAttached) {
    const ProgramCopy copy(TargetProgramPath(), L"listed.exe");
    std::wstring upper = copy.Path();
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(::towupper(c));
    const std::wstring value = L"C:\\elsewhere\\listed.exe" + std::wstring(1, L'\0') + upper + std::wstring(2, L'\0');
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, kBlacklistValueW, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(value.data()),
                     static_cast<DWORD>(value.size() * sizeof(wchar_t)));

    TargetProgram program({L"Barquill blacklisted"}, copy.Path());
    ExpectNeverAttached(Host(), program, "e2e_blacklisted_not_attached");

    ::RegDeleteValueW(key, kBlacklistValueW);
    ::RegCloseKey(key);
}

}  // namespace
}  // namespace kz::test
