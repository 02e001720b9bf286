#pragma once
// The base of the storable drawing objects (pens, brushes, fonts, bitmaps): one GDI handle, owned unless the
// object is a stock object, which is never deleted.

#include "foundation/Storable.h"

#include <windows.h>

#include <cstdint>

class zDrawObj : public zStorable {
public:
    enum : int32_t { FlagStock = 1 };

    zDrawObj() = default;
    ~zDrawObj() override;
    zDrawObj(const zDrawObj&) = delete;
    zDrawObj& operator=(const zDrawObj&) = delete;

    const StorableClassRecord* ClassRecord() const override;
    // Stored form: flags (4 bytes).
    void Serialize(Archive& archive) override;

    HGDIOBJ Handle() const { return handle_; }
    int32_t Flags() const { return flags_; }
    bool IsStock() const { return (flags_ & FlagStock) != 0; }
    // Hands the handle on (to the clipboard); it is no longer deleted here.
    HGDIOBJ ReleaseHandle()
    {
        HGDIOBJ handle = handle_;
        handle_ = nullptr;
        return handle;
    }

protected:
    // Deletes the handle held so far (unless stock) and takes the new one.
    void ReplaceHandle(HGDIOBJ handle);

    HGDIOBJ handle_ = nullptr;
    int32_t flags_ = 0;
};
