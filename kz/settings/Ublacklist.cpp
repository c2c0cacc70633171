#include "kz/settings/Ublacklist.h"

#include "common/Blacklistformat.h"
#include "common/Multistring.h"
#include "common/Protocol.h"
#include "common/RegistryValue.h"
#include "kz/settings/Programkey.h"

#include <shellapi.h>

#include <algorithm>

namespace kz {

namespace {

HICON ExtractIconOf(const std::wstring& path) {
    // The shell may write the path of the file it took the icon from into
    // the buffer, which it expects to hold MAX_PATH characters.
    wchar_t buffer[MAX_PATH] = {};
    if (path.size() >= MAX_PATH)
        return nullptr;
    path.copy(buffer, path.size());
    WORD iconIndex = 0;
    return ::ExtractAssociatedIconW(::GetModuleHandleW(nullptr), buffer, &iconIndex);
}

}  // namespace

TBlackListItem::TBlackListItem(std::wstring path)
    : path_(std::move(path)), displayName_(BlacklistDisplayName(path_)), icon_(ExtractIconOf(path_)) {}

bool TBlackList::Contains(const std::wstring& path) const {
    return std::any_of(items_.begin(), items_.end(), [&path](const auto& item) { return item->Path() == path; });
}

BlacklistAddResult TBlackList::Add(const std::wstring& path) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return {nullptr, BlacklistRefusal::NotAPath};
    if (Contains(path))
        return {nullptr, BlacklistRefusal::AlreadyListed};
    items_.push_back(std::make_unique<TBlackListItem>(path));
    return {items_.back().get(), BlacklistRefusal::None};
}

void TBlackList::Delete(int index) {
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

TBlackListItem* TBlackList::Item(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].get() : nullptr;
}

void TBlackList::Load() {
    Clear();
    const auto value = ReadWholeProgramValue<wchar_t>(kBlacklistValueW);
    if (!value)
        return;
    ForEachMultiStringEntry(value->data(), value->size(), [this](const wchar_t* entry, std::size_t length) {
        Add(std::wstring(entry, length));
        return true;
    });
}

bool TBlackList::Save() const {
    std::wstring value;
    for (const auto& item : items_) {
        value += item->Path();
        value += L'\0';
    }
    value += L'\0';
    return WriteProgramValue(kBlacklistValueW, REG_MULTI_SZ, reinterpret_cast<const uint8_t*>(value.data()),
                             static_cast<uint32_t>(value.size() * sizeof(wchar_t)));
}

}  // namespace kz
