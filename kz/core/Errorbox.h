// The message boxes of the host's start-up.
#pragma once

#include <string>

namespace kz {

// The text of the standard error box: the message with a full stop appended
// when its last character sorts after the full stop.
std::wstring ErrorBoxText(const std::wstring& message);

// An error that ends the start-up; its message goes to the standard error box.
class StartupError {
public:
    explicit StartupError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }

private:
    std::wstring message_;
};

// The standard error box: application title, stop icon, OK, ErrorBoxText.
void ShowErrorBox(const std::wstring& message);
// A plain box with an OK button and the application title.
void ShowPlainMessage(const std::wstring& message);

}  // namespace kz
