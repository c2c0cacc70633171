// How a button's visual state answers each button message, enabled and
// disabled, on an active and on an inactive window.
#include "kz/commands/HostInternalMessages.h"
#include "kz/capbuttons/Kz_lib.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

struct Row {
    UINT message;
    int state;
    bool enabled;
    bool downAfter;
    ButtonReaction reaction;
    int next;
};

void ExpectRows(const std::vector<Row>& rows) {
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "message " << r.message << " state " << r.state << " enabled "
                                        << r.enabled << " down " << r.downAfter);
        EXPECT_EQ(ReactionTo(r.message, r.state, r.enabled), r.reaction);
        EXPECT_EQ(NextVisualState(r.message, r.state, r.enabled, r.downAfter), r.next);
    }
}

using R = ButtonReaction;

TEST(VisualStateTable, EnabledButtonOnAnActiveWindow) {
    ExpectRows({
        {HM_BUTTON_HOVER, 0, true, false, R::Hover, 1},
        {HM_BUTTON_HOVER, 2, true, false, R::None, 2},  // pressed stays pressed under the mouse
        {HM_BUTTON_DOWN, 1, true, false, R::Press, 2},
        {HM_BUTTON_UP, 2, true, false, R::Execute, 1},
        {HM_BUTTON_UP, 2, true, true, R::Execute, 2},  // down afterwards: rolled, topmost, transparent
        {HM_BUTTON_LEAVE, 1, true, false, R::Leave, 0},
        {HM_BUTTON_LEAVE, 1, true, true, R::Leave, 2},
        {HM_BUTTON_OTHER, 1, true, false, R::Other, 1},
        {HM_BUTTON_WINDOW_SIZED, 2, true, false, R::None, 2},
        {HM_WINDOW_ACTIVE, 1, true, false, R::None, 1},
        {HM_WINDOW_INACTIVE, 1, true, false, R::None, 5},
    });
}

TEST(VisualStateTable, EnabledButtonOnAnInactiveWindowKeepsItsSide) {
    ExpectRows({
        {HM_BUTTON_HOVER, 4, true, false, R::Hover, 5},
        {HM_BUTTON_HOVER, 6, true, false, R::None, 6},
        {HM_BUTTON_DOWN, 4, true, false, R::Press, 6},
        {HM_BUTTON_UP, 6, true, false, R::Execute, 5},
        {HM_BUTTON_UP, 6, true, true, R::Execute, 6},
        {HM_BUTTON_LEAVE, 5, true, false, R::Leave, 4},
        {HM_BUTTON_LEAVE, 5, true, true, R::Leave, 6},
        {HM_WINDOW_ACTIVE, 6, true, false, R::None, 2},
        {HM_WINDOW_ACTIVE, kNewButtonState, true, false, R::None, 0},
        {HM_WINDOW_INACTIVE, 6, true, false, R::None, 6},
    });
}

TEST(VisualStateTable, DisabledButtonShowsTheDisabledPictureAndDoesNothing) {
    ExpectRows({
        {HM_BUTTON_HOVER, 0, false, false, R::None, 3},
        {HM_BUTTON_DOWN, 0, false, false, R::None, 3},
        {HM_BUTTON_UP, 3, false, true, R::None, 3},
        {HM_BUTTON_LEAVE, 3, false, false, R::None, 3},
        {HM_BUTTON_OTHER, 1, false, false, R::None, 3},
        {HM_BUTTON_DOWN, 4, false, false, R::None, 7},
        {HM_BUTTON_UP, 7, false, false, R::None, 7},
        {HM_WINDOW_ACTIVE, 7, false, false, R::None, 3},
        {HM_WINDOW_INACTIVE, 3, false, false, R::None, 7},
        {HM_WINDOW_ACTIVE, kNewButtonState, false, false, R::None, 0},
    });
}

TEST(VisualStateTable, ClassicFaceOfEachState) {
    const UINT expected[kVisualStateCount] = {DFCS_HOT, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE,
                                              DFCS_HOT, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    for (int state = 0; state < kVisualStateCount; ++state)
        EXPECT_EQ(FrameControlFlags(state), expected[state]) << state;
}

}  // namespace
}  // namespace kz
