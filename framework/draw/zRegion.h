#pragma once
// A GDI region for hit tests and invalidation, and four storable shapes that remember what they were made
// from, so that they can be written to an archive and rebuilt when read. The base stores nothing of the
// region itself.

#include "foundation/Storable.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class zRegion : public zStorable {
public:
    // An empty region.
    zRegion();
    // Adopts a region handle; it is deleted with the object.
    explicit zRegion(HRGN handle);
    ~zRegion() override;
    zRegion(const zRegion&) = delete;
    zRegion& operator=(const zRegion&) = delete;

    const StorableClassRecord* ClassRecord() const override;

    HRGN Handle() const { return handle_; }
    void Union(const zRegion& other);
    void Intersect(const zRegion& other);
    // This minus the other.
    void Subtract(const zRegion& other);
    // Moves the region by (-x, -y): against the given amount.
    void Offset(int x, int y);
    bool Contains(int x, int y) const;
    bool IntersectsRect(const RECT& rect) const;
    void Bounds(RECT& rect) const;

protected:
    // Deletes the region held so far and takes the new one.
    void ReplaceHandle(HRGN handle);

private:
    HRGN handle_;
};

class zRectRegion : public zRegion {
public:
    zRectRegion() = default;
    explicit zRectRegion(const RECT& rect);
    const StorableClassRecord* ClassRecord() const override;
    // Stored form: the rectangle (left, top, right, bottom; 4 bytes each).
    void Serialize(Archive& archive) override;

private:
    RECT rect_{0, 0, 0, 0};
};

class zEllipticRegion : public zRegion {
public:
    zEllipticRegion() = default;
    explicit zEllipticRegion(const RECT& bounds);
    const StorableClassRecord* ClassRecord() const override;
    // Stored form: the bounding rectangle (left, top, right, bottom; 4 bytes each).
    void Serialize(Archive& archive) override;

private:
    RECT rect_{0, 0, 0, 0};
};

class zPolygonRegion : public zRegion {
public:
    zPolygonRegion() = default;
    // Keeps a copy of the points, so the caller's array need not outlive the region.
    zPolygonRegion(const POINT* points, int count, int fillMode);
    const StorableClassRecord* ClassRecord() const override;
    // Stored form: count (4), fill mode (4, ALTERNATE or WINDING), then count points (x, y; 4 bytes each).
    void Serialize(Archive& archive) override;

private:
    std::vector<POINT> points_;
    int32_t fillMode_ = ALTERNATE;
};

class zRoundRectRegion : public zRegion {
public:
    zRoundRectRegion() = default;
    zRoundRectRegion(const RECT& rect, int cornerWidth, int cornerHeight);
    const StorableClassRecord* ClassRecord() const override;
    // Stored form: the rectangle (4 x 4 bytes), then the corner ellipse's width and height as a point.
    void Serialize(Archive& archive) override;

private:
    RECT rect_{0, 0, 0, 0};
    int32_t cornerWidth_ = 0;
    int32_t cornerHeight_ = 0;
};
