#include "model/TreeArrow.h"

#include "foundation/Archive.h"
#include "foundation/LogicalRect.h"
#include "foundation/VersionRecord.h"

namespace {
constexpr uint8_t kArrowMarker = 0x44;
}

void TreeArrow::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(kArrowMarker);
        archive.WriteFloat(tailX).WriteFloat(tailY).WriteFloat(headX).WriteFloat(headY);
        return;
    }
    uint8_t marker = 0;
    archive.ReadByte(marker);
    if (marker != kArrowMarker) {
        archive.SetFormatError(FormatBadArrow);
        return;
    }
    archive.ReadFloat(tailX).ReadFloat(tailY).ReadFloat(headX).ReadFloat(headY);
    if (!archive.Failed() && !IsPlaceable(LogicalRect{tailX, tailY, headX, headY}, kFarthestTreePlace))
        archive.SetFormatError(Archive::FormatPlaceTooFar);
}

void* TreeArrowList::LoadItem(Archive& archive)
{
    auto* arrow = new TreeArrow;
    arrow->Serialize(archive);
    return arrow;
}
