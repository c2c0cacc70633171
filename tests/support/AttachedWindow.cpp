#include "tests/support/AttachedWindow.h"

#include "trelmo/hook/HookedWindow.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace kz::test {

LibrarySettings DefaultLibrarySettings() {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    return settings;
}

void AttachedWindow::Open(const LibrarySettings& settings, int width, const wchar_t* className, bool classicLook) {
    registry_.StoreSettings(settings);
    if (className)
        RegisterTestWindowClass(className);
    window_.reset(CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, nullptr, className));
    ASSERT_TRUE(window_);
    if (classicLook)
        UseClassicLook(Window());
    ::SetWindowPos(Window(), nullptr, 60, 80, width, 320, SWP_NOZORDER);
    PumpPending();
    library_.Attach(Window());
    ASSERT_TRUE(library_.IsAttached(Window()));
    ASSERT_NE(Toolbar(), nullptr);
    PumpPending();
}

void AttachedWindow::ChangeSettings(const LibrarySettings& settings) {
    registry_.StoreSettings(settings);
    ::SendMessageW(Window(), WM_SETTINGCHANGE, 0, 0);
    PumpPending();
}

CaptionToolBar* AttachedWindow::Toolbar() {
    HookedWindow* record = Process().FindRecord(Window());
    return record ? record->Toolbar() : nullptr;
}

int AttachedWindow::SlotOf(int kind) {
    for (std::size_t i = 0; i < Row().Count(); ++i)
        if (Row()[i].kind == kind)
            return static_cast<int>(i);
    ADD_FAILURE() << "no slot of kind " << kind;
    return 0;
}

}  // namespace kz::test
