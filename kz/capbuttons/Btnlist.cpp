#include "kz/capbuttons/Btnlist.h"

#include "kz/capbuttons/Exbackdrawer.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Impprofile.h"

namespace kz {

void TCapButton::HandleMessage(UINT message, HWND wnd) {
    Wnd = wnd;
    const bool enabled = IsEnabled();
    // Of the reactions only the release runs something; the others change the state alone.
    if (ReactionTo(message, visualState_, enabled) == ButtonReaction::Execute)
        Execute();
    const bool downAfter = enabled && (message == HM_BUTTON_UP || message == HM_BUTTON_LEAVE) && IsDown();
    SetVisualState(NextVisualState(message, visualState_, enabled, downAfter));
}

void TCapButton::SetVisualState(int state) {
    if (state != visualState_)
        Owner.Redraw = true;
    visualState_ = state;
}

namespace {

class TMinToTrayCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().MinimizeToTray(Wnd); }
};

class TMinToCommonTrayCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().MinimizeToCommonTray(Wnd); }
};

class TMinToBoxCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().MinimizeToBox(Wnd); }
};

class TRollCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override {
        RollPending = true;
        Executor().SetRolled(Wnd, !Executor().IsRolled(Wnd));
    }
    bool IsDown() override { return Executor().IsRolled(Wnd); }
    bool IsEnabled() override { return (::GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_THICKFRAME) != 0; }
    // A resize that the roll itself caused is passed over; any other one
    // means the window was sized by hand, which ends the roll.
    void HandleMessage(UINT message, HWND wnd) override {
        if (message != HM_BUTTON_WINDOW_SIZED) {
            TCapButton::HandleMessage(message, wnd);
            return;
        }
        if (RollPending) {
            RollPending = false;
            return;
        }
        SetVisualState(kStateNormal);
        Executor().WindowSized(wnd);
    }
    bool RollPending = false;
};

class TAllwaysOnTopCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().SetOnTop(Wnd, !Executor().IsOnTop(Wnd)); }
    bool IsDown() override { return Executor().IsOnTop(Wnd); }
};

class TPushToBackgroundCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().SendToBack(Wnd); }
};

class TAdjustTransparencyCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().ToggleTransparency(Wnd, !IsDown()); }
    bool IsDown() override { return Executor().GetTransparency(Wnd) < 100; }
    bool IsEnabled() override { return Executor().LayeredAvailable(); }
};

// Asks the main window to pop up the presets menu at the button's lower left
// corner on the screen.
class TTransparencyPresetCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override {
        const TExBackDrawer& drawer = Environment().drawer;
        const RECT button = drawer.ButtonRect(drawer.IndexOfKind(8), Wnd);
        RECT window{};
        ::GetWindowRect(Wnd, &window);
        const POINT corner{button.left, window.top + button.bottom};
        const HWND mainWindow = Environment().mainWindow;
        ::SetForegroundWindow(mainWindow);
        ::PostMessageW(mainWindow, WM_PRESETMENU, reinterpret_cast<WPARAM>(Wnd), PresetMenuPointParam(corner));
    }
    bool IsEnabled() override { return Executor().LayeredAvailable(); }
};

class TCopyWindowCapButton : public TCapButton {
    using TCapButton::TCapButton;
    void Execute() override { Executor().RunCopy(Wnd); }
};

}  // namespace

std::unique_ptr<TCapButton> MakeCapButton(int kind, TWndButtonSet& owner, const CapButtonEnvironment& environment) {
    switch (kind) {
    case 1:
        return std::make_unique<TMinToTrayCapButton>(owner, environment);
    case 2:
        return std::make_unique<TMinToCommonTrayCapButton>(owner, environment);
    case 3:
        return std::make_unique<TMinToBoxCapButton>(owner, environment);
    case 4:
        return std::make_unique<TRollCapButton>(owner, environment);
    case 5:
        return std::make_unique<TAllwaysOnTopCapButton>(owner, environment);
    case 6:
        return std::make_unique<TPushToBackgroundCapButton>(owner, environment);
    case 7:
        return std::make_unique<TAdjustTransparencyCapButton>(owner, environment);
    case 8:
        return std::make_unique<TTransparencyPresetCapButton>(owner, environment);
    case 9:
        return std::make_unique<TCopyWindowCapButton>(owner, environment);
    default:
        return nullptr;
    }
}

TWndButtonSet::TWndButtonSet(HWND wnd, const CapButtonLayout& layout, const CapButtonEnvironment& environment)
    : wnd_(wnd) {
    for (int i = 0; i < layout.count; ++i)
        CapButtons.push_back(MakeCapButton(layout.kinds[i], *this, environment));
    for (auto& button : CapButtons)
        if (button)
            button->HandleMessage(HM_WINDOW_ACTIVE, wnd);
}

TCapButton* TWndButtonSet::Button(int i) const {
    return i >= 0 && i < static_cast<int>(CapButtons.size()) ? CapButtons[i].get() : nullptr;
}

}  // namespace kz
