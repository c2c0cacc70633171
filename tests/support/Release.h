// Test support for the release that scripts/package.sh makes in out/: where
// its files lie and which files the product consists of.
#pragma once

#include <string>
#include <vector>

namespace kz::test {

// out/Barquill-<version>, the folder the zip holds and the setup installs,
// as Wine names it. The environment variable KZ_RELEASE_OUT names out/ as
// Linux does; Wine's drive Z: is the Linux root.
std::wstring ReleaseFolder();
std::wstring SetupProgramPath();
std::wstring PortableZipPath();

// The product's files, relative to its folder, sorted: what the zip holds
// and what the setup installs on 64-bit Windows, besides its uninstaller.
const std::vector<std::wstring>& ProductFiles();

// Every file under a folder, relative to it, sorted.
std::vector<std::wstring> FilesUnder(const std::wstring& folder);

}  // namespace kz::test
