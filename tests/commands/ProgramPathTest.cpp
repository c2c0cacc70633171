// The program path of a real process: this test program's own.
#include "kz/commands/Process.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(ProgramPath, OfThisProcessFromItsModuleAndFromItsImage) {
    wchar_t ownPath[MAX_PATH];
    ::GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    TProcess process;
    ASSERT_TRUE(process.Open(::GetCurrentProcessId()));
    EXPECT_TRUE(SameFileName(process.ExeFile(), L"COMMANDS_WINDOW_TESTS.EXE"));
    EXPECT_TRUE(SamePath(process.GetModulePath(), ownPath));
    EXPECT_TRUE(SamePath(process.GetImagePath(), ownPath));
    EXPECT_TRUE(SamePath(process.ProgramPath(), ownPath));
}

TEST(ProgramPath, OfAProcessThatDoesNotExistIsEmpty) {
    TProcess process;
    // Process ids are multiples of four: this one is never given out.
    EXPECT_FALSE(process.Open(0xFFFFFFF1u));
    EXPECT_TRUE(process.ProgramPath().empty());
    EXPECT_TRUE(ProgramPathOfWindow(nullptr).empty());
}

}  // namespace
}  // namespace kz
