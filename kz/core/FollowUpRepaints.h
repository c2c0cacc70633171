// A window that appears while the hook is being installed can miss its
// attach: a program's thread paints the frame of a window it shows with what
// it last heard of the desktop's hooks, and Wine tells a thread of a new hook
// only when it next takes a message from its queue. A window shown at the
// moment of the first repaint then paints its frame once, without the hook,
// and shows no buttons until it repaints its frame for some other reason.
// So every frame is asked to repaint in two more rounds over the first
// seconds; each such paint reaches the window through its thread's queue, by
// when the thread knows the hook. The host's start-up ends with the last round.
#pragma once

#include <windows.h>

#include <cstddef>

namespace kz {

class FollowUpRepaints {
public:
    // The rounds, in milliseconds after the first repaint.
    static constexpr DWORD kRoundsMs[] = {500, 2000};

    explicit FollowUpRepaints(HWND hostWindow);
    // Cancels the rounds still to come, waiting for one under way.
    ~FollowUpRepaints();
    FollowUpRepaints(const FollowUpRepaints&) = delete;
    FollowUpRepaints& operator=(const FollowUpRepaints&) = delete;

private:
    static void CALLBACK Run(void* context, BOOLEAN timedOut) noexcept;

    HWND hostWindow_;
    std::size_t round_ = 0;
    HANDLE timer_ = nullptr;
};

}  // namespace kz
