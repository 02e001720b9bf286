#pragma once
// The hash table from window handles to the window objects that own them.

#include <windows.h>

#include <list>
#include <vector>

class WindowCL;

using WindowMapHashFunction = unsigned (*)(const HWND* handle);

// The application's hash: the handle value times 4, in unsigned 32-bit arithmetic.
unsigned WindowMapHash(const HWND* handle);

class WindowMap {
public:
    WindowMap(WindowMapHashFunction hash, unsigned bucketCount);
    WindowMap(const WindowMap&) = delete;
    WindowMap& operator=(const WindowMap&) = delete;

    // Enters the handle; answers the window it named before, 0 when none.
    WindowCL* Insert(HWND handle, WindowCL* window);
    // The window of the handle, 0 when the handle is not in the map.
    WindowCL* Find(HWND handle) const;
    // Takes the handle out; answers the window removed, 0 when none.
    WindowCL* Remove(HWND handle);

private:
    struct Entry {
        HWND handle;
        WindowCL* window;
    };

    unsigned BucketOf(HWND handle) const { return hash_(&handle) % static_cast<unsigned>(buckets_.size()); }

    WindowMapHashFunction hash_;
    std::vector<std::list<Entry>> buckets_;
};
