// The host program kz.exe: one instance per session, a hidden main window
// that receives every command, the tray icons and menus, and the hook that
// brings the caption buttons into every program.
//
// Start-up: single-instance test, undoing what a crashed host left changed
// (the crash journal), the settings, the main window (tray icon, splash), the
// 32-bit companion's process, the tray-menu module and the boxes, the
// executor connected to them, and last the hook, once everything a command
// needs is in place; the companion's hook follows once the message loop runs.
// Shutdown: Exit closes the main window, which ends the 32-bit companion,
// removes the hook (the library lets go of every window) and its tray icon;
// then the executor restores every window it changed, which empties the
// crash journal.
// Started with --companion <host window>, the program is a 64-bit host's
// 32-bit companion and nothing else (Companion.h).
#include "common/Text.h"
#include "kz/commands/Hiddenjournal.h"
#include "kz/commands/Impprofile.h"
#include "kz/commands/Ubox.h"
#include "kz/commands/Utraymenu2.h"
#include "kz/settings/Uoptions2.h"
#include "kz/settings/Usettingsfile.h"
#include "kz/core/Blocksecondrun.h"
#include "kz/core/Companion.h"
#include "kz/core/Errorbox.h"
#include "kz/core/Uhtmlhelp.h"
#include "kz/core/Umain.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <exception>
#include <string>
#include <vector>

namespace kz {

namespace {

constexpr DWORD kExitWaitMs = 10000;

// The arguments after the program's name.
std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> list;
    for (int i = 1; arguments && i < count; ++i)
        list.emplace_back(arguments[i]);
    ::LocalFree(arguments);
    return list;
}

bool HasArgument(const std::vector<std::wstring>& arguments, const wchar_t* wanted) {
    return std::find(arguments.begin(), arguments.end(), wanted) != arguments.end();
}

// The host window named after --companion (hexadecimal); null without one.
HWND CompanionHostWindow(const std::vector<std::wstring>& arguments) {
    const auto found = std::find(arguments.begin(), arguments.end(), kCompanionSwitch);
    if (found == arguments.end() || found + 1 == arguments.end())
        return nullptr;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(found[1].c_str(), nullptr, 16)));
}

SettingsRecord ReadSettings() {
    SettingsRecord settings;
    SetDefaultSettings(settings);
    LoadSettings(settings);
    return settings;
}

// Connects the executor to the host's collaborators while they live, and at
// the end restores every window it changed before they go.
class ExecutorConnection {
public:
    ExecutorConnection(TImpProfile& executor, HWND mainWindow, CommonTrayIcon& commonTray, BoxWindows& boxes,
                       ChangeJournal& journal)
        : executor_(executor) {
        executor_.Connect(mainWindow, &commonTray, &boxes, &journal);
    }
    ~ExecutorConnection() {
        executor_.RestoreAll();
        executor_.Connect(nullptr, nullptr, nullptr, nullptr);
    }
    ExecutorConnection(const ExecutorConnection&) = delete;
    ExecutorConnection& operator=(const ExecutorConnection&) = delete;

private:
    TImpProfile& executor_;
};

// What the options dialog applies to the running host.
class HostOptionsServices final : public OptionsHost {
public:
    HostOptionsServices(TTQuorvane_Invisible_Buttons& mainWindow, TBoxList& boxes)
        : mainWindow_(mainWindow), boxes_(boxes) {}
    HWND MainWindow() const override { return mainWindow_.Window(); }
    void SetTipsEnabled(bool enabled) override { mainWindow_.SetTipsEnabled(enabled); }
    std::vector<RefusedHotKey> ApplyButtonSettings(const SettingsRecord& settings) override {
        return mainWindow_.ApplyButtonSettings(settings);
    }
    void SetCurrentBoxSize(int size) override { boxes_.SetBoxSize(size); }
    void ShowHelp() override { kz::ShowHelp(); }
    void ShowHelpTopic(const std::wstring& topic) override { kz::ShowHelpTopic(topic); }
    void ShowMessage(const std::wstring& text) override { ShowPlainMessage(text); }

private:
    TTQuorvane_Invisible_Buttons& mainWindow_;
    TBoxList& boxes_;
};

void RunMessageLoop(const TfrmOptions& options) {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (options.IsDialogMessage(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void RunHost(HINSTANCE instance) {
    RecoverJournalledWindows();
    RegistryChangeJournal journal;
    const SettingsRecord settings = ReadSettings();
    // The program's one executor: made before the main window and gone after
    // it and everything built after it.
    TImpProfile executor;
    executor.SetToggleLevel(settings.TransparencyLevel);

    const WindowPtr<TTQuorvane_Invisible_Buttons> mainWindow =
        TTQuorvane_Invisible_Buttons::Create(executor, instance, settings);
    if (!mainWindow)
        throw StartupError(L"Unable to create the main window");
    // Its process starts while the host does; its hook comes with the message loop.
    mainWindow->StartCompanion();
    TdmTrayMenu trayMenu(*mainWindow, !settings.TrayMenuSeparate, executor);
    mainWindow->SetTrayMenu(&trayMenu);
    TBoxList boxes(mainWindow->Window(), executor);
    boxes.SetBoxSize(settings.BoxSize);
    HostOptionsServices optionsServices(*mainWindow, boxes);
    const WindowPtr<TfrmOptions> options =
        TfrmOptions::Create(instance, ::GetWindow(mainWindow->Window(), GW_OWNER), optionsServices);
    if (!options)
        throw StartupError(L"The options dialog cannot be created");
    mainWindow->SetOptionsDialog(options.get());
    const ExecutorConnection connection(executor, mainWindow->Window(), trayMenu, boxes, journal);
    executor.SetArrangement(settings.BoxArrangement);
    if (mainWindow->InstallHook())
        RunMessageLoop(*options);
    mainWindow->SetOptionsDialog(nullptr);
}

// The main window posts the quit request when it goes; a message box would
// end at once on it.
void ShowStartupError(const std::wstring& message) {
    MSG quit;
    ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ShowErrorBox(message);
}

}  // namespace

}  // namespace kz

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace kz;
    try {
        const std::vector<std::wstring> arguments = Arguments();
        // The companion of a 64-bit host: its hook and nothing else, no
        // mutex, icon or settings of the host's.
        if (const HWND host = CompanionHostWindow(arguments))
            return RunCompanion(host);
        if (HasArgument(arguments, L"--exit"))
            return EndRunningInstance(kExitWaitMs) ? 0 : 1;
        if (AnotherInstanceRuns())
            return 0;
        const InstanceMutex mutex;
        if (!mutex.Owned())
            return 0;
        try {
            RunHost(instance);
        } catch (const StartupError& error) {
            ShowStartupError(error.Message());
        } catch (const std::exception& error) {
            ShowStartupError(Widen(error.what()));
        }
    } catch (...) {
        // Nothing is left to tell the user with.
    }
    return 0;
}
