// The per-process table of attached windows: a small fixed hash of ten
// buckets keyed by window handle. The caller holds the registry lock.
#pragma once

#include "trelmo/hook/GrowableArray.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class HookedWindow;

class WindowRegistry {
public:
    static constexpr std::size_t kBucketCount = 10;

    WindowRegistry();
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    HookedWindow* Find(HWND window) const;
    HookedWindow* Insert(std::unique_ptr<HookedWindow> record);
    // Takes the record out; null when the window has none.
    std::unique_ptr<HookedWindow> Remove(HWND window);

    std::size_t Count() const { return count_; }
    // The windows of one bucket, copied so the caller may remove them as it goes.
    std::vector<HWND> WindowsInBucket(std::size_t bucket) const;
    // The room of a bucket's array; 0 when the bucket has none.
    std::size_t BucketRoom(std::size_t bucket) const;

    static std::size_t BucketOf(HWND window);

private:
    using Bucket = GrowableArray<std::unique_ptr<HookedWindow>>;
    std::unique_ptr<Bucket> buckets_[kBucketCount];
    std::size_t count_ = 0;
};

}  // namespace kz
