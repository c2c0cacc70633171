#include "kz/core/FollowUpRepaints.h"

#include "kz/core/Vwindowlist.h"

#include <iterator>
#include <vector>

namespace kz {

FollowUpRepaints::FollowUpRepaints(HWND hostWindow) : hostWindow_(hostWindow) {
    if (!::CreateTimerQueueTimer(&timer_, nullptr, &FollowUpRepaints::Run, this, kRoundsMs[0], 0,
                                 WT_EXECUTEDEFAULT))
        timer_ = nullptr;
}

FollowUpRepaints::~FollowUpRepaints() {
    if (timer_)
        ::DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
}

void CALLBACK FollowUpRepaints::Run(void* context, BOOLEAN) noexcept {
    auto* self = static_cast<FollowUpRepaints*>(context);
    try {
        std::vector<HWND> windows;
        CollectWindowsOfOwnBitness(windows, self->hostWindow_);
        // Without waiting for any program: the paint comes when its thread takes it.
        for (HWND window : windows)
            ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    } catch (...) {
        // Out of memory: the next round, if any, tries again.
    }
    // One timer, set again for each round: nothing runs once the rounds are over.
    if (++self->round_ < std::size(kRoundsMs))
        ::ChangeTimerQueueTimer(nullptr, self->timer_, kRoundsMs[self->round_] - kRoundsMs[self->round_ - 1], 0);
}

}  // namespace kz
