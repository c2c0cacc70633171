#include "kz/settings/Ublacklist.h"

#include "common/Protocol.h"
#include "common/Multistring.h"
#include "kz/settings/Programkey.h"

#include <shellapi.h>

#include <algorithm>

namespace kz {

namespace {

bool IsSystemLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

std::size_t WideLengthOf(const std::string& text) {
    if (text.empty())
        return 0;
    return static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0));
}

HICON ExtractIconOf(const std::string& path) {
    // The shell may write the path of the file it took the icon from into
    // the buffer, which it expects to hold MAX_PATH characters.
    char buffer[MAX_PATH] = {};
    if (path.size() >= MAX_PATH)
        return nullptr;
    path.copy(buffer, path.size());
    WORD iconIndex = 0;
    return ::ExtractAssociatedIconA(::GetModuleHandleA(nullptr), buffer, &iconIndex);
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TBlackListItem::TBlackListItem(std::string path)
    : path_(std::move(path)),
      displayName_(BlacklistDisplayName(path_, IsSystemLeadByte)),
      icon_(ExtractIconOf(path_)),
      wideLength_(WideLengthOf(path_)) {}

bool TBlackList::Contains(const std::string& path) const {
    return std::any_of(items_.begin(), items_.end(), [&path](const auto& item) { return item->Path() == path; });
}

BlacklistValueSize TBlackList::StoredSize() const {
    BlacklistValueSize size;
    for (const auto& item : items_)
        size.AddEntry(item->Path().size(), item->WideLength());
    return size;
}

BlacklistAddResult TBlackList::Add(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return {nullptr, BlacklistRefusal::NotAPath};
    if (Contains(path))
        return {nullptr, BlacklistRefusal::AlreadyListed};
    BlacklistValueSize size = StoredSize();
    size.AddEntry(path.size(), WideLengthOf(path));
    if (!size.FitsBothReaders())
        return {nullptr, BlacklistRefusal::ListFull};
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
    char buffer[kBlacklistValueMaxBytes];
    const auto size = ReadProgramValue(kBlacklistValueA, reinterpret_cast<uint8_t*>(buffer), sizeof buffer);
    if (!size)
        return;
    ForEachMultiStringEntry(buffer, *size, [this](const char* entry, std::size_t length) {
        const std::string path(entry, length);
        if (IsExistingFile(path))
            Add(path);
        return true;
    });
}

bool TBlackList::Save() const {
    std::string value;
    for (const auto& item : items_) {
        value += item->Path();
        value += '\0';
    }
    value += '\0';
    return WriteProgramValue(kBlacklistValueA, REG_MULTI_SZ, reinterpret_cast<const uint8_t*>(value.data()),
                             static_cast<uint32_t>(value.size()));
}

}  // namespace kz
