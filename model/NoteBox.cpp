#include "model/NoteBox.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/TreeDocument.h"

const FontRecord DefaultNoteFont{};

namespace {

bool Contains(const LogicalRect& rect, float x, float y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

// The hit square of a handle centred on (cx, cy): from 0.03 before to 0.031 after the corner.
bool InHandleSquare(float cx, float cy, float x, float y)
{
    return x >= cx - 0.03f && x <= cx + 0.031f && y >= cy - 0.03f && y <= cy + 0.031f;
}

}  // namespace

NoteBox::NoteBox() : font(DefaultNoteFont) {}

NoteBox::NoteBox(const LogicalRect& textRect, TreeDocument* document)
    : font(document ? document->NoteFont : DefaultNoteFont), ownerTree(document)
{
    SetRect(textRect.left, textRect.top, textRect.right, textRect.bottom);
}

LogicalRect NoteBox::GetTextRect() const
{
    return LogicalRect{frame.left + kMargin, frame.top + kMargin, frame.right - kMargin, frame.bottom - kMargin};
}

void NoteBox::SetRect(float left, float top, float right, float bottom)
{
    frame = LogicalRect{left - kMargin, top - kMargin, right + kMargin, bottom + kMargin};
}

LogicalRect NoteBox::GetInteriorRect() const
{
    const float inset = 2 * kMargin;
    return LogicalRect{frame.left + inset, frame.top + inset, frame.right - inset, frame.bottom - inset};
}

void NoteBox::Offset(float dx, float dy)
{
    frame.left += dx;
    frame.right += dx;
    frame.top += dy;
    frame.bottom += dy;
}

int NoteBox::BorderStyle() const
{
    return ownerTree ? ownerTree->DisplayPrefs.NoteBoxBorderKey : 1;
}

int NoteBox::HitTest(float x, float y) const
{
    if (!Contains(frame, x, y))
        return NoteBoxMissed;
    if (!HandleAt(x, y).IsNone())
        return NoteBoxCorner;
    if (Contains(GetInteriorRect(), x, y))
        return NoteBoxInterior;
    return NoteBoxBorder;
}

NoteBoxHandle NoteBox::HandleAt(float x, float y) const
{
    const LogicalRect textRect = GetTextRect();
    if (InHandleSquare(textRect.left, textRect.top, x, y))
        return NoteBoxHandle{0, 0};
    if (InHandleSquare(textRect.right, textRect.top, x, y))
        return NoteBoxHandle{1, 0};
    if (InHandleSquare(textRect.right, textRect.bottom, x, y))
        return NoteBoxHandle{1, 1};
    if (InHandleSquare(textRect.left, textRect.bottom, x, y))
        return NoteBoxHandle{0, 1};
    return NoteBoxHandle{22, 22};
}

void NoteBox::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        VersionRecord version;
        version.Serialize(archive);
        archive.WriteFloat(frame.left).WriteFloat(frame.top).WriteFloat(frame.right).WriteFloat(frame.bottom);
        font.Serialize(archive);
        StoreString(archive, text);
        archive.WriteShort(static_cast<int16_t>(kEndMarker));
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    archive.ReadFloat(frame.left).ReadFloat(frame.top).ReadFloat(frame.right).ReadFloat(frame.bottom);
    if (!archive.Failed() && !IsPlaceable(frame, kFarthestTreePlace))
        archive.SetFormatError(Archive::FormatPlaceTooFar);
    font.Serialize(archive);
    LoadString(archive, text);
    if (archive.HasFormatError() || version.IsOlderThan(KnownVersion::k2_6))
        return;
    uint16_t marker = 0;
    archive.ReadShort(marker);
    if (marker != kEndMarker)
        archive.SetFormatError(kFormatError);
}
