#include "tests/support/Release.h"

#include "common/Version.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace kz::test {

namespace {

std::wstring ReleaseOut() {
    const wchar_t* linuxPath = ::_wgetenv(L"KZ_RELEASE_OUT");
    std::wstring path = L"Z:" + std::wstring(linuxPath ? linuxPath : L"/nonexistent");
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring ReleaseName() { return L"Barquill-" KZ_VERSION_TEXT_WIDE; }

void CollectFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        else
            files.push_back(prefix + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace

std::wstring ReleaseFolder() { return ReleaseOut() + L"\\" + ReleaseName(); }
std::wstring SetupProgramPath() { return ReleaseOut() + L"\\" + ReleaseName() + L"-setup.exe"; }
std::wstring PortableZipPath() { return ReleaseOut() + L"\\" + ReleaseName() + L"-portable.zip"; }

const std::vector<std::wstring>& ProductFiles() {
    static const std::vector<std::wstring> files{L"KZ.chm",     L"LICENSE.txt",  L"README.txt",       L"kz.exe",
                                                 L"trelmo.dll", L"x86\\kz.exe", L"x86\\trelmo.dll"};
    return files;
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    CollectFiles(folder, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace kz::test
