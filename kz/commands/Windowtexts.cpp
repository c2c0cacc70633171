#include "kz/commands/Windowtexts.h"

namespace kz {

namespace {

template <typename Read>
std::wstring ReadText(HWND w, Read read) {
    wchar_t text[kMaxWindowTextLength + 1];
    const int length = read(w, text, static_cast<int>(kMaxWindowTextLength + 1));
    return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

std::wstring WindowTextOf(HWND w) { return ReadText(w, ::GetWindowTextW); }

std::wstring ClassNameOf(HWND w) { return ReadText(w, ::GetClassNameW); }

}  // namespace kz
