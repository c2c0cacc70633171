#include "kz/core/Errorbox.h"

#include "common/Product.h"

#include <windows.h>

namespace kz {

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.')
        return message + L'.';
    return message;
}

void ShowErrorBox(const std::wstring& message) {
    ::MessageBoxW(nullptr, ErrorBoxText(message).c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

void ShowPlainMessage(const std::wstring& message) {
    ::MessageBoxW(nullptr, message.c_str(), kApplicationTitle, MB_OK);
}

}  // namespace kz
