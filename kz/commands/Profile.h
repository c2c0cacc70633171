// The executor's per-window records: what the host believes a window's state
// is (current) and what it was before the first change of each kind (saved).
// Plain data and bookkeeping only, so that it can be tested without windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kz {

struct WndState {
    bool InTray = false;
    bool InCommonTray = false;
    bool Visible = true;
    bool OnTop = false;
    bool Rolled = false;
    bool InBox = false;
};

// Bits of TWndParams::Changes.
enum ChangeBit : uint16_t {
    kChangedTransparency = 1u << 0,
    kValidRecord = 1u << 5,
    kChangedTray = 1u << 6,
    kChangedCommonTray = 1u << 7,
    kChangedVisibility = 1u << 8,
    kChangedOnTop = 1u << 9,
    kChangedRoll = 1u << 10,
    kChangedBox = 1u << 11,
};

struct TWndParams {
    std::wstring ModulePath;
    std::wstring ClassName;
    std::wstring Caption;
    int32_t Transparency = 100;
    HICON SmallIcon = nullptr;  // borrowed
    HWND Wnd = nullptr;
    WndState State;
    int32_t RolledHeight = 0;
    uint16_t Changes = kValidRecord;
    uint16_t SmallIconSize = 16;
    uint16_t LargeIconSize = 32;
    HICON LargeIcon = nullptr;  // borrowed

    bool IsUnchanged() const;
};

// An ordered list of owned records.
class TWndParamsAr {
public:
    TWndParamsAr();
    int Count() const { return static_cast<int>(items_.size()); }
    TWndParams& operator[](int index) { return *items_[index]; }
    const TWndParams& operator[](int index) const { return *items_[index]; }
    TWndParams* Find(HWND w) const;
    int IndexOf(HWND w) const;  // -1 when absent
    TWndParams& Append(std::unique_ptr<TWndParams> record);
    void Remove(HWND w);

private:
    std::vector<std::unique_ptr<TWndParams>> items_;
};

// The two lists and the bookkeeping every command shares.
class TWndProfile {
public:
    const TWndParamsAr& Current() const { return current_; }
    const TWndParamsAr& Saved() const { return saved_; }

protected:
    TWndParamsAr current_;
    TWndParamsAr saved_;
};

}  // namespace kz
