#include "common/Blacklistformat.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "trelmo/hook/ProcessFilter.h"
#include "trelmo/hook/SettingsReader.h"
#include "kz/settings/Ublacklist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

namespace kz::test {
namespace {

std::vector<uint8_t> BytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The UTF-16 form of text, as the registry stores a string.
std::vector<uint8_t> WideBytesOf(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

// Text of the system's ANSI code page, as the 8-bit registry functions take it.
std::string Ansi(const std::wstring& text) {
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr,
                          nullptr);
    return ansi;
}

std::vector<std::wstring> PathsOf(const TBlackList& list) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < list.Count(); ++i)
        paths.push_back(list.Item(i)->Path());
    return paths;
}

std::wstring OwnExecutablePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder, length);
}

// A file in the temporary folder that exists for the test's lifetime.
class TempFile {
public:
    explicit TempFile(const std::wstring& name)
        : path_(TempFolder() + L"kz" + std::to_wstring(::GetCurrentProcessId()) + L"_" + name) {
        UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        EXPECT_TRUE(file) << path_;
    }
    ~TempFile() { Remove(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return path_; }
    void Remove() { ::DeleteFileW(path_.c_str()); }

private:
    std::wstring path_;
};

TEST(BlacklistDisplayName, FileNameWithoutItsExtension) {
    EXPECT_EQ(BlacklistDisplayName(L"C:\\Tools\\my.app.exe"), L"my.app");
    EXPECT_EQ(BlacklistDisplayName(L"C:\\Tools\\README"), L"README");
    EXPECT_EQ(BlacklistDisplayName(L"C:\\dir.v2\\tool"), L"tool");  // a directory's full stop does not count
    EXPECT_EQ(BlacklistDisplayName(L"C:tool.exe"), L"tool");
    EXPECT_EQ(BlacklistDisplayName(L"\\\\server\\share\\x.exe"), L"x");
    EXPECT_EQ(BlacklistDisplayName(L"plain.exe"), L"plain");
    EXPECT_EQ(BlacklistDisplayName(L"C:\\Tools\\"), L"");
    EXPECT_EQ(BlacklistDisplayName(L""), L"");
}

TEST(BlacklistDisplayName, ACharacterHoldingTheBytesOfASeparatorIsNoSeparator) {
    // U+5C5C and U+2E2E are made of the bytes of '\' and of '.'.
    const std::wstring name = L"\u5C5C\u2E2E";
    EXPECT_EQ(BlacklistDisplayName(L"C:\\Tools\\" + name + L".exe"), name);
    EXPECT_EQ(BlacklistDisplayName(L"C:\\Tools\\\xD83D"), L"\xD83D");  // cut inside a character
}

TEST(Blacklist, EditingTheList) {
    TBlackList list;
    const BlacklistAddResult first = list.Add(L"C:\\App\\x.exe");
    ASSERT_NE(first.Item, nullptr);
    EXPECT_EQ(first.Refusal, BlacklistRefusal::None);
    EXPECT_EQ(first.Item->DisplayName(), L"x");

    const BlacklistAddResult again = list.Add(L"C:\\App\\x.exe");
    EXPECT_EQ(again.Item, nullptr);
    EXPECT_EQ(again.Refusal, BlacklistRefusal::AlreadyListed);
    EXPECT_NE(list.Add(L"c:\\app\\X.EXE").Item, nullptr);
    EXPECT_TRUE(list.Contains(L"c:\\app\\X.EXE"));
    EXPECT_FALSE(list.Contains(L"C:\\APP\\x.exe"));
    EXPECT_EQ(list.Count(), 2);

    EXPECT_EQ(list.Add(L"").Refusal, BlacklistRefusal::NotAPath);
    EXPECT_EQ(list.Add(std::wstring(L"C:\\a.exe\0C:\\b.exe", 17)).Refusal, BlacklistRefusal::NotAPath);
    EXPECT_EQ(list.Count(), 2);

    list.Clear();
    for (int i = 0; i < 5; ++i)
        list.Add(L"C:\\p" + std::to_wstring(i) + L".exe");
    list.Delete(1);
    list.Delete(2);  // entry 3 of the five, now at index 2
    list.Delete(-1);
    list.Delete(3);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"C:\\p0.exe", L"C:\\p2.exe", L"C:\\p4.exe"}));
    EXPECT_EQ(list.Item(-1), nullptr);
    EXPECT_EQ(list.Item(3), nullptr);
}

TEST(Blacklist, Icons) {
    TBlackList list;
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    const TBlackListItem* notepad = list.Add(std::wstring(windows, length) + L"\\notepad.exe").Item;
    ASSERT_NE(notepad, nullptr);
    EXPECT_NE(notepad->Icon(), nullptr);

    // Longer than the shell's path buffer: kept, without an icon.
    const TBlackListItem* deep = list.Add(L"C:\\" + std::wstring(300, L'd') + L"\\tool.exe").Item;
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->Icon(), nullptr);
    EXPECT_EQ(deep->DisplayName(), L"tool");
}

TEST(Blacklist, EmptyListIsStoredAsOneZeroByte) {
    ScratchRegistry registry;
    TBlackList list;
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA), std::vector<uint8_t>{0});
    list.Add(L"C:\\stale.exe");
    list.Load();
    EXPECT_EQ(list.Count(), 0);
}

// A program whose file is gone today, on a drive that is absent for instance,
// stays excluded: the next save keeps it.
TEST(Blacklist, SavedListLoadsBackWithTheFilesThatAreGone) {
    ScratchRegistry registry;
    TempFile a(L"a.exe"), b(L"b.exe"), c(L"c.exe");
    const std::wstring folder = TempFolder();
    TBlackList list;
    for (const std::wstring& path : {a.Path(), b.Path(), c.Path(), folder, std::wstring(L"C:\\nowhere\\x.exe")})
        list.Add(path);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_TRUE(list.Save());
    std::wstring expected =
        a.Path() + L'\0' + b.Path() + L'\0' + c.Path() + L'\0' + folder + L'\0' + L"C:\\nowhere\\x.exe";
    expected += std::wstring(2, L'\0');
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA), BytesOf(Ansi(expected)));

    b.Remove();
    list.Load();
    ASSERT_EQ(PathsOf(list),
              (std::vector<std::wstring>{a.Path(), b.Path(), c.Path(), folder, L"C:\\nowhere\\x.exe"}));
    EXPECT_EQ(list.Item(2)->DisplayName(), BlacklistDisplayName(c.Path()));
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA), BytesOf(Ansi(expected)));
}

TEST(Blacklist, LoadReadsOnlyTheReturnedBytes) {
    ScratchRegistry registry;
    TBlackList list;
    const std::wstring a = L"C:\\App\\a.exe", b = L"C:\\App\\b.exe";

    // Without terminators, and with a later duplicate; the type is not checked.
    registry.SetBlacklistValue(WideBytesOf(a + L'\0' + a + L'\0' + b), REG_BINARY);
    list.Load();
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{a, b}));

    // The empty entry ends the list.
    registry.SetBlacklistValue(WideBytesOf(a + std::wstring(2, L'\0') + b + L'\0'), REG_BINARY);
    list.Load();
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{a}));
}

TEST(Blacklist, BothCaseFormsBlacklistTheSameProcessInTheLibrary) {
    ScratchRegistry registry;
    std::wstring upper = OwnExecutablePath();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return wchar_t(std::towupper(c)); });
    for (const std::wstring& path : {OwnExecutablePath(), upper}) {
        SCOPED_TRACE(path);
        TBlackList list;
        list.Add(path);
        list.Save();
        EXPECT_TRUE(ReadProcessBlacklisted());
    }
}

// Far past any fixed buffer: the host lists every entry and the library
// matches the last one.
TEST(Blacklist, TenThousandBytesAreReadWholeByHostAndLibrary) {
    ScratchRegistry registry;
    TBlackList list;
    const std::wstring filler = L"C:\\" + std::wstring(240, L'f') + L"\\";
    std::size_t bytes = sizeof(wchar_t);  // the empty entry that ends the list
    for (int n = 0; bytes < 10000; ++n) {
        const std::wstring path = filler + std::to_wstring(n) + L".exe";
        ASSERT_NE(list.Add(path).Item, nullptr);
        bytes += (path.size() + 1) * sizeof(wchar_t);
    }
    ASSERT_NE(list.Add(OwnExecutablePath()).Item, nullptr);
    ASSERT_TRUE(list.Save());
    EXPECT_GT(registry.ReadStoredBytes(kBlacklistValueW).size(), 10000u);

    TBlackList loaded;
    loaded.Load();
    EXPECT_EQ(PathsOf(loaded), PathsOf(list));
    EXPECT_TRUE(ReadProcessBlacklisted());
}

// Cyrillic, Hebrew and Chinese: no 8-bit code page holds all three.
TEST(Blacklist, APathOutsideTheCodePageIsKeptWholeAndMatches) {
    ScratchRegistry registry;
    const std::wstring name = L"\u05E9\u65E5\u8A18";
    const std::wstring path = L"C:\\\u0416\u0443\u0440\u043D\u0430\u043B\\" + name + L".exe";
    TBlackList list;
    ASSERT_NE(list.Add(path).Item, nullptr);
    ASSERT_TRUE(list.Save());

    TBlackList loaded;
    loaded.Load();
    EXPECT_EQ(PathsOf(loaded), std::vector<std::wstring>{path});
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Item(0)->DisplayName(), name);
    EXPECT_TRUE(IsInStoredBlacklist(LowerCase(path.c_str(), path.size()).c_str()));
}

// A multi-string is stored in UTF-16 whichever registry function writes it:
// a list of paths of the code page is stored to the byte as the 8-bit
// functions stored it, and read back from what they stored.
TEST(Blacklist, AListOfCodePagePathsIsStoredInTheSameBytes) {
    ScratchRegistry registry;
    const std::vector<std::wstring> paths = {L"C:\\Program Files\\Tool\\tool.exe", L"D:\\x.exe",
                                             L"C:\\Caf\u00E9\\na\u00EFve.exe"};
    for (const std::vector<std::wstring>& stored : {std::vector<std::wstring>{}, paths}) {
        std::string ansi;
        for (const std::wstring& path : stored)
            ansi += Ansi(path) + '\0';
        ansi += '\0';
        ASSERT_EQ(std::count(ansi.begin(), ansi.end(), '?'), 0) << "the paths must be of the code page";
        registry.SetBlacklistValue(BytesOf(ansi));
        const std::vector<uint8_t> before = registry.ReadStoredBytes(kBlacklistValueW);
        ASSERT_FALSE(before.empty());

        TBlackList list;
        list.Load();
        EXPECT_EQ(PathsOf(list), stored);
        registry.DeleteValues();
        ASSERT_TRUE(list.Save());
        EXPECT_EQ(registry.ReadStoredBytes(kBlacklistValueW), before) << stored.size() << " paths";
        EXPECT_EQ(registry.ReadValue(kBlacklistValueA), BytesOf(ansi));
    }
}

}  // namespace
}  // namespace kz::test
