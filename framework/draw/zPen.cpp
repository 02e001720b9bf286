#include "framework/draw/zPen.h"

#include "foundation/Archive.h"

namespace {

zStorable* CreatePen() { return new zPen; }

StorableClassRecord penRecord = {0, "zPen", sizeof(zPen), &CreatePen, nullptr};
StorableClassRegistrar penRegistrar(penRecord);

} // namespace

zPen::zPen(const Colour& colour, int style, int width) : style_(style), width_(width), colour_(colour)
{
    handle_ = ::CreatePen(style, width, colour.ToColorRef());
}

zPen::zPen(int stockId) : stockId_(stockId)
{
    flags_ = FlagStock;
    handle_ = GetStockObject(stockId);
}

zPen::zPen(HPEN handle)
{
    flags_ = FlagStock;
    handle_ = handle;
}

const StorableClassRecord* zPen::ClassRecord() const { return &penRecord; }

void zPen::Serialize(Archive& archive)
{
    zDrawObj::Serialize(archive);
    if (archive.IsStoring()) {
        if (IsStock())
            archive.WriteLong(stockId_);
        else
            archive.WriteLong(style_).WriteLong(width_).WriteColor(colour_.red, colour_.green, colour_.blue);
        return;
    }
    if (IsStock()) {
        archive.ReadLong(stockId_);
        handle_ = GetStockObject(stockId_);
        return;
    }
    archive.ReadLong(style_).ReadLong(width_).ReadColor(colour_.red, colour_.green, colour_.blue);
    colour_.flag = 0;
    ReplaceHandle(::CreatePen(style_, width_, colour_.ToColorRef()));
}
