// The setup program's silent install and the silent uninstall, timed: five
// rounds for the current user, the median of each. Installs into the
// prefix it runs in: run it in a scratch prefix, with the release made
// (scripts/package.sh) and no Barquill installed there.
//   install_bench.exe <Barquill-<version>-setup.exe>
#include "tests/support/Programs.h"

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace kz::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 5;

std::wstring InstallFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)))
        folder = std::wstring(path) + L"\\Programs\\Barquill";
    ::CoTaskMemFree(path);
    return folder;
}

// Runs a program to its end: the milliseconds it took, or -1 when it failed.
double TimedRun(const std::wstring& commandLine) {
    const auto start = Clock::now();
    const kz::LaunchedProgram program = kz::LaunchProgram(commandLine);
    DWORD exitCode = 1;
    if (!program.process || !WaitForExit(program.process.get(), std::chrono::minutes(2), &exitCode) || exitCode != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: install_bench.exe <setup program>\n");
        return 1;
    }
    const std::wstring folder = InstallFolder();
    std::vector<double> installs;
    std::vector<double> uninstalls;
    for (int round = 0; round < kRounds; ++round) {
        installs.push_back(TimedRun(Quoted(argv[1]) + L" /S /StartAtLogon=no"));
        // In place, so that the time is the uninstaller's own and not its start's.
        uninstalls.push_back(TimedRun(Quoted(folder + L"\\uninstall.exe") + L" /S _?=" + folder));
        if (installs.back() < 0 || uninstalls.back() < 0) {
            std::printf("round %d failed\n", round + 1);
            return 1;
        }
    }
    std::printf("silent install:   %6.0f ms (median of %d)\n", Median(installs), kRounds);
    std::printf("silent uninstall: %6.0f ms (median of %d)\n", Median(uninstalls), kRounds);
    return 0;
}
