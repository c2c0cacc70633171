// The blacklist: the full paths of the programs whose windows never get the
// added caption buttons, as the options dialog edits them and as they are
// stored in the registry value "Blacklist" (a multi-string, in list order).
#pragma once

#include "common/Handles.h"
#include "common/Blacklistformat.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace kz {

class TBlackListItem {
public:
    explicit TBlackListItem(std::string path);

    const std::string& Path() const { return path_; }
    const std::string& DisplayName() const { return displayName_; }
    // The file's associated icon; null when none could be extracted.
    HICON Icon() const { return icon_.get(); }
    // The length of Path in UTF-16 characters, as the hook library reads it.
    std::size_t WideLength() const { return wideLength_; }

private:
    std::string path_;
    std::string displayName_;
    UniqueIcon icon_;
    std::size_t wideLength_;
};

// Why Add did not take a path, so that the options dialog can tell the user.
enum class BlacklistRefusal {
    None,
    AlreadyListed,  // an entry has exactly this path
    ListFull,       // the stored value would outgrow what the readers accept
    NotAPath,       // empty, or holding a zero byte that would split the stored value
};

struct BlacklistAddResult {
    TBlackListItem* Item;  // the new entry; null when refused
    BlacklistRefusal Refusal;
};

// An ordered list that owns its entries; paths are unique under exact,
// letter-case-sensitive comparison. Order is the order of addition.
class TBlackList {
public:
    bool Contains(const std::string& path) const;
    BlacklistAddResult Add(const std::string& path);
    // Destroys the entry at index and closes the gap; other indexes do nothing.
    void Delete(int index);
    // The entry at index; null outside the list.
    TBlackListItem* Item(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

    // Replaces the contents with the stored list, keeping only the paths of
    // files that exist now.
    void Load();
    // Stores the contents; returns whether the registry accepted them.
    bool Save() const;

private:
    BlacklistValueSize StoredSize() const;

    std::vector<std::unique_ptr<TBlackListItem>> items_;
};

}  // namespace kz
