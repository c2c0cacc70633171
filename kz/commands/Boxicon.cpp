#include "kz/commands/Boxicon.h"

#include "kz/commands/Process.h"

#include <algorithm>
#include <string>
#include <variant>

namespace kz {

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 14;
// How long a window may take to name its icon: a hung program must not hold
// up the host.
constexpr UINT kIconQueryTimeoutMs = 500;

// RT_GROUP_ICON, as the wide functions take it.
LPCWSTR GroupIconType() { return MAKEINTRESOURCEW(14); }

WORD WordAt(const BYTE* bytes) { return static_cast<WORD>(bytes[0] | (bytes[1] << 8)); }

// A module opened for its resources only: nothing of it runs.
UniqueModule OpenResources(const wchar_t* path) {
    return UniqueModule(
        ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// The name of a resource: a number or a string.
using ResourceName = std::variant<WORD, std::wstring>;

LPCWSTR NameArgument(const ResourceName& name) {
    if (const WORD* id = std::get_if<WORD>(&name))
        return MAKEINTRESOURCEW(*id);
    return std::get<std::wstring>(name).c_str();
}

// The icon group's largest image, unscaled; owned.
UniqueIcon LoadLargestIcon(HMODULE module, const ResourceName& name) {
    const HRSRC resource = ::FindResourceW(module, NameArgument(name), GroupIconType());
    if (!resource)
        return UniqueIcon();
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* directory = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!directory)
        return UniqueIcon();
    const int width = LargestIconWidth(directory, ::SizeofResource(module, resource));
    if (width <= 0)
        return UniqueIcon();
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(module, NameArgument(name), IMAGE_ICON, width, width, LR_DEFAULTCOLOR)));
}

// The largest image of the resource an icon was loaded from; null for an
// icon made in memory.
UniqueIcon LargestOfSameResource(HICON icon) {
    ICONINFOEXW info{};
    info.cbSize = sizeof info;
    if (!::GetIconInfoExW(icon, &info))
        return UniqueIcon();
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    if (!info.szModName[0] || (!info.szResName[0] && info.wResID == 0))
        return UniqueIcon();
    const UniqueModule module = OpenResources(info.szModName);
    if (!module)
        return UniqueIcon();
    const ResourceName name = info.szResName[0] ? ResourceName(std::wstring(info.szResName)) : ResourceName(info.wResID);
    return LoadLargestIcon(module.get(), name);
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) noexcept {
    try {
        auto& result = *reinterpret_cast<ResourceName*>(found);
        if (IS_INTRESOURCE(name))
            result = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        else
            result = std::wstring(name);
    } catch (...) {
        // Out of memory: no program icon.
    }
    return FALSE;
}

// The largest image of the program's first icon group.
UniqueIcon LargestProgramIcon(HWND window) {
    const std::wstring path = ProgramPathOfWindow(window);
    if (path.empty())
        return UniqueIcon();
    const UniqueModule module = OpenResources(path.c_str());
    if (!module)
        return UniqueIcon();
    ResourceName first = std::wstring();
    ::EnumResourceNamesW(module.get(), GroupIconType(), &TakeFirstName,
                         reinterpret_cast<LONG_PTR>(&first));
    if (const auto* text = std::get_if<std::wstring>(&first); text && text->empty())
        return UniqueIcon();
    return LoadLargestIcon(module.get(), first);
}

HICON AskLargeIcon(HWND window) {
    DWORD_PTR icon = 0;
    ::SendMessageTimeoutW(window, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kIconQueryTimeoutMs, &icon);
    return reinterpret_cast<HICON>(icon);
}

// Keeps the largest icon offered; of equal ones the first.
class LargestIcon {
public:
    void Offer(UniqueIcon icon) {
        const int width = IconWidth(icon.get());
        if (width > width_) {
            icon_ = std::move(icon);
            width_ = width;
        }
    }
    // A borrowed icon: a copy of it, and its resource's largest image.
    void OfferBorrowed(HICON icon) {
        if (!icon)
            return;
        Offer(UniqueIcon(::CopyIcon(icon)));
        Offer(LargestOfSameResource(icon));
    }
    UniqueIcon Take() { return std::move(icon_); }

private:
    UniqueIcon icon_;
    int width_ = 0;
};

}  // namespace

int LargestIconWidth(const BYTE* directory, std::size_t size) {
    if (!directory || size < kDirectoryHeader || WordAt(directory + 2) != 1)
        return 0;
    const std::size_t count = WordAt(directory + 4);
    if (count == 0 || size < kDirectoryHeader + count * kDirectoryEntry)
        return 0;
    int largest = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE stored = directory[kDirectoryHeader + i * kDirectoryEntry];
        largest = std::max(largest, stored == 0 ? 256 : static_cast<int>(stored));
    }
    return largest;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return 0;
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    if (color && ::GetObjectW(color.get(), sizeof bitmap, &bitmap))
        return bitmap.bmWidth;
    if (mask && ::GetObjectW(mask.get(), sizeof bitmap, &bitmap))
        return bitmap.bmWidth;
    return 0;
}

UniqueIcon ResourceImageOfSize(HICON icon, int size) {
    if (!icon || IconWidth(icon) >= size)
        return UniqueIcon();
    return UniqueIcon(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
}

UniqueIcon LargestIconOf(HWND window, HICON given) {
    LargestIcon largest;
    largest.OfferBorrowed(given);
    largest.OfferBorrowed(AskLargeIcon(window));
    largest.OfferBorrowed(reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON)));
    largest.Offer(LargestProgramIcon(window));
    return largest.Take();
}

}  // namespace kz
