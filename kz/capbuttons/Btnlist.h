// The host's model of a window's caption buttons: one button object per
// configured button, with a visual state and the command it runs through the
// executor.
#pragma once

#include "kz/capbuttons/Kz_lib.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class TImpProfile;
class TExBackDrawer;
class TWndButtonSet;

// What every button works with: the executor, the host main window (which
// pops up the transparency presets) and the drawer's layout.
struct CapButtonEnvironment {
    TImpProfile& executor;
    HWND mainWindow;
    const TExBackDrawer& drawer;
};

class TCapButton {
public:
    TCapButton(TWndButtonSet& owner, const CapButtonEnvironment& environment)
        : Owner(owner), environment_(environment) {}
    virtual ~TCapButton() = default;
    TCapButton(const TCapButton&) = delete;
    TCapButton& operator=(const TCapButton&) = delete;

    virtual void Execute() {}
    virtual bool IsDown() { return false; }
    virtual bool IsEnabled() { return true; }
    // Reacts to a button message about wnd and moves to the state it leads to.
    virtual void HandleMessage(UINT message, HWND wnd);

    int VisualState() const { return visualState_; }

protected:
    void SetVisualState(int state);
    TImpProfile& Executor() const { return environment_.executor; }
    const CapButtonEnvironment& Environment() const { return environment_; }

    HWND Wnd = nullptr;
    TWndButtonSet& Owner;

private:
    const CapButtonEnvironment& environment_;
    int visualState_ = kNewButtonState;
};

// The button of a kind (1 to 9); null for a separator or any other code.
std::unique_ptr<TCapButton> MakeCapButton(int kind, TWndButtonSet& owner, const CapButtonEnvironment& environment);

// The buttons of one window, one entry per configured entry.
class TWndButtonSet {
public:
    TWndButtonSet(HWND wnd, const CapButtonLayout& layout, const CapButtonEnvironment& environment);
    TWndButtonSet(const TWndButtonSet&) = delete;
    TWndButtonSet& operator=(const TWndButtonSet&) = delete;

    HWND Wnd() const { return wnd_; }
    // The button of entry i; null for a separator or an index out of range.
    TCapButton* Button(int i) const;
    bool Redraw = false;

private:
    HWND wnd_;
    std::vector<std::unique_ptr<TCapButton>> CapButtons;
};

}  // namespace kz
