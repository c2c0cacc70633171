#include "trelmo/menus/PopupMenu.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

TEST(TransparencyArithmetic, OpacityFromLayeredAttributes) {
    EXPECT_EQ(OpacityPercent(128, LWA_ALPHA), 50);
    EXPECT_EQ(OpacityPercent(20, LWA_ALPHA), 7);
    EXPECT_EQ(OpacityPercent(255, LWA_ALPHA), 100);
    EXPECT_EQ(OpacityPercent(0, LWA_ALPHA), 0);
    EXPECT_EQ(OpacityPercent(255, LWA_ALPHA | LWA_COLORKEY), 100);
    // Layered for a colour key only: the alpha the system reports means nothing.
    EXPECT_EQ(OpacityPercent(0, LWA_COLORKEY), 100);
}

TEST(TransparencyArithmetic, CheckedEntryIsTheTensOrFiveBelowTen) {
    struct Case {
        int opacity;
        int checked;
    };
    for (Case c : {Case{100, 100}, Case{99, 100}, Case{98, 90}, Case{50, 50}, Case{49, 50}, Case{48, 40},
                   Case{9, 10}, Case{8, 5}, Case{7, 5}, Case{0, 5}}) {
        EXPECT_EQ(CheckedTransparencyPercent(c.opacity), c.checked) << "opacity " << c.opacity;
    }
}

TEST(MenuEntries, OnlySeparatorsAndCommandKindsGetAnEntry) {
    for (int kind = kSeparator; kind <= kRunCopy; ++kind)
        EXPECT_TRUE(KindHasMenuEntry(kind)) << kind;
    for (int kind : {-128, -1, int(kOverflow), 11, 127})
        EXPECT_FALSE(KindHasMenuEntry(kind)) << kind;
}

}  // namespace
}  // namespace kz
