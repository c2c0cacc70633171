// The release scripts/package.sh makes: the product's files and nothing else
// (no test program or benchmark), every binary carrying the project's
// version, and the binaries within their sizes.
#include "common/Version.h"
#include "kz/core/Fileversion.h"
#include "tests/support/Release.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kz::test {
namespace {

constexpr wchar_t kProjectVersion[] = KZ_VERSION_TEXT_WIDE;
// Both hosts and both hook libraries.
constexpr const wchar_t* kVersionedFiles[] = {L"kz.exe", L"trelmo.dll", L"x86\\kz.exe", L"x86\\trelmo.dll"};

std::wstring InRelease(const wchar_t* file) { return ReleaseFolder() + L"\\" + file; }

// The numbers of a file's fixed version, "major.minor.patch.build"; empty without one.
std::wstring FixedVersion(const std::wstring& path) {
    DWORD ignored = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return {};
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

// The application manifest a program carries.
std::string Manifest(const std::wstring& path) {
    const HMODULE module =
        ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return {};
    std::string text;
    if (const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST))
        if (const void* bytes = ::LockResource(::LoadResource(module, resource)))
            text.assign(static_cast<const char*>(bytes), ::SizeofResource(module, resource));
    ::FreeLibrary(module);
    return text;
}

long long SizeInKilobytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) + 1023) / 1024;
}

TEST(Release, HoldsTheProductsFilesOnly) {
    EXPECT_EQ(FilesUnder(ReleaseFolder()), ProductFiles());
    EXPECT_NE(::GetFileAttributesW(SetupProgramPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW(PortableZipPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Release, EveryBinaryCarriesTheProjectVersion) {
    const std::wstring fixed = kProjectVersion + std::wstring(L".0");
    for (const wchar_t* file : kVersionedFiles) {
        EXPECT_EQ(ReadFileVersion(InRelease(file)), kProjectVersion) << file;
        EXPECT_EQ(FixedVersion(InRelease(file)), fixed) << file;
    }
    EXPECT_EQ(FixedVersion(SetupProgramPath()), fixed);
    const std::string identity = "name=\"QuorvaneSoftware.Barquill\" version=\"" KZ_VERSION_TEXT ".0\"";
    for (const wchar_t* host : {L"kz.exe", L"x86\\kz.exe"})
        EXPECT_NE(Manifest(InRelease(host)).find(identity), std::string::npos) << host;
}

// The 64-bit binaries within their aims. The 32-bit ones carry DWARF unwind
// tables for every function (the 64-bit ones use the system's far smaller
// tables) and stay above them: their budgets are their sizes today, so that
// growth shows.
TEST(Release, BinariesStayWithinTheirSizes) {
    struct Budget {
        const wchar_t* file;
        long long kilobytes;
    };
    for (const Budget budget : {Budget{L"kz.exe", 600}, Budget{L"trelmo.dll", 200}, Budget{L"x86\\kz.exe", 640},
                                Budget{L"x86\\trelmo.dll", 240}}) {
        const long long size = SizeInKilobytes(InRelease(budget.file));
        std::printf("%6lld KB  %ls\n", size, budget.file);
        EXPECT_GT(size, 0) << budget.file;
        EXPECT_LT(size, budget.kilobytes) << budget.file;
    }
    std::printf("%6lld KB  setup\n%6lld KB  portable zip\n", SizeInKilobytes(SetupProgramPath()),
                SizeInKilobytes(PortableZipPath()));
}

}  // namespace
}  // namespace kz::test
