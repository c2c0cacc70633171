#include "common/Blacklistformat.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "trelmo/hook/SettingsReader.h"
#include "kz/settings/Ublacklist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace kz::test {
namespace {

std::vector<uint8_t> BytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<std::string> PathsOf(const TBlackList& list) {
    std::vector<std::string> paths;
    for (int i = 0; i < list.Count(); ++i)
        paths.push_back(list.Item(i)->Path());
    return paths;
}

std::string OwnExecutablePath() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

// A file in the temporary folder that exists for the test's lifetime.
class TempFile {
public:
    explicit TempFile(const std::string& name) {
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + "kz" + std::to_string(::GetCurrentProcessId()) + "_" + name;
        UniqueFile file(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        EXPECT_TRUE(file) << path_;
    }
    ~TempFile() { Remove(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    void Remove() { ::DeleteFileA(path_.c_str()); }

private:
    std::string path_;
};

TEST(BlacklistDisplayName, FileNameWithoutItsExtension) {
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\my.app.exe"), "my.app");
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\README"), "README");
    EXPECT_EQ(BlacklistDisplayName("C:\\dir.v2\\tool"), "tool");  // a directory's full stop does not count
    EXPECT_EQ(BlacklistDisplayName("C:tool.exe"), "tool");
    EXPECT_EQ(BlacklistDisplayName("\\\\server\\share\\x.exe"), "x");
    EXPECT_EQ(BlacklistDisplayName("plain.exe"), "plain");
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\"), "");
    EXPECT_EQ(BlacklistDisplayName(""), "");
}

TEST(BlacklistDisplayName, SecondByteOfADoubleByteCharacterIsNoSeparator) {
    // In double-byte code pages a character's second byte may equal '\' or '.'.
    const auto leadByte = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };
    const std::string name = "\x95\x5C\x8B\x2E";  // two characters: 95 5C and 8B 2E
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\" + name + ".exe", leadByte), name);
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\" + name + ".exe"), "\x8B.");
    EXPECT_EQ(BlacklistDisplayName("C:\\Tools\\\x95", leadByte), "\x95");  // cut inside a character
}

TEST(BlacklistValueSize, BothFormsMustFit) {
    BlacklistValueSize size;
    EXPECT_EQ(size.AnsiBytes, 1u);
    EXPECT_EQ(size.WideBytes, 2u);
    size.AddEntry(2046, 2046);  // (2046 + 1 + 1) * 2 = 4096 in UTF-16
    EXPECT_EQ(size.WideBytes, 4096u);
    EXPECT_TRUE(size.FitsBothReaders());
    size.AddEntry(0, 0);
    EXPECT_FALSE(size.FitsBothReaders());

    BlacklistValueSize doubleByte;  // 8-bit form longer than the UTF-16 one
    doubleByte.AddEntry(4095, 1000);
    EXPECT_FALSE(doubleByte.FitsBothReaders());
}

TEST(Blacklist, EditingTheList) {
    TBlackList list;
    const BlacklistAddResult first = list.Add("C:\\App\\x.exe");
    ASSERT_NE(first.Item, nullptr);
    EXPECT_EQ(first.Refusal, BlacklistRefusal::None);
    EXPECT_EQ(first.Item->DisplayName(), "x");

    const BlacklistAddResult again = list.Add("C:\\App\\x.exe");
    EXPECT_EQ(again.Item, nullptr);
    EXPECT_EQ(again.Refusal, BlacklistRefusal::AlreadyListed);
    EXPECT_NE(list.Add("c:\\app\\X.EXE").Item, nullptr);
    EXPECT_TRUE(list.Contains("c:\\app\\X.EXE"));
    EXPECT_FALSE(list.Contains("C:\\APP\\x.exe"));
    EXPECT_EQ(list.Count(), 2);

    EXPECT_EQ(list.Add("").Refusal, BlacklistRefusal::NotAPath);
    EXPECT_EQ(list.Add(std::string("C:\\a.exe\0C:\\b.exe", 17)).Refusal, BlacklistRefusal::NotAPath);
    EXPECT_EQ(list.Count(), 2);

    list.Clear();
    for (int i = 0; i < 5; ++i)
        list.Add("C:\\p" + std::to_string(i) + ".exe");
    list.Delete(1);
    list.Delete(2);  // entry 3 of the five, now at index 2
    list.Delete(-1);
    list.Delete(3);
    EXPECT_EQ(PathsOf(list), (std::vector<std::string>{"C:\\p0.exe", "C:\\p2.exe", "C:\\p4.exe"}));
    EXPECT_EQ(list.Item(-1), nullptr);
    EXPECT_EQ(list.Item(3), nullptr);
}

TEST(Blacklist, Icons) {
    TBlackList list;
    char windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    const TBlackListItem* notepad = list.Add(std::string(windows, length) + "\\notepad.exe").Item;
    ASSERT_NE(notepad, nullptr);
    EXPECT_NE(notepad->Icon(), nullptr);

    // Longer than the shell's path buffer: kept, without an icon.
    const TBlackListItem* deep = list.Add("C:\\" + std::string(300, 'd') + "\\tool.exe").Item;
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->Icon(), nullptr);
    EXPECT_EQ(deep->DisplayName(), "tool");
}

TEST(Blacklist, EmptyListIsStoredAsOneZeroByte) {
    ScratchRegistry registry;
    TBlackList list;
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA), std::vector<uint8_t>{0});
    list.Add("C:\\stale.exe");
    list.Load();
    EXPECT_EQ(list.Count(), 0);
}

TEST(Blacklist, SavedListLoadsBackWithoutTheFilesThatAreGone) {
    ScratchRegistry registry;
    TempFile a("a.exe"), b("b.exe"), c("c.exe");
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    TBlackList list;
    for (const std::string& path : {a.Path(), b.Path(), c.Path(), std::string(folder), std::string("C:\\nowhere\\x.exe")})
        list.Add(path);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_TRUE(list.Save());
    std::string expected = a.Path() + '\0' + b.Path() + '\0' + c.Path() + '\0' + folder + '\0' + "C:\\nowhere\\x.exe";
    expected += std::string(2, '\0');
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA), BytesOf(expected));

    b.Remove();
    list.Load();
    EXPECT_EQ(PathsOf(list), (std::vector<std::string>{a.Path(), c.Path()}));
    EXPECT_EQ(list.Item(1)->DisplayName(), BlacklistDisplayName(c.Path()));
}

TEST(Blacklist, LoadReadsOnlyTheReturnedBytes) {
    ScratchRegistry registry;
    TempFile a("a.exe"), b("b.exe");
    TBlackList list;

    // Without terminators, and with a later duplicate; the type is not checked.
    registry.SetBlacklistValue(BytesOf(a.Path() + '\0' + a.Path() + '\0' + b.Path()), REG_BINARY);
    list.Load();
    EXPECT_EQ(PathsOf(list), (std::vector<std::string>{a.Path(), b.Path()}));

    // The empty entry ends the list.
    registry.SetBlacklistValue(BytesOf(a.Path() + std::string(2, '\0') + b.Path() + '\0'), REG_BINARY);
    list.Load();
    EXPECT_EQ(PathsOf(list), (std::vector<std::string>{a.Path()}));

    std::string tooLong = a.Path() + '\0';
    tooLong.resize(kBlacklistValueMaxBytes + 1, '\0');
    registry.SetBlacklistValue(BytesOf(tooLong), REG_BINARY);
    list.Load();
    EXPECT_EQ(list.Count(), 0);
}

TEST(Blacklist, BothCaseFormsBlacklistTheSameProcessInTheLibrary) {
    ScratchRegistry registry;
    std::string upper = OwnExecutablePath();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    for (const std::string& path : {OwnExecutablePath(), upper}) {
        SCOPED_TRACE(path);
        TBlackList list;
        list.Add(path);
        list.Save();
        EXPECT_TRUE(ReadProcessBlacklisted());
    }
}

// Filled to the last byte the library's reader takes, the list is still read
// by it; one character more is refused, and the dialog is told why.
TEST(Blacklist, RefusesEntriesPastWhatBothReadersAccept) {
    ScratchRegistry registry;
    TBlackList list;
    ASSERT_NE(list.Add(OwnExecutablePath()).Item, nullptr);
    const std::string filler = "C:\\" + std::string(200, 'f') + "\\";
    int n = 0;
    BlacklistAddResult added;
    do
        added = list.Add(filler + std::to_string(n++) + ".exe");
    while (added.Item);
    EXPECT_EQ(added.Refusal, BlacklistRefusal::ListFull);

    std::size_t wideBytes = 2;
    for (int i = 0; i < list.Count(); ++i)
        wideBytes += 2 * (list.Item(i)->Path().size() + 1);
    const std::size_t roomChars = (kBlacklistValueMaxBytes - wideBytes) / 2 - 1;
    const std::string lastFitting = "C:\\" + std::string(roomChars - 3, 'z');
    EXPECT_EQ(list.Add(lastFitting + "z").Refusal, BlacklistRefusal::ListFull);
    ASSERT_NE(list.Add(lastFitting).Item, nullptr);
    EXPECT_EQ(list.Add("y").Refusal, BlacklistRefusal::ListFull);

    ASSERT_TRUE(list.Save());
    EXPECT_EQ(registry.ReadValue(kBlacklistValueA).size(), kBlacklistValueMaxBytes / 2);
    EXPECT_TRUE(ReadProcessBlacklisted());
}

}  // namespace
}  // namespace kz::test
