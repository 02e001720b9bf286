#include "framework/draw/zRegion.h"

#include "foundation/Archive.h"

namespace {

template <class Region>
zStorable* Create()
{
    return new Region;
}

StorableClassRecord regionRecord = {0, "zRegion", sizeof(zRegion), &Create<zRegion>, nullptr};
StorableClassRecord rectRecord = {0, "zRectRegion", sizeof(zRectRegion), &Create<zRectRegion>, nullptr};
StorableClassRecord ellipticRecord = {0, "zEllipticRegion", sizeof(zEllipticRegion), &Create<zEllipticRegion>,
                                      nullptr};
StorableClassRecord polygonRecord = {0, "zPolygonRegion", sizeof(zPolygonRegion), &Create<zPolygonRegion>, nullptr};
StorableClassRecord roundRectRecord = {0, "zRoundRectRegion", sizeof(zRoundRectRegion), &Create<zRoundRectRegion>,
                                       nullptr};
StorableClassRegistrar regionRegistrar(regionRecord);
StorableClassRegistrar rectRegistrar(rectRecord);
StorableClassRegistrar ellipticRegistrar(ellipticRecord);
StorableClassRegistrar polygonRegistrar(polygonRecord);
StorableClassRegistrar roundRectRegistrar(roundRectRecord);

void SerializeRect(Archive& archive, RECT& rect)
{
    if (archive.IsStoring()) {
        archive.WriteRect(rect.left, rect.top, rect.right, rect.bottom);
        return;
    }
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    archive.ReadRect(left, top, right, bottom);
    rect = RECT{left, top, right, bottom};
}

} // namespace

zRegion::zRegion() : handle_(CreateRectRgn(0, 0, 0, 0)) {}

zRegion::zRegion(HRGN handle) : handle_(handle) {}

zRegion::~zRegion()
{
    ReplaceHandle(nullptr);
}

void zRegion::ReplaceHandle(HRGN handle)
{
    if (handle_ && handle_ != handle)
        DeleteObject(handle_);
    handle_ = handle;
}

const StorableClassRecord* zRegion::ClassRecord() const { return &regionRecord; }

void zRegion::Union(const zRegion& other) { CombineRgn(handle_, handle_, other.handle_, RGN_OR); }
void zRegion::Intersect(const zRegion& other) { CombineRgn(handle_, handle_, other.handle_, RGN_AND); }
void zRegion::Subtract(const zRegion& other) { CombineRgn(handle_, handle_, other.handle_, RGN_DIFF); }
void zRegion::Offset(int x, int y) { OffsetRgn(handle_, -x, -y); }
bool zRegion::Contains(int x, int y) const { return handle_ && PtInRegion(handle_, x, y); }
bool zRegion::IntersectsRect(const RECT& rect) const { return handle_ && RectInRegion(handle_, &rect); }

void zRegion::Bounds(RECT& rect) const
{
    rect = RECT{0, 0, 0, 0};
    if (handle_)
        GetRgnBox(handle_, &rect);
}

zRectRegion::zRectRegion(const RECT& rect) : zRegion(CreateRectRgnIndirect(&rect)), rect_(rect) {}

const StorableClassRecord* zRectRegion::ClassRecord() const { return &rectRecord; }

void zRectRegion::Serialize(Archive& archive)
{
    zRegion::Serialize(archive);
    SerializeRect(archive, rect_);
    if (archive.IsLoading())
        ReplaceHandle(CreateRectRgnIndirect(&rect_));
}

zEllipticRegion::zEllipticRegion(const RECT& bounds) : zRegion(CreateEllipticRgnIndirect(&bounds)), rect_(bounds) {}

const StorableClassRecord* zEllipticRegion::ClassRecord() const { return &ellipticRecord; }

void zEllipticRegion::Serialize(Archive& archive)
{
    zRegion::Serialize(archive);
    SerializeRect(archive, rect_);
    if (archive.IsLoading())
        ReplaceHandle(CreateEllipticRgnIndirect(&rect_));
}

zPolygonRegion::zPolygonRegion(const POINT* points, int count, int fillMode)
    : zRegion(CreatePolygonRgn(points, count, fillMode)), points_(points, points + (count > 0 ? count : 0)),
      fillMode_(fillMode)
{
}

const StorableClassRecord* zPolygonRegion::ClassRecord() const { return &polygonRecord; }

void zPolygonRegion::Serialize(Archive& archive)
{
    zRegion::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteLong(static_cast<int32_t>(points_.size())).WriteLong(fillMode_);
        for (const POINT& point : points_)
            archive.WritePoint(point.x, point.y);
        return;
    }
    int32_t count = 0;
    archive.ReadLong(count).ReadLong(fillMode_);
    // A count that the stream cannot hold is refused before anything is allocated for it.
    if (count < 0 || static_cast<uint32_t>(count) > archive.BytesLeft() / 8) {
        archive.SetState(Archive::StateIoFailure);
        count = 0;
    }
    points_.assign(static_cast<size_t>(count), POINT{0, 0});
    for (POINT& point : points_) {
        int32_t x = 0, y = 0;
        archive.ReadPoint(x, y);
        point = POINT{x, y};
    }
    ReplaceHandle(points_.empty() ? CreateRectRgn(0, 0, 0, 0)
                                  : CreatePolygonRgn(points_.data(), count, fillMode_));
}

zRoundRectRegion::zRoundRectRegion(const RECT& rect, int cornerWidth, int cornerHeight)
    : zRegion(CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight)),
      rect_(rect), cornerWidth_(cornerWidth), cornerHeight_(cornerHeight)
{
}

const StorableClassRecord* zRoundRectRegion::ClassRecord() const { return &roundRectRecord; }

void zRoundRectRegion::Serialize(Archive& archive)
{
    zRegion::Serialize(archive);
    SerializeRect(archive, rect_);
    if (archive.IsStoring()) {
        archive.WritePoint(cornerWidth_, cornerHeight_);
        return;
    }
    archive.ReadPoint(cornerWidth_, cornerHeight_);
    ReplaceHandle(
        CreateRoundRectRgn(rect_.left, rect_.top, rect_.right, rect_.bottom, cornerWidth_, cornerHeight_));
}
