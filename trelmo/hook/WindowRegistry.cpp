#include "trelmo/hook/WindowRegistry.h"

#include "trelmo/hook/HookedWindow.h"

namespace kz {

WindowRegistry::WindowRegistry() = default;
WindowRegistry::~WindowRegistry() = default;

std::size_t WindowRegistry::BucketOf(HWND window) {
    return reinterpret_cast<UINT_PTR>(window) % kBucketCount;
}

HookedWindow* WindowRegistry::Find(HWND window) const {
    const Bucket* bucket = buckets_[BucketOf(window)].get();
    if (bucket)
        for (const auto& record : *bucket)
            if (record->Window() == window)
                return record.get();
    return nullptr;
}

HookedWindow* WindowRegistry::Insert(std::unique_ptr<HookedWindow> record) {
    std::unique_ptr<Bucket>& bucket = buckets_[BucketOf(record->Window())];
    if (!bucket)
        bucket = std::make_unique<Bucket>(1);
    HookedWindow* inserted = record.get();
    bucket->Append(std::move(record));
    ++count_;
    return inserted;
}

std::unique_ptr<HookedWindow> WindowRegistry::Remove(HWND window) {
    std::unique_ptr<Bucket>& bucket = buckets_[BucketOf(window)];
    if (!bucket)
        return nullptr;
    for (std::size_t i = 0; i < bucket->Count(); ++i) {
        if ((*bucket)[i]->Window() != window)
            continue;
        std::unique_ptr<HookedWindow> record = bucket->RemoveAt(i);
        --count_;
        if (bucket->Empty())
            bucket.reset();
        return record;
    }
    return nullptr;
}

std::vector<HWND> WindowRegistry::WindowsInBucket(std::size_t bucket) const {
    std::vector<HWND> windows;
    if (buckets_[bucket])
        for (const auto& record : *buckets_[bucket])
            windows.push_back(record->Window());
    return windows;
}

std::size_t WindowRegistry::BucketRoom(std::size_t bucket) const {
    return buckets_[bucket] ? buckets_[bucket]->Room() : 0;
}

}  // namespace kz
