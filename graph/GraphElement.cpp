#include "graph/GraphElement.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <algorithm>

void GraphElement::Measure(Display&)
{
    rect.right = 0.125f;
    rect.bottom = 0.125f;
}

void GraphElement::Fit(Display& display)
{
    const float left = rect.left;
    const float top = rect.top;
    Measure(display);
    rect.right += left;
    rect.bottom += top;
    rect.left = left;
    rect.top = top;
}

void GraphElement::MoveBy(float dx, float dy)
{
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

bool RectsMeet(const LogicalRect& a, const LogicalRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

LogicalRect RectUnion(const LogicalRect& a, const LogicalRect& b)
{
    return LogicalRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                       std::max(a.bottom, b.bottom)};
}

void SerializeElementRect(Archive& archive, LogicalRect& rect)
{
    float* sides[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (float* side : sides)
        archive.IsStoring() ? archive.WriteFloat(*side) : archive.ReadFloat(*side);
    if (archive.IsLoading() && !archive.Failed() && !IsPlaceable(rect, kFarthestPagePlace))
        archive.SetFormatError(Archive::FormatPlaceTooFar);
}

bool SerializeElementHead(Archive& archive, VersionRecord& version, LogicalRect& rect)
{
    if (archive.Failed())
        return false;
    version.Serialize(archive);
    SerializeElementRect(archive, rect);
    return true;
}
