#include "kz/core/Hotkeylib.h"

namespace kz {

namespace {

constexpr uint16_t kStoredKeyMask = 0x1FFF;
constexpr uint16_t kStoredShift = 0x2000;
constexpr uint16_t kStoredCtrl = 0x4000;
constexpr uint16_t kStoredAlt = 0x8000;

}  // namespace

HotKeyCombination CombinationOfStoredValue(uint16_t stored) {
    HotKeyCombination combination;
    combination.virtualKey = stored & kStoredKeyMask;
    if (stored & kStoredShift)
        combination.modifiers |= MOD_SHIFT;
    if (stored & kStoredAlt)
        combination.modifiers |= MOD_ALT;
    if (stored & kStoredCtrl)
        combination.modifiers |= MOD_CONTROL;
    return combination;
}

bool WindowHotKeyRegistry::Register(int id, const HotKeyCombination& combination) {
    return ::RegisterHotKey(window_, id, combination.modifiers, combination.virtualKey) != FALSE;
}

void WindowHotKeyRegistry::Unregister(int id) { ::UnregisterHotKey(window_, id); }

TGlobalHotKeyDispatcher::TGlobalHotKeyDispatcher(std::unique_ptr<HotKeyRegistry> registry)
    : registry_(std::move(registry)) {}

TGlobalHotKeyDispatcher::~TGlobalHotKeyDispatcher() { UnregisterAll(); }

bool TGlobalHotKeyDispatcher::Register(TGlobalHotKey& key) {
    if (!registry_->Register(kFirstId + RegisteredCount(), key.Combination()))
        return false;
    registered_.push_back(&key);
    return true;
}

void TGlobalHotKeyDispatcher::UnregisterAll() {
    for (int k = 0; k < RegisteredCount(); ++k)
        registry_->Unregister(kFirstId + k);
    registered_.clear();
}

bool TGlobalHotKeyDispatcher::HandleHotKey(WPARAM id) {
    const auto index = static_cast<INT_PTR>(id) - kFirstId;
    if (index < 0 || index >= RegisteredCount())
        return false;
    registered_[static_cast<size_t>(index)]->Fire();
    return true;
}

}  // namespace kz
