#include "tests/support/RecordingHost.h"

namespace kz::test {

int RecordingHost::Count(UINT message, HWND about) const {
    int n = 0;
    for (const ReceivedMessage& m : messages_)
        if (m.message == message && (!about || reinterpret_cast<HWND>(m.wParam) == about))
            ++n;
    return n;
}

std::optional<LRESULT> RecordingHost::Record(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_USER || message >= 0x8000)
        return std::nullopt;
    messages_.push_back({message, wParam, lParam});
    if (onMessage)
        onMessage(messages_.back());
    return 0;
}

}  // namespace kz::test
