// The blacklist: the full paths of the programs whose windows never get the
// added caption buttons, as the options dialog edits them and as they are
// stored in the registry value "Blacklist" (a multi-string, in list order).
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace kz {

class TBlackListItem {
public:
    explicit TBlackListItem(std::wstring path);

    const std::wstring& Path() const { return path_; }
    const std::wstring& DisplayName() const { return displayName_; }
    // The file's associated icon; null when none could be extracted.
    HICON Icon() const { return icon_.get(); }

private:
    std::wstring path_;
    std::wstring displayName_;
    UniqueIcon icon_;
};

// Why Add did not take a path.
enum class BlacklistRefusal {
    None,
    AlreadyListed,  // an entry has exactly this path
    NotAPath,       // empty, or holding a zero character that would split the stored value
};

struct BlacklistAddResult {
    TBlackListItem* Item;  // the new entry; null when refused
    BlacklistRefusal Refusal;
};

// An ordered list that owns its entries; paths are unique under exact,
// letter-case-sensitive comparison. Order is the order of addition.
class TBlackList {
public:
    bool Contains(const std::wstring& path) const;
    BlacklistAddResult Add(const std::wstring& path);
    // Destroys the entry at index and closes the gap; other indexes do nothing.
    void Delete(int index);
    // The entry at index; null outside the list.
    TBlackListItem* Item(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

    // Replaces the contents with the stored list, read whole whatever its
    // size. Every stored path is kept, whether or not its file exists now: a
    // program on a drive that is absent today stays excluded.
    void Load();
    // Stores the contents; returns whether the registry accepted them.
    bool Save() const;

private:
    std::vector<std::unique_ptr<TBlackListItem>> items_;
};

}  // namespace kz
