// System-wide hotkeys of the host: key combinations registered for the host
// main window, each with an action that a WM_HOTKEY of its id runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace kz {

// A combination as RegisterHotKey takes it: MOD_ALT, MOD_CONTROL, MOD_SHIFT
// and a virtual-key code.
struct HotKeyCombination {
    UINT modifiers = 0;
    UINT virtualKey = 0;
    bool operator==(const HotKeyCombination& other) const {
        return modifiers == other.modifiers && virtualKey == other.virtualKey;
    }
};

// A stored hotkey value: the virtual key in bits 0-12, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt.
HotKeyCombination CombinationOfStoredValue(uint16_t stored);

class TGlobalHotKey {
public:
    explicit TGlobalHotKey(uint16_t stored) : combination_(CombinationOfStoredValue(stored)) {}
    virtual ~TGlobalHotKey() = default;
    TGlobalHotKey(const TGlobalHotKey&) = delete;
    TGlobalHotKey& operator=(const TGlobalHotKey&) = delete;

    // The combination was pressed.
    virtual void Fire() = 0;
    const HotKeyCombination& Combination() const { return combination_; }

private:
    HotKeyCombination combination_;
};

// Where combinations are registered: the system, or a stand-in in tests.
class HotKeyRegistry {
public:
    virtual ~HotKeyRegistry() = default;
    virtual bool Register(int id, const HotKeyCombination& combination) = 0;
    virtual void Unregister(int id) = 0;
};

// RegisterHotKey for a window: its WM_HOTKEY messages reach that window's
// procedure, through the program's message loop and every modal loop alike.
class WindowHotKeyRegistry : public HotKeyRegistry {
public:
    explicit WindowHotKeyRegistry(HWND window) : window_(window) {}
    bool Register(int id, const HotKeyCombination& combination) override;
    void Unregister(int id) override;

private:
    HWND window_;
};

// The registered hotkeys, in order of registration. The n-th hotkey that
// registers (from 0) has the id n + 3: a registration that fails takes no id.
class TGlobalHotKeyDispatcher {
public:
    static constexpr int kFirstId = 3;

    explicit TGlobalHotKeyDispatcher(std::unique_ptr<HotKeyRegistry> registry);
    // Gives every registered combination back.
    virtual ~TGlobalHotKeyDispatcher();
    TGlobalHotKeyDispatcher(const TGlobalHotKeyDispatcher&) = delete;
    TGlobalHotKeyDispatcher& operator=(const TGlobalHotKeyDispatcher&) = delete;

    // Registers key under the next id; false when the combination is taken.
    bool Register(TGlobalHotKey& key);
    void UnregisterAll();
    // The WM_HOTKEY of an id: fires its hotkey. False for an id not ours.
    bool HandleHotKey(WPARAM id);
    int RegisteredCount() const { return static_cast<int>(registered_.size()); }

private:
    std::unique_ptr<HotKeyRegistry> registry_;
    std::vector<TGlobalHotKey*> registered_;
};

}  // namespace kz
