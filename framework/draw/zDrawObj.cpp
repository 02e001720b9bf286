#include "framework/draw/zDrawObj.h"

#include "foundation/Archive.h"

namespace {

zStorable* CreateDrawObj() { return new zDrawObj; }

StorableClassRecord drawObjRecord = {0, "zDrawObj", sizeof(zDrawObj), &CreateDrawObj, nullptr};
StorableClassRegistrar drawObjRegistrar(drawObjRecord);

} // namespace

zDrawObj::~zDrawObj()
{
    ReplaceHandle(nullptr);
}

const StorableClassRecord* zDrawObj::ClassRecord() const { return &drawObjRecord; }

void zDrawObj::Serialize(Archive& archive)
{
    zStorable::Serialize(archive);
    if (archive.IsStoring())
        archive.WriteLong(flags_);
    else {
        // The handle held so far belongs to the old flags: let it go before they change.
        ReplaceHandle(nullptr);
        archive.ReadLong(flags_);
    }
}

void zDrawObj::ReplaceHandle(HGDIOBJ handle)
{
    if (handle_ && handle_ != handle && !IsStock())
        DeleteObject(handle_);
    handle_ = handle;
}
