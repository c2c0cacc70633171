#include "kz/core/Hotkeys.h"

#include "kz/commands/HostInternalMessages.h"
#include "kz/settings/Usettingsfile.h"

#include <algorithm>

namespace kz {

std::vector<PlannedHotKey> PlanHotKeys(const SettingsRecord& settings) {
    std::vector<PlannedHotKey> planned;
    const int count = std::clamp<int>(settings.ButtonCount, 0, kMaxButtons);
    for (int i = 0; i < count; ++i) {
        const int kind = settings.Buttons[i];
        if (kind < 1 || kind >= kHotKeyCount || settings.HotKeys[kind] == 0)
            continue;
        planned.push_back(PlannedHotKey{i, kind, settings.HotKeys[kind]});
    }
    return planned;
}

void TButtonPressEvent::Fire() {
    const HWND target = ::GetForegroundWindow();
    if (!target || !route_.mayTouch || !route_.mayTouch(target))
        return;
    const auto index = static_cast<WPARAM>(buttonIndex_);
    ::PostMessageW(route_.mainWindow, HM_BUTTON_DOWN, index, reinterpret_cast<LPARAM>(target));
    ::PostMessageW(route_.mainWindow, HM_BUTTON_UP, index, reinterpret_cast<LPARAM>(target));
}

TghkLoader::TghkLoader(HWND mainWindow, std::function<bool(HWND)> mayTouch)
    : TghkLoader(std::make_unique<WindowHotKeyRegistry>(mainWindow), ButtonPressRoute{mainWindow, std::move(mayTouch)}) {}

TghkLoader::TghkLoader(std::unique_ptr<HotKeyRegistry> registry, ButtonPressRoute route)
    : TGlobalHotKeyDispatcher(std::move(registry)), route_(std::move(route)) {}

// The combinations go back before the hotkeys they stand for.
TghkLoader::~TghkLoader() { UnregisterAll(); }

std::vector<RefusedHotKey> TghkLoader::Reload() { return Reload(StoredSettings()); }

std::vector<RefusedHotKey> TghkLoader::Reload(const SettingsRecord& settings) {
    UnregisterAll();
    hotKeys_.clear();
    std::vector<RefusedHotKey> refused;
    for (const PlannedHotKey& plan : PlanHotKeys(settings)) {
        hotKeys_.push_back(std::make_unique<TButtonPressEvent>(plan.stored, plan.buttonIndex, route_));
        if (!Register(*hotKeys_.back()))
            refused.push_back(RefusedHotKey{plan.buttonIndex, plan.kind, plan.stored});
    }
    return refused;
}

SettingsRecord StoredSettings() {
    SettingsRecord settings;
    SetDefaultSettings(settings);
    LoadSettings(settings);
    return settings;
}

}  // namespace kz
