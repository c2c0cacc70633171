// The executor's bookkeeping on plain records: no window is involved.
#include "kz/commands/Opacity.h"
#include "kz/commands/Profile.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
constexpr StateKind kAllKinds[] = {StateKind::Transparency, StateKind::Tray,  StateKind::CommonTray,
                                   StateKind::Visibility,   StateKind::OnTop, StateKind::Roll,
                                   StateKind::Box};

// A current record whose every state differs from a fresh record's.
TWndParams ChangedCurrent() {
    TWndParams current;
    current.Wnd = kWindow;
    current.ModulePath = L"C:\\Programs\\Editor.exe";
    current.Caption = L"Notes";
    current.ClassName = L"EditorFrame";
    current.Transparency = 70;
    current.State = {true, true, false, true, true, true};
    current.RolledHeight = 321;
    return current;
}

// Reads one kind of state as a number, to compare records kind by kind.
int ValueOf(const TWndParams& record, StateKind kind) {
    switch (kind) {
    case StateKind::Transparency: return record.Transparency;
    case StateKind::Tray: return record.State.InTray;
    case StateKind::CommonTray: return record.State.InCommonTray;
    case StateKind::Visibility: return record.State.Visible;
    case StateKind::OnTop: return record.State.OnTop;
    case StateKind::Roll: return record.State.Rolled * 100000 + record.RolledHeight;
    case StateKind::Box: return record.State.InBox;
    }
    return -1;
}

class SaveStateOfEachKind : public ::testing::TestWithParam<StateKind> {};

TEST_P(SaveStateOfEachKind, FirstChangeMakesACopyWithOnlyItsBit) {
    TWndParamsAr saved;
    const TWndParams current = ChangedCurrent();
    const SavedState result = SaveState(saved, current, GetParam());
    ASSERT_TRUE(result.created);
    ASSERT_EQ(saved.Count(), 1);
    EXPECT_EQ(result.record, saved.Find(kWindow));
    EXPECT_EQ(result.record->Changes, kValidRecord | ChangeBitOf(GetParam()));
    EXPECT_EQ(result.record->ModulePath, current.ModulePath);
    EXPECT_EQ(result.record->Caption, current.Caption);
    EXPECT_EQ(ValueOf(*result.record, GetParam()), ValueOf(current, GetParam()));
    EXPECT_FALSE(result.record->IsUnchanged());
}

TEST_P(SaveStateOfEachKind, KeepsTheEarliestValue) {
    TWndParamsAr saved;
    TWndParams current = ChangedCurrent();
    SaveState(saved, current, GetParam());
    const int earliest = ValueOf(current, GetParam());
    current.Transparency = 20;
    current.State = {};
    current.RolledHeight = 5;
    const SavedState again = SaveState(saved, current, GetParam());
    EXPECT_FALSE(again.created);
    EXPECT_EQ(ValueOf(*again.record, GetParam()), earliest);
}

TEST_P(SaveStateOfEachKind, AnotherKindJoinsTheRecordWithTheValueOfNow) {
    TWndParamsAr saved;
    TWndParams current = ChangedCurrent();
    const StateKind other = GetParam() == StateKind::Box ? StateKind::Tray : StateKind::Box;
    SaveState(saved, current, other);
    current.Transparency = 30;
    current.State = {false, false, true, false, false, false};
    current.RolledHeight = 77;
    const SavedState joined = SaveState(saved, current, GetParam());
    EXPECT_FALSE(joined.created);
    EXPECT_EQ(saved.Count(), 1);
    EXPECT_EQ(joined.record->Changes, kValidRecord | ChangeBitOf(other) | ChangeBitOf(GetParam()));
    EXPECT_EQ(ValueOf(*joined.record, GetParam()), ValueOf(current, GetParam()));
}

TEST_P(SaveStateOfEachKind, ClearingTheOnlyChangeRemovesTheRecord) {
    TWndParamsAr saved;
    SaveState(saved, ChangedCurrent(), GetParam());
    EXPECT_TRUE(ClearChange(saved, kWindow, GetParam()));
    EXPECT_EQ(saved.Count(), 0);
    EXPECT_FALSE(ClearChange(saved, kWindow, GetParam()));
}

TEST_P(SaveStateOfEachKind, ClearingOneOfTwoChangesKeepsTheOther) {
    TWndParamsAr saved;
    const StateKind other = GetParam() == StateKind::Box ? StateKind::Tray : StateKind::Box;
    SaveState(saved, ChangedCurrent(), other);
    SaveState(saved, ChangedCurrent(), GetParam());
    ASSERT_TRUE(ClearChange(saved, kWindow, GetParam()));
    const TWndParams* record = saved.Find(kWindow);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Changes, kValidRecord | ChangeBitOf(other));
    // The cleared state is off again; an opacity is back at 100 %.
    EXPECT_EQ(ValueOf(*record, GetParam()), GetParam() == StateKind::Transparency ? 100
                                            : GetParam() == StateKind::Roll       ? ChangedCurrent().RolledHeight
                                                                                  : 0);
}

INSTANTIATE_TEST_SUITE_P(Profile, SaveStateOfEachKind, ::testing::ValuesIn(kAllKinds));

TEST(Profile, ClearingAChangeThatIsNotThereLeavesTheRecord) {
    TWndParamsAr saved;
    SaveState(saved, ChangedCurrent(), StateKind::OnTop);
    EXPECT_FALSE(ClearChange(saved, kWindow, StateKind::Roll));
    EXPECT_FALSE(ClearChange(saved, reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x99)), StateKind::OnTop));
    ASSERT_NE(saved.Find(kWindow), nullptr);
    EXPECT_EQ(saved.Find(kWindow)->Changes, kValidRecord | kChangedOnTop);
}

TEST(Profile, ChangeBitsAreTheStoredOnesAndOnlyTheyCount) {
    TWndParams record;
    EXPECT_TRUE(record.IsUnchanged());
    uint16_t all = 0;
    for (StateKind kind : kAllKinds) {
        record.Changes = kValidRecord | ChangeBitOf(kind);
        EXPECT_FALSE(record.IsUnchanged());
        all |= ChangeBitOf(kind);
    }
    EXPECT_EQ(all, 0x0FC1);
}

TEST(Profile, ListsFindOnlyValidRecords) {
    TWndParamsAr list;
    auto invalid = std::make_unique<TWndParams>();
    invalid->Wnd = kWindow;
    invalid->Changes = kChangedTray;
    list.Append(std::move(invalid));
    EXPECT_EQ(list.Find(kWindow), nullptr);
    EXPECT_EQ(list.IndexOf(kWindow), -1);
    auto valid = std::make_unique<TWndParams>();
    valid->Wnd = kWindow;
    TWndParams& appended = list.Append(std::move(valid));
    EXPECT_EQ(list.Find(kWindow), &appended);
    EXPECT_EQ(list.IndexOf(kWindow), 1);
    list.Remove(kWindow);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Find(kWindow), nullptr);
}

TEST(Profile, RestorePlanUndoesEveryChangeInItsOrder) {
    TWndParams saved = ChangedCurrent();
    saved.Changes = kValidRecord | kAllChangeBits;
    saved.Transparency = 80;
    saved.State = {false, false, true, true, false, false};
    const std::vector<RestoreStep> expected = {
        {StateKind::Transparency, 80}, {StateKind::Tray, 0}, {StateKind::Visibility, 1}, {StateKind::OnTop, 1},
        {StateKind::Roll, 0},          {StateKind::Box, 0},  {StateKind::CommonTray, 0}};
    EXPECT_EQ(RestorePlan(saved), expected);

    saved.Changes = kValidRecord | kChangedCommonTray | kChangedTransparency;
    const std::vector<RestoreStep> partial = {{StateKind::Transparency, 80}, {StateKind::CommonTray, 0}};
    EXPECT_EQ(RestorePlan(saved), partial);
    saved.Changes = kValidRecord;
    EXPECT_TRUE(RestorePlan(saved).empty());
}

TEST(Opacity, PercentAndAlphaTruncateBothWays) {
    EXPECT_EQ(AlphaOfPercent(50), 127);
    EXPECT_EQ(PercentOfAlpha(127), 49);
    EXPECT_EQ(AlphaOfPercent(90), 229);
    EXPECT_EQ(PercentOfAlpha(229), 89);
    EXPECT_EQ(AlphaOfPercent(5), 12);
    EXPECT_EQ(AlphaOfPercent(100), 255);
    EXPECT_EQ(PercentOfAlpha(255), 100);
    for (int percent = 1; percent <= 100; ++percent) {
        const int back = PercentOfAlpha(AlphaOfPercent(percent));
        EXPECT_TRUE(back == percent || back == percent - 1) << percent;
    }
}

TEST(Opacity, LimitsOfTheRequestAndOfTheToggleLevel) {
    EXPECT_EQ(LimitPercent(150), 100);
    EXPECT_EQ(LimitPercent(100), 100);
    EXPECT_EQ(LimitPercent(30), 30);
    EXPECT_EQ(ClampToggleLevel(0), 1);
    EXPECT_EQ(ClampToggleLevel(-20), 1);
    EXPECT_EQ(ClampToggleLevel(50), 50);
    EXPECT_EQ(ClampToggleLevel(255), 100);
}

}  // namespace
}  // namespace kz
