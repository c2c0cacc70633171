// One move-only owner for every kind of Windows handle, and guards for the
// device-context work that must be undone in the same scope.
#pragma once

#include <windows.h>

#include <utility>

namespace kz {

// Owns one handle; Traits names the invalid value and how to free it.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle h = Traits::invalid()) noexcept {
        Handle old = std::exchange(handle_, h);
        if (old != Traits::invalid())
            Traits::close(old);
    }
    // For out-parameters of the API: frees the current handle first.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::invalid();
};

template <typename H, auto Close>
struct NullHandleTraits {
    using Handle = H;
    static constexpr H invalid() noexcept { return nullptr; }
    static void close(H h) noexcept { Close(h); }
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void CloseKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void ReleaseModuleHandle(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void Unhook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
inline void DestroyWindowHandle(HWND h) noexcept { ::DestroyWindow(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DeleteMemoryDC(HDC h) noexcept { ::DeleteDC(h); }

using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, DestroyWindowHandle>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, DestroyMenuHandle>>;
using UniqueKey = UniqueHandle<NullHandleTraits<HKEY, CloseKey>>;
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, ReleaseModuleHandle>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, Unhook>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, DestroyIconHandle>>;
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, CloseKernelHandle>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueMemoryDC = UniqueHandle<NullHandleTraits<HDC, DeleteMemoryDC>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, DeleteGdiObject>>;
using UniqueRegion = UniqueHandle<NullHandleTraits<HRGN, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, DeleteGdiObject>>;

// A DC from GetDC or GetWindowDC: remembers its window for ReleaseDC.
class WindowDC {
public:
    WindowDC(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    static WindowDC OfWindow(HWND window) noexcept { return WindowDC(window, ::GetWindowDC(window)); }
    static WindowDC OfClient(HWND window) noexcept { return WindowDC(window, ::GetDC(window)); }
    WindowDC(WindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&&) = delete;
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the one it replaced back at scope end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A critical section that lives as long as its owner.
class CriticalSection {
public:
    explicit CriticalSection(DWORD spinCount = 0) noexcept {
        ::InitializeCriticalSectionAndSpinCount(&section_, spinCount);
    }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    void Enter() noexcept { ::EnterCriticalSection(&section_); }
    void Leave() noexcept { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class Lock {
public:
    explicit Lock(CriticalSection& section) noexcept : section_(section) { section_.Enter(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { section_.Leave(); }

private:
    CriticalSection& section_;
};

}  // namespace kz
