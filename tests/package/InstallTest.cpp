// The setup program in a Wine prefix of its own, made afresh for every run
// (run_install_tests.sh): a silent install for the current user, an upgrade
// over a running copy, a silent uninstall. The suite NextLogOn runs after the
// prefix's programs have all ended, as at the user's next log-on.
#include "common/Product.h"
#include "common/Protocol.h"
#include "common/Version.h"
#include "kz/settings/Startupentry.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"
#include "tests/support/Release.h"
#include "tests/support/TestWindows.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kz::test {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Barquill";
constexpr wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kCleanupValue[] = L"Barquill cleanup";
constexpr std::size_t kDefaultButtonCount = 9;
constexpr std::chrono::seconds kSetupTimeout{120};
// A host's start and its first buttons in notepad: seconds under Wine on a
// loaded machine; the time-out only bounds a failure.
constexpr std::chrono::seconds kStartTimeout{60};
// A time no file of this release carries: marks the files of the "old" installation.
constexpr FILETIME kOldFileTime{0xC89DC000, 0x01C07385};  // 2001-01-01

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = path;
    ::CoTaskMemFree(path);
    return folder;
}

std::wstring InstallFolder() { return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Barquill"; }
std::wstring Installed(const std::wstring& file) { return InstallFolder() + L"\\" + file; }
std::wstring Shortcut() { return KnownFolder(FOLDERID_Programs) + L"\\Barquill.lnk"; }
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* value) {
    wchar_t text[1024];
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

std::optional<DWORD> ReadNumber(const wchar_t* key, const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return number;
}

bool ValueExists(const wchar_t* key, const wchar_t* value) {
    return ::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool KeyExists(const wchar_t* key) {
    UniqueKey opened;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

// Runs a program to its end: its exit code, or -1 when it did not end in time.
long RunToEnd(const std::wstring& commandLine) {
    const LaunchedProgram program = LaunchProgram(commandLine);
    DWORD exitCode = 0;
    if (!program.process || !WaitForExit(program.process.get(), kSetupTimeout, &exitCode))
        return -1;
    return static_cast<long>(exitCode);
}

long RunSetup(const std::wstring& options) { return RunToEnd(Quoted(SetupProgramPath()) + L" /S " + options); }

// In place (_?=), so that its exit code is the uninstaller's own.
long RunUninstaller(const std::wstring& options) {
    return RunToEnd(Quoted(Installed(L"uninstall.exe")) + L" /S " + options + L" _?=" + InstallFolder());
}

// The running host, or null.
UniqueKernelHandle HostProcess() {
    DWORD processId = 0;
    if (const HWND window = ::FindWindowW(kMainWindowClass, nullptr))
        ::GetWindowThreadProcessId(window, &processId);
    return UniqueKernelHandle(
        processId ? ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr);
}

std::wstring ProgramOf(HANDLE process) {
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    return ::QueryFullProcessImageNameW(process, 0, path, &length) ? std::wstring(path, length) : std::wstring();
}

bool Ended(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// The installed files a fresh installation holds: the product and its uninstaller.
std::vector<std::wstring> InstalledFiles() {
    std::vector<std::wstring> files = ProductFiles();
    files.push_back(L"uninstall.exe");
    std::sort(files.begin(), files.end());
    return files;
}

// The files under the folder but those moved aside into "replaced".
std::vector<std::wstring> FilesInPlace() {
    std::vector<std::wstring> files = FilesUnder(InstallFolder());
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const std::wstring& file) { return file.rfind(L"replaced\\", 0) == 0; }),
                files.end());
    return files;
}

bool WrittenAt(const std::wstring& path, const FILETIME& time) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           ::CompareFileTime(&data.ftLastWriteTime, &time) == 0;
}

void MarkAsOld(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file) << "cannot mark " << path;
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &kOldFileTime));
}

// Notepad with the caption buttons of the installed host: both running, and
// the hook library of the installation held by notepad.
struct DecoratedNotepad {
    ChildProgram notepad{L"notepad.exe", L"", 1, L"Notepad"};
    LaunchedProgram host = LaunchProgram(Quoted(Installed(L"kz.exe")));

    // Notepad's window with the buttons, the installed host running.
    testing::AssertionResult Decorated() {
        if (!notepad.WaitForWindow())
            return testing::AssertionFailure() << "notepad shows no window";
        if (!WaitUntil([] { return static_cast<bool>(HostProcess()); }, kStartTimeout))
            return testing::AssertionFailure() << "the installed host does not run";
        // The library attaches to a window at its next frame paint: notepad,
        // idle since before the hook came, paints its frame as after a user's
        // touch until the buttons show.
        const HWND window = notepad.Window();
        if (!WaitUntil(
                [window] {
                    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
                    return ButtonSpans(window).size() >= kDefaultButtonCount;
                },
                kStartTimeout))
            return testing::AssertionFailure() << "notepad's caption has no buttons";
        return testing::AssertionSuccess();
    }
};

class Setup : public ::testing::Test {
protected:
    // No host outlives its test: the next one starts its own.
    void TearDown() override {
        if (HostProcess())
            RunHostExitCommand();
        EXPECT_TRUE(WaitUntil([] { return !HostProcess(); }, kStartTimeout)) << "a host does not end";
    }
};

TEST_F(Setup, InstallsSilentlyForTheCurrentUser) {
    ASSERT_FALSE(Exists(InstallFolder())) << "the prefix is not clean";
    ASSERT_EQ(RunSetup(L"/StartAtLogon=yes"), 0);

    EXPECT_EQ(FilesUnder(InstallFolder()), InstalledFiles());
    EXPECT_TRUE(Exists(Shortcut()));
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName"), L"Barquill");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), KZ_VERSION_TEXT_WIDE);
    EXPECT_EQ(ReadString(kUninstallKey, L"Publisher"), L"Quorvane Software");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayIcon"), Installed(L"kz.exe") + L",0");
    EXPECT_EQ(ReadString(kUninstallKey, L"InstallLocation"), InstallFolder());
    EXPECT_EQ(ReadString(kUninstallKey, L"UninstallString"), Quoted(Installed(L"uninstall.exe")));
    EXPECT_EQ(ReadString(kUninstallKey, L"QuietUninstallString"), Quoted(Installed(L"uninstall.exe")) + L" /S");
    EXPECT_GT(ReadNumber(kUninstallKey, L"EstimatedSize").value_or(0), 500u) << "kilobytes";
    // The value the options dialog writes.
    EXPECT_EQ(ReadString(kRunKey, kStartupValueName), Installed(L"kz.exe"));
    EXPECT_FALSE(HostProcess()) << "started though not asked to";

    DecoratedNotepad desktop;
    EXPECT_TRUE(desktop.Decorated());
    SaveScreenshot("install_decorates_notepad");
}

TEST_F(Setup, UpgradeOverARunningCopyEndsItAndLeavesNoOldFile) {
    ASSERT_EQ(RunSetup(L"/StartAtLogon=no"), 0);
    EXPECT_FALSE(ReadString(kRunKey, kStartupValueName)) << "written though not chosen";
    DecoratedNotepad desktop;
    ASSERT_TRUE(desktop.Decorated());
    const UniqueKernelHandle oldHost = HostProcess();
    ASSERT_TRUE(oldHost);
    for (const std::wstring& file : InstalledFiles())
        MarkAsOld(Installed(file));

    ASSERT_EQ(RunSetup(L""), 0);

    EXPECT_TRUE(Ended(oldHost.get())) << "the old host still runs";
    UniqueKernelHandle newHost;
    EXPECT_TRUE(WaitUntil([&] {
        newHost = HostProcess();
        return newHost && ::GetProcessId(newHost.get()) != ::GetProcessId(oldHost.get());
    }, kStartTimeout)) << "the host that ran was not started again";
    if (newHost) {
        EXPECT_EQ(ProgramOf(newHost.get()), Installed(L"kz.exe"));
    }
    EXPECT_EQ(FilesInPlace(), InstalledFiles());
    for (const std::wstring& file : FilesInPlace())
        EXPECT_FALSE(WrittenAt(Installed(file), kOldFileTime)) << "left from the old version: " << file;
    // Notepad holds the old library (Wine's desktop too, which never lets a
    // hook library go): it was moved aside, to be removed once free.
    const std::vector<std::wstring> setAside = FilesUnder(Installed(L"replaced"));
    EXPECT_FALSE(setAside.empty());
    for (const std::wstring& file : setAside)
        EXPECT_EQ(file.substr(file.find(L'-')), L"-trelmo.dll") << file;
    EXPECT_EQ(ReadString(kRunOnceKey, kCleanupValue), L"cmd.exe /d /c rd /s /q " + Quoted(Installed(L"replaced")));
}

TEST_F(Setup, UninstallsSilentlyAndKeepsTheSettingsUnlessAsked) {
    ASSERT_EQ(RunSetup(L"/StartAtLogon=yes /StartNow=yes"), 0);
    ASSERT_TRUE(WaitUntil([] { return static_cast<bool>(HostProcess()); }, kStartTimeout)) << "not started when asked";
    const UniqueKernelHandle host = HostProcess();
    const wchar_t blacklist[] = L"C:\\kept.exe\0";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kRegistryKeyW, L"Blacklist", REG_MULTI_SZ, blacklist,
                                sizeof blacklist),
              ERROR_SUCCESS);

    ASSERT_EQ(RunUninstaller(L""), 0);

    EXPECT_TRUE(Ended(host.get())) << "the host still runs";
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(ReadString(kRunKey, kStartupValueName));
    // What cannot go now goes at the next log-on: the uninstaller that runs
    // in place, and libraries programs still hold.
    for (const std::wstring& file : FilesUnder(InstallFolder()))
        EXPECT_TRUE(file == L"uninstall.exe" || file.rfind(L"replaced\\", 0) == 0) << file;
    EXPECT_TRUE(ReadString(kRunOnceKey, kCleanupValue));
    EXPECT_TRUE(ValueExists(kRegistryKeyW, L"Blacklist")) << "the settings went";

    ASSERT_EQ(RunSetup(L""), 0);
    ASSERT_EQ(RunUninstaller(L"/RemoveSettings"), 0);
    EXPECT_FALSE(KeyExists(kRegistryKeyW)) << "the settings stayed";
}

// Runs once every program of the prefix has ended: nothing holds a file of
// the installation any more, as at the next log-on on Windows, where the
// system runs the RunOnce value; Wine's session start does not, so it is
// run here as Windows would.
TEST(NextLogOn, RemovesWhatWasLeftBehind) {
    ASSERT_TRUE(Exists(InstallFolder())) << "nothing was left to remove";
    const std::optional<std::wstring> cleanup = ReadString(kRunOnceKey, kCleanupValue);
    ASSERT_TRUE(cleanup);
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunOnceKey, kCleanupValue), ERROR_SUCCESS);
    RunToEnd(*cleanup);
    EXPECT_FALSE(Exists(InstallFolder())) << FilesUnder(InstallFolder()).size() << " files left";
}

}  // namespace
}  // namespace kz::test
