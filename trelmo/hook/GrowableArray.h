// The library's growable array: starts with a small room and grows by eight
// places at a time, which suits lists that rarely hold more than a few items.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace kz {

template <typename T>
class GrowableArray {
public:
    explicit GrowableArray(std::size_t initialRoom) { items_.reserve(initialRoom); }

    void Append(T item) {
        if (items_.size() == items_.capacity())
            items_.reserve(items_.size() + 8);
        items_.push_back(std::move(item));
    }
    // Removes the item at index, closing the gap; the later items move down.
    T RemoveAt(std::size_t index) {
        T item = std::move(items_[index]);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        return item;
    }
    // Hands the items over and leaves the array empty.
    std::vector<T> TakeAll() { return std::exchange(items_, std::vector<T>()); }

    std::size_t Count() const { return items_.size(); }
    std::size_t Room() const { return items_.capacity(); }
    bool Empty() const { return items_.empty(); }
    T& operator[](std::size_t i) { return items_[i]; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<T> items_;
};

}  // namespace kz
