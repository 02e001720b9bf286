#include "model/InfluenceArc.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/InfluenceDiagram.h"
#include "model/InfluenceNode.h"

#include <algorithm>

void ArcInfluenceRow::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(affectsProbabilities).WriteByte(affectsValues);
        archive.WriteShort(static_cast<int16_t>(influenceType)).WriteLong(targetState);
        return;
    }
    int16_t type = 0;
    archive.ReadByte(affectsProbabilities).ReadByte(affectsValues).ReadShort(type).ReadLong(targetState);
    influenceType = type;
}

bool RowFlagsCover(ArcRowFlags have, ArcRowFlags need, bool allowTypes)
{
    bool covers = !(need.probabilities && !have.probabilities) && !(need.values && !have.values);
    if (!covers && need.types && have.types && allowTypes)
        covers = true;
    return covers;
}

void ArcSettings::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(showComment).WriteShort(hidden);
        StoreString(archive, comment);
        archive.WriteShort(static_cast<int16_t>(rows.size()));
        for (ArcInfluenceRow& row : rows)
            row.Serialize(archive);
        return;
    }
    archive.ReadShort(showComment).ReadShort(hidden);
    if (version.IsNewerThan(KnownVersion::k3_0_Beta4) && version.IsOlderThan(KnownVersion::k3_0_Beta9)) {
        int16_t discarded = 0;
        archive.ReadShort(discarded);
    }
    LoadString(archive, comment);
    int16_t count = 0;
    archive.ReadShort(count);
    // A row takes 11 bytes: a count the stream cannot hold is refused before anything is allocated.
    if (count < 0 || static_cast<uint32_t>(count) * 11 > archive.BytesLeft()) {
        archive.SetState(Archive::StateIoFailure);
        return;
    }
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        rows.emplace_back();
        rows.back().Serialize(archive);
    }
}

InfluenceArc::InfluenceArc(InfluenceNodeRecord* newTail, InfluenceNodeRecord* newHead)
    : document(newTail ? newTail->document : nullptr)
{
    SetEnds(newTail, newHead);
}

InfluenceNodeRecord* InfluenceArc::EffectiveTail() const
{
    return tail ? tail->Effective() : nullptr;
}

ArcRowFlags InfluenceArc::RowFlags() const
{
    // One row per state of the tail as it is now: a state that has no row yet (outcomes given after the
    // arc was drawn) counts as a new row, a row past the last state not at all.
    const InfluenceNodeRecord* from = EffectiveTail();
    std::vector<ArcInfluenceRow> rows = settings.rows;
    if (from != nullptr)
        rows.resize(static_cast<size_t>(from->OutcomeCount()), NewRow());
    ArcRowFlags flags;
    for (const ArcInfluenceRow& row : rows) {
        flags.probabilities = flags.probabilities || row.affectsProbabilities != 0;
        flags.values = flags.values || row.affectsValues != 0;
        flags.types = flags.types || row.influenceType != ArcInfluenceRow::Symmetric;
    }
    if (head && head->kind == InfluenceKind::Value)
        flags.values = true;
    return flags;
}

bool InfluenceArc::HasSkipAll() const
{
    return std::any_of(settings.rows.begin(), settings.rows.end(),
                       [](const ArcInfluenceRow& row) { return row.influenceType == ArcInfluenceRow::SkipAll; });
}

void InfluenceArc::SetEnds(InfluenceNodeRecord* newTail, InfluenceNodeRecord* newHead)
{
    if (tail && head) {
        tail->RemoveArcOut(this);
        head->RemoveArcIn(this);
    }
    tail = newTail;
    head = newHead;
    if (!tail || !head)
        return;
    tailCentre = tail->NodeCentre();
    tail->AddArcOut(this);
    tail->UpdateSpecialArcFlag();
    headCentre = head->NodeCentre();
    head->AddArcIn(this);
    middle = DiagramPoint{(tailCentre.x + headCentre.x) / 2, (tailCentre.y + headCentre.y) / 2};
    curved = 0;
    Recompute();
    SyncRows();
}

ArcInfluenceRow InfluenceArc::NewRow() const
{
    ArcInfluenceRow row;
    if (head && (head->kind == InfluenceKind::Decision || head->kind == InfluenceKind::Value))
        row.affectsProbabilities = 0;
    return row;
}

void InfluenceArc::SyncRows()
{
    const InfluenceNodeRecord* from = EffectiveTail();
    const size_t states = from ? static_cast<size_t>(from->OutcomeCount()) : 0;
    settings.rows.resize(states, NewRow());
    if (head && (head->kind == InfluenceKind::Decision || head->kind == InfluenceKind::Value))
        for (ArcInfluenceRow& row : settings.rows)
            row.affectsProbabilities = 0;
}

void InfluenceArc::MoveTail(DiagramPoint delta)
{
    tailCentre.x += delta.x;
    tailCentre.y += delta.y;
    middle.x += delta.x / 2;
    middle.y += delta.y / 2;
    Recompute();
}

void InfluenceArc::MoveHead(DiagramPoint delta)
{
    headCentre.x += delta.x;
    headCentre.y += delta.y;
    middle.x += delta.x / 2;
    middle.y += delta.y / 2;
    Recompute();
}

void InfluenceArc::Straighten()
{
    middle = DiagramPoint{(tailCentre.x + headCentre.x) / 2, (tailCentre.y + headCentre.y) / 2};
    curved = 0;
    commentOffset = DiagramPoint{};
    Recompute();
}

namespace {

bool Contains(const LogicalRect& rect, DiagramPoint point)
{
    return rect.left <= point.x && point.x <= rect.right && rect.top <= point.y && point.y <= rect.bottom;
}

} // namespace

void InfluenceArc::MoveMiddle(DiagramPoint point)
{
    if (!tail || !head || Contains(tail->NodeRect(), point) || Contains(head->NodeRect(), point))
        return;
    middle = point;
    curved = 1;
    ComputeEnds();
}

void InfluenceArc::Recompute()
{
    ComputeEnds();
    ComputeCommentBox();
}

void InfluenceArc::ComputeEnds()
{
    if (!tail || !head)
        return;
    start = BoundaryPoint(tail->kind, tailCentre, middle, tail->NodeRect());
    end = BoundaryPoint(head->kind, headCentre, middle, head->NodeRect());
}

void InfluenceArc::ComputeCommentBox()
{
    if (!document || !document->measure)
        return;
    const bool belowRight = (headCentre.x - tailCentre.x) * (headCentre.y - tailCentre.y) <= 0;
    float width = 0;
    float height = 0;
    document->measure->TextSize(settings.comment.Text(), document->prefs.arcFont, width, height);
    const float dy = belowRight ? kCommentGap : -(kCommentGap + height);
    const float x = middle.x + kCommentGap + commentOffset.x;
    const float y = middle.y + dy + commentOffset.y;
    commentBox = LogicalRect{x - kCommentMargin, y - kCommentMargin, x + width + kCommentMargin,
                             y + height + kCommentMargin};
}
