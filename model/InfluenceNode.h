#pragma once
// One node of an influence diagram: its kind, texts, outcomes, the two definition tables, its place on the
// page, its arcs, its clone relations and, for a sub-model node, the diagram folded into it.

#include "foundation/FontRecord.h"
#include "foundation/LogicalRect.h"
#include "foundation/NameList.h"
#include "foundation/zString.h"
#include "model/InfluenceArc.h"
#include "model/InfluenceDefinitions.h"

#include <cstdint>
#include <memory>
#include <vector>

class InfluenceDiagram;
class InfluenceDocument;

namespace InfluenceKind {
enum : int32_t { Chance = 1, Deterministic = 2, Decision = 3, Value = 4, SubModel = 5 };
} // namespace InfluenceKind

// The label on one line (CR removed, LF a blank); longer than `maximum` it is cut there, and again at the
// last blank among the four characters before the cut, and "..." is added.
zString ShortenLabel(const char* text, int maximum);

// Layout sizes (inches).
namespace NodeLayout {
constexpr float kGrowth = 0.2f;
constexpr float kMinimumLabelWidth = 0.2f;
constexpr float kOvalFactor = 1.4f;
constexpr float kDiamondFactor = 2.0f;
constexpr float kLabelMargin = 0.1f;
constexpr float kSubModelCorner = 0.15f;
} // namespace NodeLayout

// Makes the variable names of the document's nodes unique in document order: the first of two names equal
// but for case stays as it is, the later one gets "_1", "_2" ... appended. Clones keep theirs.
void MakeVariableNamesUnique(InfluenceDocument& document);
// The fresh nodes' variable names (pasted nodes) made unique against every other node of the document and
// each other; the other nodes keep theirs.
void MakeNewVariableNamesUnique(InfluenceDocument& document, const std::vector<InfluenceNodeRecord*>& fresh);

// Where the line from the centre towards the point leaves the outline of a node of the kind with that
// rectangle; a point equal to the centre gives the middle of the outline's right side.
DiagramPoint BoundaryPoint(int kind, DiagramPoint centre, DiagramPoint point, const LogicalRect& rect);

// Why no influence may be drawn from tail to head, the first that holds: 1 one exists, 2 one exists the
// other way, 4 both are the same event (clones stand for their masters), 6 the head as stored is
// deterministic, 5 either event is a sub-model node; 0 when it may be drawn. The reason is the person's text.
int InfluenceRefusal(InfluenceNodeRecord* tail, InfluenceNodeRecord* head, const char** reason);

class InfluenceNodeRecord {
public:
    // Probability table (selector 0) and value table (selector 1).
    enum Table : int { ProbabilityTable = 0, ValueTable = 1 };

    InfluenceNodeRecord() = default;
    ~InfluenceNodeRecord();
    InfluenceNodeRecord(const InfluenceNodeRecord&) = delete;
    InfluenceNodeRecord& operator=(const InfluenceNodeRecord&) = delete;

    // The node itself, or its master when it is a clone.
    InfluenceNodeRecord* Effective() { return isClone != 0 && cloneMaster ? cloneMaster : this; }
    int OutcomeCount() const { return outcomeNames.Count(); }

    // Arc bookkeeping: adding keeps one entry per arc; the special-arc flag follows the outgoing arcs.
    void AddArcOut(InfluenceArc* arc);
    void AddArcIn(InfluenceArc* arc);
    void RemoveArcOut(InfluenceArc* arc);
    void RemoveArcIn(InfluenceArc* arc);
    // hasSpecialArc of the master: any outgoing arc of the master or of a clone has a "Skip All" row.
    void UpdateSpecialArcFlag();
    // The node's arcs, then those of each of its clones.
    void CollectArcsIn(std::vector<InfluenceArc*>& out) const;
    void CollectArcsOut(std::vector<InfluenceArc*>& out) const;

    // The text, made unique without regard to case among the variable names of every other node of the
    // document by "_1", "_2" ... appended; a clone keeps its name. With no document it is taken as it is.
    void UniqueVariableName(const char* text);
    // Every whole-word use of the old name, in any case, in the formula and in the tables' named cells takes
    // the new name, and the tables' level of the old name is named anew.
    void RenameVariable(const char* oldName, const char* newName);
    // A node without a variable name takes one made from its label, unique in the document.
    void NameChanged();
    // Every clone takes the master's kind, label, variable name and own font, and is laid out again.
    void SyncClones();

    // The table, or null; Ensure makes a missing one and brings it in step with the keying nodes.
    DefinitionTreeNode* DefinitionTree(int table) const;
    DefinitionTreeNode* EnsureDefinitionTree(int table);
    // The cell for the chosen states of the table's keying nodes (see FindDefinitionCell).
    DefinitionCell* FindCell(const std::vector<StateChoice>& choices, int table, bool exact) const;

    // Geometry: the rectangle, its centre, the rectangle of the label.
    LogicalRect NodeRect() const { return LogicalRect{left, top, right, bottom}; }
    DiagramPoint NodeCentre() const { return DiagramPoint{(left + right) / 2, (top + bottom) / 2}; }
    LogicalRect NodeTextRect() const;
    // 0 outside the node's outline, 1 on its label, 2 elsewhere on the node (a clone's label counts as the
    // node: it is not typed into).
    int HitNodePart(DiagramPoint point) const;
    // The arc from this event to the head's event (a clone standing for its master on either end), or null.
    InfluenceArc* FindArcTo(InfluenceNodeRecord* head);
    // Size from the label (or the fixed size) and kind; the arcs follow a moved centre. True when the centre
    // moved.
    bool Layout();
    // The rectangle Layout gives the node with that label: its left and top stay where they are.
    LogicalRect LaidOutRect(const char* label) const;
    void MoveBy(DiagramPoint delta);
    void SetRect(const LogicalRect& rect);
    void MoveArcEnds(DiagramPoint oldCentre, DiagramPoint newCentre);

    zString name;
    zString variableName;
    zString annotation;
    zString formula;
    zString valueText = "0";
    double lowValue = 0;
    double highValue = 0;
    NameList outcomeNames;
    std::unique_ptr<DefinitionTreeNode> definitionA;
    std::unique_ptr<DefinitionTreeNode> definitionB;
    std::unique_ptr<FontRecord> font;
    // Not owned: the diagram owns its arcs.
    std::vector<InfluenceArc*> arcsOut;
    std::vector<InfluenceArc*> arcsIn;
    int16_t isClone = 0;
    int16_t noFormula = 1;
    int16_t neverDefine = 0;
    int16_t hasSpecialArc = 0;
    int32_t kind = InfluenceKind::Chance;
    std::vector<InfluenceNodeRecord*> clones;
    InfluenceNodeRecord* cloneMaster = nullptr;
    InfluenceNodeRecord* parentSubModel = nullptr;
    std::unique_ptr<InfluenceDiagram> subDiagram;
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float posX = 0;
    float posY = 0;
    InfluenceDocument* document = nullptr;

private:
    // The table's keying nodes: the predecessors its arcs let through, then the node itself.
    std::vector<DefinitionKey> DefinitionKeys(int table);
};
