#include "kz/capbuttons/Btnmanager.h"

#include "kz/commands/HostInternalMessages.h"
#include "kz/settings/Usettingsfile.h"

#include <algorithm>

namespace kz {

namespace {

// How long a window may take to repaint its frame before the host goes on.
constexpr UINT kFrameRepaintTimeoutMs = 500;

// Has the window's own program (and the hook library's buttons in it) paint
// the whole frame again before the host goes on, so that no host-drawn
// picture stays on the caption.
void RepaintFrame(HWND wnd) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(wnd, WM_NCPAINT, 1, 0, SMTO_ABORTIFHUNG, kFrameRepaintTimeoutMs, &result);
}

}  // namespace

TBtnManager::TBtnManager(TImpProfile& executor, HWND mainWindow, const SettingsRecord& settings)
    : settings_(settings),
      Drawer_(std::make_unique<TExBackDrawer>(mainWindow, EffectiveGlyphColor(settings))),
      environment_{executor, mainWindow, *Drawer_} {
    Drawer_->SetButtons(settings_.Buttons, std::clamp<int>(settings_.ButtonCount, 0, kMaxButtons));
}

TBtnManager::~TBtnManager() {
    for (const auto& set : Sets)
        if (::IsWindow(set->Wnd())) {
            Drawer_->EraseButtons(set->Wnd());
            ::PostMessageW(set->Wnd(), WM_NCPAINT, 1, 0);
        }
}

void TBtnManager::Configure(const SettingsRecord& settings) {
    settings_ = settings;
    Sets.clear();
    Drawer_->SetGlyphColor(EffectiveGlyphColor(settings_));
    Drawer_->SetButtons(settings_.Buttons, std::clamp<int>(settings_.ButtonCount, 0, kMaxButtons));
}

void TBtnManager::StyleChanged() {
    Drawer_->Reload();
    // The automatic glyph colour follows the visual style.
    Drawer_->SetGlyphColor(EffectiveGlyphColor(settings_));
}

const TWndButtonSet* TBtnManager::FindSet(HWND wnd) const {
    const auto found = std::find_if(Sets.begin(), Sets.end(), [wnd](const auto& set) { return set->Wnd() == wnd; });
    return found == Sets.end() ? nullptr : found->get();
}

void TBtnManager::ForgetWindow(HWND wnd) {
    Sets.erase(std::remove_if(Sets.begin(), Sets.end(), [wnd](const auto& set) { return set->Wnd() == wnd; }),
               Sets.end());
}

void TBtnManager::DropDeadSets() {
    Sets.erase(std::remove_if(Sets.begin(), Sets.end(), [](const auto& set) { return !::IsWindow(set->Wnd()); }),
               Sets.end());
}

TWndButtonSet& TBtnManager::SetOf(HWND wnd) {
    for (const auto& set : Sets)
        if (set->Wnd() == wnd)
            return *set;
    DropDeadSets();
    Sets.push_back(std::make_unique<TWndButtonSet>(wnd, Drawer_->Layout(), environment_));
    return *Sets.back();
}

void TBtnManager::HandleMessage(UINT message, HWND wnd, int index) {
    if (!wnd)
        return;
    if (!::IsWindow(wnd)) {
        ForgetWindow(wnd);
        return;
    }
    TCapButton* button = SetOf(wnd).Button(index);
    if (!button)
        return;
    button->HandleMessage(message, wnd);
    Drawer_->DrawButton(wnd, button->VisualState(), index);
    if (message == HM_BUTTON_UP)
        RepaintFrame(wnd);
}

}  // namespace kz
