#pragma once
// An influence between two nodes of a diagram: the tail influences the head. The arc keeps its geometry on
// the page (straight, or curved through a movable middle point), an optional comment in a box beside it and
// one row per state of the tail saying how that state influences the head.

#include "foundation/LogicalRect.h"
#include "foundation/zString.h"

#include <cstdint>
#include <vector>

class Archive;
class InfluenceDocument;
class InfluenceNodeRecord;

// A point of the diagram in logical units (inches).
struct DiagramPoint {
    float x = 0;
    float y = 0;
};

// What a tail state does to the head.
struct ArcInfluenceRow {
    enum Type : int32_t { Symmetric = 0, Force = 1, Eliminate = 2, Skip = 3, SkipAll = 4 };

    // version record, affectsProbabilities (byte), affectsValues (byte), influenceType (i16, sign-extended
    // when read), targetState (i32).
    void Serialize(Archive& archive);

    uint8_t affectsProbabilities = 1;
    uint8_t affectsValues = 1;
    int32_t influenceType = Symmetric;
    // The head's state that "Force >" and "Elim >" name.
    int32_t targetState = 0;
};

// The summary of rows: any affects probabilities, any affects values, any has a type other than symmetric.
struct ArcRowFlags {
    bool probabilities = false;
    bool values = false;
    bool types = false;
};

// `have` covers `need` when it has probabilities and values wherever `need` asks for them; with
// allowTypes a type byte in all three covers as well.
bool RowFlagsCover(ArcRowFlags have, ArcRowFlags need, bool allowTypes);

struct ArcSettings {
    // Stored form:
    //   version record                                  3 bytes
    //   showComment, hidden                             2 x i16
    //   one i16, discarded    only from versions after 3.0 beta 4 and before 3.0 beta 9
    //   comment                                         stored string
    //   row count, rows                                 i16, then each row
    // Reading appends to the rows; a count the stream cannot hold stops it (state 2).
    void Serialize(Archive& archive);

    zString comment;
    int16_t showComment = 0;
    // The arc influences nothing: drawn grey, and left out as the preferences say.
    int16_t hidden = 0;
    std::vector<ArcInfluenceRow> rows;
};

class InfluenceArc {
public:
    // The comment box's place beside the middle, and the margin around the text.
    static constexpr float kCommentGap = 0.08f;
    static constexpr float kCommentMargin = 0.03f;

    // An arc being read: no ends yet.
    InfluenceArc() = default;
    // A new arc of the tail's document between the two nodes (SetEnds).
    InfluenceArc(InfluenceNodeRecord* tail, InfluenceNodeRecord* head);
    InfluenceArc(const InfluenceArc&) = delete;
    InfluenceArc& operator=(const InfluenceArc&) = delete;

    // The tail itself, or its master when it is a clone.
    InfluenceNodeRecord* EffectiveTail() const;
    // The rows' summary over the tail's states, a state without a row as a new row; values also when the
    // head (as stored) is a value node.
    ArcRowFlags RowFlags() const;
    // The row a new state of the tail takes: it affects both, but never the probabilities of a decision or
    // value node.
    ArcInfluenceRow NewRow() const;
    bool HasSkipAll() const;

    // Detaches from the old ends, attaches to the new ones, straightens the arc between their centres and
    // keeps the rows in step with the tail's states. With either end null only the ends are stored.
    void SetEnds(InfluenceNodeRecord* newTail, InfluenceNodeRecord* newHead);
    // One row per state of the effective tail (new rows affect both); rows into a decision or value node
    // never affect probabilities.
    void SyncRows();
    // An end's node moved by delta: the middle follows by half of it.
    void MoveTail(DiagramPoint delta);
    void MoveHead(DiagramPoint delta);
    // Straight again, the middle halfway between the centres, the comment in its own place.
    void Straighten();
    // The middle moves to the point and the arc curves, unless the point lies in either node.
    void MoveMiddle(DiagramPoint point);
    // The end points on the nodes' outlines (each aimed at the middle), then the comment box.
    void Recompute();
    void ComputeEnds();
    // The comment measured in the arc font of the document's preferences, below right of the middle (above
    // right when the arc runs down to the right or up to the left), moved by the comment offset and grown by
    // the margin. Unchanged without a document that measures.
    void ComputeCommentBox();
    // The comment box is drawn, hit and dragged only when it is shown and has a text.
    bool CommentShown() const { return settings.showComment != 0 && !settings.comment.IsEmpty(); }

    InfluenceNodeRecord* tail = nullptr;
    InfluenceNodeRecord* head = nullptr;
    InfluenceDocument* document = nullptr;
    ArcSettings settings;
    DiagramPoint tailCentre;
    DiagramPoint headCentre;
    DiagramPoint start;
    DiagramPoint end;
    DiagramPoint middle;
    DiagramPoint commentOffset;
    LogicalRect commentBox{0, 0, 0, 0};
    int16_t curved = 0;
};
