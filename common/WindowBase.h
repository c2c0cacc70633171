// The base of the program's own windows and modeless dialogs: one C++ object
// per window, which the window procedure finds, and the rules every such
// window follows.
//
// - Objects are made only by the base's Create, which gives nothing (a null
//   WindowPtr) when the window cannot be made, whatever the reason: the class
//   or template is missing, or WM_NCCREATE or WM_CREATE refused. No caller
//   ever holds an object without its window.
// - The object is tied to its window from WM_NCCREATE (WM_INITDIALOG for a
//   dialog) to WM_NCDESTROY: its pointer lies in GWLP_USERDATA and Window()
//   gives the window. At WM_NCDESTROY the object's handler sees the message
//   first; then the pointer is cleared and Window() is null.
// - The procedure is a noexcept thunk that calls the object's handler. No
//   exception passes it: a message whose handler threw gets the system's
//   default handling (DefWindowProcW; FALSE for a dialog), and the window
//   goes on working.
// - Whoever called Create owns the object through its WindowPtr. Letting go
//   of it destroys the window, whose last messages (WM_DESTROY,
//   WM_NCDESTROY) still reach the whole object, and then frees the object.
//   Let go while a message of the window is being handled (a window closed
//   by what its own click set off), both wait until the outermost message of
//   that window has returned.
// - A window destroyed first, by its own handler or with its owner or
//   parent, leaves its object without a window (Window() is null) until the
//   owner lets go of the object.
// - A window is destroyed on its own thread. An object let go of on another
//   thread (the hook library unloading under a program) hands its window to
//   DefWindowProcW, so that no code of the library runs for it again, and
//   asks it to close on its own thread.
//
// A window class derives from WindowBase<Itself>, keeps its constructors
// private, befriends WindowBase<Itself> and defines
//     LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// which passes what it does not handle to DefWindowProcW(Window(), ...). Its
// own static Create calls the base's with the window class, the window's
// styles and place, and the constructor's arguments. The class is registered
// once, with the base's procedure and the arrow cursor (a window that shows
// another sets it at WM_SETCURSOR), in the module whose code runs the
// procedure: the program's, or the hook library's; UnregisterWindowClass
// takes it away again.
//
// A modeless dialog derives from DialogBase<Itself> in the same way and
// defines
//     INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// which answers as a dialog procedure does: FALSE for the dialog manager's
// default handling, TRUE when handled (Reply stores a result for messages
// that return one through DWLP_MSGRESULT, such as WM_NOTIFY). It sees
// WM_INITDIALOG first; messages that come before it (WM_SETFONT, the
// WM_MEASUREITEM of owner-drawn controls) go to the class's static
//     static INT_PTR HandleBeforeInit(HWND, UINT, WPARAM, LPARAM) noexcept;
// where it declares one, else they get FALSE. Pages are made the same way,
// with the frame as their parent; pages of several classes that the frame
// treats alike derive from one root that derives from DialogBase<Root>.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace kz {

// The point a mouse message carries, in client coordinates: negative to the
// left of and above the client area.
inline POINT PointOf(LPARAM lParam) noexcept {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Lets go of an object of the bases (see above).
struct WindowDeleter {
    template <typename T>
    void operator()(T* object) const noexcept;
};

template <typename T>
using WindowPtr = std::unique_ptr<T, WindowDeleter>;

// A window class of the base: its name, class styles, background brush and
// icon; the procedure, module and cursor are the base's.
struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

// CreateWindowExW's arguments but the class and the module.
struct WindowSpec {
    DWORD exStyle;
    DWORD style;
    const wchar_t* title;
    int x;
    int y;
    int width;
    int height;
    HWND parent = nullptr;  // the owner of a popup
    int id = 0;             // of a child: its control identifier
};

// What both bases share: the window, and the count of its messages in progress.
class WindowObject {
public:
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND Window() const noexcept { return window_; }

protected:
    WindowObject() = default;
    ~WindowObject() = default;

    template <typename T>
    static T* Find(HWND window) noexcept {
        return reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    template <typename T>
    static void Attach(HWND window, T* object) noexcept {
        if (!object)
            return;
        static_cast<WindowObject*>(object)->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }

    // Runs one message's handler on object, with fallback's answer when it
    // throws; unties the window at WM_NCDESTROY and, as the outermost message
    // returns, frees an object let go of meanwhile.
    template <typename T, typename Handler, typename Fallback>
    static auto Deliver(T* object, UINT message, Handler handler, Fallback fallback) noexcept {
        WindowObject& core = *object;
        ++core.depth_;
        decltype(handler()) result;
        try {
            result = handler();
        } catch (...) {
            result = fallback();
        }
        if (message == WM_NCDESTROY)
            core.Detach();
        if (--core.depth_ == 0 && core.released_)
            Free(object);
        return result;
    }

private:
    friend struct WindowDeleter;

    // Now, or once the outermost message of its window has returned.
    template <typename T>
    static void Free(T* object) noexcept {
        WindowObject& core = *object;
        if (core.depth_ > 0) {
            core.released_ = true;
            return;
        }
        ++core.depth_;  // the window's last messages find the object whole and free nothing
        core.DestroyOwnWindow();
        delete object;
    }

    void Detach() noexcept {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
    }

    void DestroyOwnWindow() noexcept {
        if (!window_)
            return;
        if (::GetWindowThreadProcessId(window_, nullptr) != ::GetCurrentThreadId()) {
            ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcW));
            ::ShowWindowAsync(window_, SW_HIDE);
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        } else {
            ::DestroyWindow(window_);
        }
        // Untied whatever became of WM_NCDESTROY on the way.
        if (window_)
            Detach();
    }

    HWND window_ = nullptr;
    int depth_ = 0;
    bool released_ = false;
};

template <typename T>
void WindowDeleter::operator()(T* object) const noexcept {
    WindowObject::Free(object);
}

template <typename Derived>
class WindowBase : public WindowObject {
public:
    // Takes a class of this module away; false while windows of it exist.
    static bool UnregisterWindowClass(const wchar_t* name) noexcept {
        return ::UnregisterClassW(name, CodeModule()) != FALSE;
    }

protected:
    // Makes Derived(arguments...) and its window; null when the window cannot be made.
    template <typename... Arguments>
    static WindowPtr<Derived> Create(const WindowClass& windowClass, const WindowSpec& spec,
                                     Arguments&&... arguments) {
        WindowPtr<Derived> object(new Derived(std::forward<Arguments>(arguments)...));
        if (!Register(windowClass))
            return nullptr;
        ::CreateWindowExW(spec.exStyle, windowClass.name, spec.title, spec.style, spec.x, spec.y, spec.width,
                          spec.height, spec.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                          CodeModule(), object.get());
        if (!object->Window())
            return nullptr;
        return object;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE)
            Attach(window, static_cast<Derived*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
        Derived* object = Find<Derived>(window);
        if (!object)
            return ::DefWindowProcW(window, message, wParam, lParam);
        return Deliver(
            object, message, [&] { return object->HandleMessage(message, wParam, lParam); },
            [&] { return ::DefWindowProcW(window, message, wParam, lParam); });
    }

    // The module whose code runs the procedure: the class is registered there.
    static HMODULE CodeModule() noexcept {
        HMODULE module = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(&Procedure), &module);
        return module;
    }

    // Registers the class unless it is already; two threads that both try
    // leave it registered once.
    static bool Register(const WindowClass& windowClass) noexcept {
        const HMODULE module = CodeModule();
        WNDCLASSEXW registered{};
        registered.cbSize = sizeof registered;
        if (::GetClassInfoExW(module, windowClass.name, &registered))
            return true;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = windowClass.style;
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = module;
        wc.hIcon = windowClass.icon;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = windowClass.background;
        wc.lpszClassName = windowClass.name;
        return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
};

template <typename Derived>
class DialogBase : public WindowObject {
protected:
    // Makes Derived(arguments...) and its dialog from the template templateId
    // of module resources; null when the dialog cannot be made. Dialogs of a
    // family (the pages of one frame) share the base of the family's root:
    // Made is then one of its classes, whose HandleMessage and destructor
    // the root declares virtual.
    template <typename Made = Derived, typename... Arguments>
    static WindowPtr<Made> Create(HINSTANCE resources, int templateId, HWND parent, Arguments&&... arguments) {
        WindowPtr<Made> object(new Made(std::forward<Arguments>(arguments)...));
        ::CreateDialogParamW(resources, MAKEINTRESOURCEW(templateId), parent, &Procedure,
                             reinterpret_cast<LPARAM>(static_cast<Derived*>(object.get())));
        if (!object->Window())
            return nullptr;
        return object;
    }

    // The answer to a message that returns its result through DWLP_MSGRESULT.
    INT_PTR Reply(LRESULT result) const noexcept {
        ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, result);
        return TRUE;
    }

    static INT_PTR HandleBeforeInit(HWND, UINT, WPARAM, LPARAM) noexcept { return FALSE; }

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG)
            Attach(dialog, reinterpret_cast<Derived*>(lParam));
        Derived* object = Find<Derived>(dialog);
        if (!object) {
            static_assert(noexcept(Derived::HandleBeforeInit(dialog, message, wParam, lParam)),
                          "HandleBeforeInit runs outside the exception barrier");
            return Derived::HandleBeforeInit(dialog, message, wParam, lParam);
        }
        return Deliver(
            object, message, [&] { return object->HandleMessage(message, wParam, lParam); },
            [] { return INT_PTR{FALSE}; });
    }
};

}  // namespace kz
