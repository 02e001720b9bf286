#include "framework/window/WindowMap.h"

#include <cstdint>

unsigned WindowMapHash(const HWND* handle)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(*handle)) * 4u;
}

WindowMap::WindowMap(WindowMapHashFunction hash, unsigned bucketCount)
    : hash_(hash), buckets_(bucketCount ? bucketCount : 1)
{
}

WindowCL* WindowMap::Insert(HWND handle, WindowCL* window)
{
    WindowCL* previous = Remove(handle);
    buckets_[BucketOf(handle)].push_back(Entry{handle, window});
    return previous;
}

WindowCL* WindowMap::Find(HWND handle) const
{
    WindowCL* found = nullptr;
    for (const Entry& entry : buckets_[BucketOf(handle)]) {
        if (entry.handle == handle)
            found = entry.window;
    }
    return found;
}

WindowCL* WindowMap::Remove(HWND handle)
{
    WindowCL* removed = nullptr;
    std::list<Entry>& bucket = buckets_[BucketOf(handle)];
    for (auto it = bucket.begin(); it != bucket.end();) {
        if (it->handle == handle) {
            removed = it->window;
            it = bucket.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}
