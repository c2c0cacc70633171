// The window registry and the process filter, on plain data.
#include "trelmo/hook/GrowableArray.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/ProcessFilter.h"
#include "trelmo/hook/WindowRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace kz {
namespace {

HWND FakeWindow(UINT_PTR value) { return reinterpret_cast<HWND>(value); }

std::unique_ptr<HookedWindow> Record(UINT_PTR value) {
    return std::make_unique<HookedWindow>(FakeWindow(value), LibrarySettings{});
}

TEST(WindowRegistry, InsertFindAndRemoveAcrossBuckets) {
    WindowRegistry registry;
    constexpr UINT_PTR kCount = 500;
    for (UINT_PTR i = 1; i <= kCount; ++i)
        registry.Insert(Record(i * 4 + 0x10000));
    EXPECT_EQ(registry.Count(), kCount);
    // Handles are multiples of 4: every other bucket of ten is used.
    std::size_t used = 0;
    for (std::size_t b = 0; b < WindowRegistry::kBucketCount; ++b)
        used += registry.WindowsInBucket(b).size();
    EXPECT_EQ(used, kCount);

    for (UINT_PTR i = 1; i <= kCount; ++i) {
        HookedWindow* found = registry.Find(FakeWindow(i * 4 + 0x10000));
        ASSERT_NE(found, nullptr) << i;
        EXPECT_EQ(found->Window(), FakeWindow(i * 4 + 0x10000));
    }
    EXPECT_EQ(registry.Find(FakeWindow(0x10002)), nullptr);

    // Remove every third one; the others stay findable in their buckets.
    for (UINT_PTR i = 3; i <= kCount; i += 3) {
        auto removed = registry.Remove(FakeWindow(i * 4 + 0x10000));
        ASSERT_NE(removed, nullptr);
        EXPECT_EQ(removed->Window(), FakeWindow(i * 4 + 0x10000));
    }
    EXPECT_EQ(registry.Remove(FakeWindow(3 * 4 + 0x10000)), nullptr);
    EXPECT_EQ(registry.Count(), kCount - kCount / 3);
    for (UINT_PTR i = 1; i <= kCount; ++i)
        EXPECT_EQ(registry.Find(FakeWindow(i * 4 + 0x10000)) != nullptr, i % 3 != 0) << i;
}

TEST(WindowRegistry, RemovalKeepsTheOrderAndFreesEmptyBuckets) {
    WindowRegistry registry;
    for (UINT_PTR h : {13, 23, 33, 43})
        registry.Insert(Record(h));
    EXPECT_EQ(registry.BucketRoom(3), 9u);  // room for 1, then grown to 1 + 8
    registry.Remove(FakeWindow(23));
    const std::vector<HWND> left = registry.WindowsInBucket(3);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0], FakeWindow(13));
    EXPECT_EQ(left[1], FakeWindow(33));
    EXPECT_EQ(left[2], FakeWindow(43));
    for (UINT_PTR h : {13, 33, 43})
        registry.Remove(FakeWindow(h));
    EXPECT_EQ(registry.BucketRoom(3), 0u);
    EXPECT_EQ(registry.Count(), 0u);
}

TEST(GrowableArray, StartsSmallAndGrowsByEight) {
    GrowableArray<int> array(2);
    EXPECT_EQ(array.Room(), 2u);
    for (int i = 0; i < 3; ++i)
        array.Append(i);
    EXPECT_EQ(array.Room(), 10u);
    for (int i = 3; i < 11; ++i)
        array.Append(i);
    EXPECT_EQ(array.Room(), 18u);
}

ProcessFilterResult Filter(const std::wstring& path) { return FilterProcess(path.c_str(), path.size()); }

TEST(ProcessFilter, ExcludedProgramsInAnyLetterCase) {
    for (const wchar_t* path : {L"C:\\Program Files\\Barquill\\KZ.EXE", L"C:\\windows\\system32\\Cmd.exe",
                                L"C:\\x\\chrome.exe", L"C:\\x\\GoogleTalk.exe", L"C:\\x\\WINAMP.exe"})
        EXPECT_FALSE(Filter(path).enabled) << std::string(path, path + std::wcslen(path));
    EXPECT_TRUE(Filter(L"C:\\windows\\notepad.exe").enabled);
    EXPECT_TRUE(Filter(L"C:\\tools\\kz.exe.exe").enabled);
    EXPECT_TRUE(Filter(L"C:\\tools\\xcmd.exe").enabled);
}

TEST(ProcessFilter, OnlyExecutablesWhosePathWasRead) {
    EXPECT_FALSE(Filter(L"C:\\windows\\system32\\bubbles.scr").enabled);
    EXPECT_FALSE(Filter(L"C:\\tools\\exe").enabled);
    EXPECT_FALSE(Filter(L"").enabled);
    EXPECT_TRUE(Filter(L"plain.EXE").enabled);
}

TEST(ProcessFilter, RecognisesSkypeEvenWhereDisabled) {
    EXPECT_TRUE(Filter(L"C:\\Apps\\Skype.EXE").isSkypeProcess);
    EXPECT_TRUE(Filter(L"C:\\Apps\\Skype.EXE").enabled);
    EXPECT_FALSE(Filter(L"C:\\Apps\\skype2.exe").isSkypeProcess);
}

}  // namespace
}  // namespace kz
