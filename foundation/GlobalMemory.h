#pragma once
// Scoped owners for global memory blocks: a block freed with its owner unless handed on, and a lock that is
// undone when its scope ends. The clipboard, device-independent bitmaps and picture files move their bytes
// in such blocks.

#include <windows.h>

class GlobalBlock {
public:
    // A new block of the flags and size (null when it cannot be had).
    GlobalBlock(UINT flags, SIZE_T size) : block_(GlobalAlloc(flags, size)) {}
    // Takes over a block made elsewhere.
    explicit GlobalBlock(HGLOBAL block) : block_(block) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL Get() const { return block_; }
    // Hands the block on (to the clipboard or the caller); it is no longer freed here.
    HGLOBAL Release()
    {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HGLOBAL block_;
};

class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockScope()
    {
        if (bytes_)
            GlobalUnlock(block_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    // The locked bytes, null when the block could not be locked.
    void* Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};
