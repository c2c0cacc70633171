#include "kz/core/Uhtmlhelp.h"

#include "common/Product.h"
#include "kz/core/Errorbox.h"
#include "kz/core/Programfolder.h"

#include <windows.h>
#include <shellapi.h>

namespace kz {

namespace {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring CurrentDirectory() {
    const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    directory.resize(::GetCurrentDirectoryW(length, directory.data()));
    if (!directory.empty() && directory.back() != L'\\')
        directory += L'\\';
    return directory;
}

// The help file, or nothing after telling the user that it is missing.
std::optional<std::wstring> HelpFileOrComplaint() {
    std::optional<std::wstring> file = FindHelpFile();
    if (!file)
        ShowPlainMessage(std::wstring(L"\t\t\t    Can't find Help file.\n") +
                         L"Please download the latest version of the help file from " + kProductSiteCaption + L".");
    return file;
}

}  // namespace

std::optional<std::wstring> FindHelpFile() {
    for (const std::wstring& folder : {ProgramFolder(), CurrentDirectory()}) {
        if (FileExists(folder + kHelpFileName))
            return folder + kHelpFileName;
    }
    return std::nullopt;
}

void ShowHelp() {
    if (const auto file = HelpFileOrComplaint())
        ::ShellExecuteW(nullptr, nullptr, file->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowHelpTopic(const std::wstring& topic) {
    if (const auto file = HelpFileOrComplaint()) {
        const std::wstring page = L"mk:@MSITStore:" + *file + L"::/" + topic;
        ::ShellExecuteW(nullptr, nullptr, L"hh", page.c_str(), nullptr, SW_SHOWNORMAL);
    }
}

bool OpenUrl(const std::wstring& address, int showCommand) {
    return ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, showCommand) != nullptr;
}

}  // namespace kz
