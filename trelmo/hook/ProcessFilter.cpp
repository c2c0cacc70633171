#include "trelmo/hook/ProcessFilter.h"

#include <cwctype>

namespace kz {

namespace {

// Programs whose windows never get buttons: the host itself, the console host
// and programs that draw their own frames.
constexpr const wchar_t* kExcludedPrograms[] = {L"kz.exe", L"cmd.exe", L"chrome.exe",
                                                L"googletalk.exe", L"winamp.exe"};

bool EndsWith(const std::wstring& text, const wchar_t* suffix) {
    const std::wstring s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

}  // namespace

std::wstring LowerCase(const wchar_t* text, std::size_t length) {
    std::wstring lower(text, length);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return lower;
}

ProcessFilterResult FilterProcess(const wchar_t* path, std::size_t length) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (path[i] == L'\\')
            nameStart = i + 1;
    const std::wstring name = LowerCase(path + nameStart, length - nameStart);

    ProcessFilterResult result;
    result.isSkypeProcess = name == L"skype.exe";
    result.enabled = length > 0 && EndsWith(name, L".exe");
    for (const wchar_t* excluded : kExcludedPrograms)
        if (name == excluded)
            result.enabled = false;
    return result;
}

}  // namespace kz
