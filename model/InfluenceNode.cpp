#include "model/InfluenceNode.h"

#include "foundation/StringHelpers.h"
#include "model/InfluenceDiagram.h"
#include "model/NameRules.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_set>

zString ShortenLabel(const char* text, int maximum)
{
    std::string line;
    for (const char* c = text; *c; ++c)
        if (*c != '\r')
            line += *c == '\n' ? ' ' : *c;
    if (static_cast<int>(line.size()) > maximum) {
        line.resize(static_cast<size_t>(std::max(maximum, 0)));
        for (int i = maximum - 1; i >= std::max(maximum - 4, 0); --i) {
            if (line[static_cast<size_t>(i)] == ' ') {
                line.resize(static_cast<size_t>(i));
                break;
            }
        }
        line += "...";
    }
    return zString(line.c_str());
}

namespace {

// Where the line from c along d meets the line through a and b; c itself when they run parallel.
DiagramPoint Intersect(DiagramPoint c, DiagramPoint d, DiagramPoint a, DiagramPoint b)
{
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double denominator = d.x * ey - d.y * ex;
    if (std::fabs(denominator) < 1e-12)
        return c;
    const double t = ((a.x - c.x) * ey - (a.y - c.y) * ex) / denominator;
    return DiagramPoint{static_cast<float>(c.x + t * d.x), static_cast<float>(c.y + t * d.y)};
}

// The segment from c to c + d cut where it leaves the rectangle (the whole segment when it stays inside).
DiagramPoint ClipToRect(DiagramPoint c, DiagramPoint d, const LogicalRect& rect)
{
    double t = 1;
    if (d.x > 0)
        t = std::min(t, (rect.right - c.x) / static_cast<double>(d.x));
    else if (d.x < 0)
        t = std::min(t, (rect.left - c.x) / static_cast<double>(d.x));
    if (d.y > 0)
        t = std::min(t, (rect.bottom - c.y) / static_cast<double>(d.y));
    else if (d.y < 0)
        t = std::min(t, (rect.top - c.y) / static_cast<double>(d.y));
    t = std::max(t, 0.0);
    return DiagramPoint{static_cast<float>(c.x + t * d.x), static_cast<float>(c.y + t * d.y)};
}

} // namespace

DiagramPoint BoundaryPoint(int kind, DiagramPoint centre, DiagramPoint point, const LogicalRect& rect)
{
    DiagramPoint d{point.x - centre.x, point.y - centre.y};
    // Equal points give no direction: the outline is met straight to the right.
    if (d.x == 0 && d.y == 0)
        d.x = rect.right - rect.left + 1;
    const float midY = (rect.top + rect.bottom) / 2;
    switch (kind) {
    case InfluenceKind::Decision:
        return ClipToRect(centre, d, rect);
    case InfluenceKind::Chance:
    case InfluenceKind::Deterministic: {
        const double a = (rect.right - rect.left) / 2.0;
        const double b = (rect.bottom - rect.top) / 2.0;
        const double theta = std::atan2(d.y * a, d.x * b);
        return DiagramPoint{static_cast<float>(centre.x + a * std::cos(theta)),
                            static_cast<float>(centre.y + b * std::sin(theta))};
    }
    case InfluenceKind::Value: {
        const DiagramPoint across{d.x > 0 ? rect.right : rect.left, centre.y};
        const DiagramPoint upright{centre.x, d.y > 0 ? rect.bottom : rect.top};
        return Intersect(centre, d, across, upright);
    }
    case InfluenceKind::SubModel: {
        const float corner = NodeLayout::kSubModelCorner;
        const double flat = (rect.right - rect.left) - 2 * corner;
        if (d.x == 0 || std::fabs(d.y / d.x) >= std::fabs((rect.bottom - rect.top) / flat))
            return ClipToRect(centre, d, rect);
        const DiagramPoint from{d.x > 0 ? rect.right - corner : rect.left + corner, d.y > 0 ? rect.bottom : rect.top};
        const DiagramPoint tip{d.x > 0 ? rect.right : rect.left, midY};
        return Intersect(centre, d, from, tip);
    }
    default:
        return point;
    }
}

InfluenceNodeRecord::~InfluenceNodeRecord() = default;

int InfluenceRefusal(InfluenceNodeRecord* tail, InfluenceNodeRecord* head, const char** reason)
{
    struct Rule {
        int code;
        const char* text;
    };
    static const Rule rules[] = {
        {1, "It already exists. "},
        {2, "There is already an influence in the other direction."},
        {4, "An event may not influence itself."},
        {6, "Deterministic events may not be influenced."},
        {5, "To create an influence to or from a node in a sub-model, you must make a clone of the node which is "
            "OUTSIDE the sub-model, and direct the clone to the sub-model. Then create the influence while within "
            "the sub-model."},
    };
    InfluenceNodeRecord* from = tail->Effective();
    InfluenceNodeRecord* to = head->Effective();
    const bool refused[] = {
        tail->FindArcTo(head) != nullptr,
        head->FindArcTo(tail) != nullptr,
        from == to,
        head->kind == InfluenceKind::Deterministic,
        from->kind == InfluenceKind::SubModel || to->kind == InfluenceKind::SubModel,
    };
    for (size_t i = 0; i < sizeof rules / sizeof rules[0]; ++i) {
        if (refused[i]) {
            *reason = rules[i].text;
            return rules[i].code;
        }
    }
    *reason = "";
    return 0;
}

InfluenceArc* InfluenceNodeRecord::FindArcTo(InfluenceNodeRecord* target)
{
    std::vector<InfluenceArc*> arcs;
    Effective()->CollectArcsOut(arcs);
    InfluenceNodeRecord* to = target->Effective();
    for (InfluenceArc* arc : arcs)
        if (arc->head && arc->head->Effective() == to)
            return arc;
    return nullptr;
}

int InfluenceNodeRecord::HitNodePart(DiagramPoint point) const
{
    if (point.x < left || point.x > right || point.y < top || point.y > bottom)
        return 0;
    // The point relative to the centre, in halves of the width and height.
    const float halfWidth = std::max((right - left) / 2, 1e-6f);
    const float halfHeight = std::max((bottom - top) / 2, 1e-6f);
    const float x = std::fabs(point.x - (left + right) / 2) / halfWidth;
    const float y = std::fabs(point.y - (top + bottom) / 2) / halfHeight;
    bool inside = true;
    switch (kind) {
    case InfluenceKind::Chance:
    case InfluenceKind::Deterministic:
        inside = x * x + y * y <= 1;
        break;
    case InfluenceKind::Value:
        inside = x + y <= 1;
        break;
    case InfluenceKind::SubModel: {
        // The corners are cut from the middle of each side to the corner inset along the top and bottom.
        const float cut = NodeLayout::kSubModelCorner / halfWidth;
        inside = cut <= 0 || x <= 1 - cut || (1 - x) / cut >= y;
        break;
    }
    default:
        break;
    }
    if (!inside)
        return 0;
    const LogicalRect label = NodeTextRect();
    const bool onLabel = point.x >= label.left && point.x <= label.right && point.y >= label.top &&
                         point.y <= label.bottom;
    return isClone == 0 && onLabel ? 1 : 2;
}

void InfluenceNodeRecord::AddArcOut(InfluenceArc* arc)
{
    if (std::find(arcsOut.begin(), arcsOut.end(), arc) != arcsOut.end())
        return;
    arcsOut.push_back(arc);
    UpdateSpecialArcFlag();
}

void InfluenceNodeRecord::AddArcIn(InfluenceArc* arc)
{
    if (std::find(arcsIn.begin(), arcsIn.end(), arc) == arcsIn.end())
        arcsIn.push_back(arc);
}

void InfluenceNodeRecord::RemoveArcOut(InfluenceArc* arc)
{
    arcsOut.erase(std::remove(arcsOut.begin(), arcsOut.end(), arc), arcsOut.end());
    UpdateSpecialArcFlag();
}

void InfluenceNodeRecord::RemoveArcIn(InfluenceArc* arc)
{
    arcsIn.erase(std::remove(arcsIn.begin(), arcsIn.end(), arc), arcsIn.end());
}

void InfluenceNodeRecord::UpdateSpecialArcFlag()
{
    InfluenceNodeRecord* master = Effective();
    std::vector<InfluenceArc*> arcs;
    master->CollectArcsOut(arcs);
    master->hasSpecialArc =
        std::any_of(arcs.begin(), arcs.end(), [](const InfluenceArc* arc) { return arc->HasSkipAll(); }) ? 1 : 0;
}

void InfluenceNodeRecord::CollectArcsIn(std::vector<InfluenceArc*>& out) const
{
    out.insert(out.end(), arcsIn.begin(), arcsIn.end());
    for (const InfluenceNodeRecord* clone : clones)
        if (clone != this)
            out.insert(out.end(), clone->arcsIn.begin(), clone->arcsIn.end());
}

void InfluenceNodeRecord::CollectArcsOut(std::vector<InfluenceArc*>& out) const
{
    out.insert(out.end(), arcsOut.begin(), arcsOut.end());
    for (const InfluenceNodeRecord* clone : clones)
        if (clone != this)
            out.insert(out.end(), clone->arcsOut.begin(), clone->arcsOut.end());
}

namespace {

std::string UpperName(const std::string& text)
{
    std::string upper;
    for (char c : text)
        upper += UpperChar(c);
    return upper;
}

// The text, or the text with "_1", "_2" ... appended, whichever is first not taken (upper-cased).
std::string FreeName(const std::string& text, const std::unordered_set<std::string>& taken)
{
    std::string candidate = text;
    for (int counter = 1; taken.count(UpperName(candidate)) != 0; ++counter)
        candidate = text + "_" + std::to_string(counter);
    return candidate;
}

} // namespace

void InfluenceNodeRecord::UniqueVariableName(const char* text)
{
    if (isClone != 0)
        return;
    if (!document) {
        variableName = text;
        return;
    }
    std::unordered_set<std::string> taken;
    document->ForEachNode([&](InfluenceNodeRecord& other) {
        if (&other != this)
            taken.insert(UpperName(other.variableName.Text()));
    });
    variableName = FreeName(text, taken).c_str();
}

void InfluenceNodeRecord::RenameVariable(const char* oldName, const char* newName)
{
    if (oldName == nullptr || *oldName == '\0')
        return;
    ReplaceAll(formula, oldName, newName, true, false, 0, true);
    const std::string upperOld = UpperName(oldName);
    for (DefinitionTreeNode* root : {definitionA.get(), definitionB.get()}) {
        // Levels run down, siblings along: an explicit stack keeps deep tables off the call stack.
        std::vector<DefinitionTreeNode*> pending;
        if (root != nullptr)
            pending.push_back(root);
        while (!pending.empty()) {
            DefinitionTreeNode* entry = pending.back();
            pending.pop_back();
            if (UpperName(entry->name.Text()) == upperOld)
                entry->name = newName;
            if (entry->cell && (entry->cell->kind == DefinitionCell::Variable ||
                                entry->cell->kind == DefinitionCell::Formula))
                ReplaceAll(entry->cell->formula, oldName, newName, true, false, 0, true);
            if (entry->next)
                pending.push_back(entry->next.get());
            if (entry->down)
                pending.push_back(entry->down.get());
        }
    }
}

void InfluenceNodeRecord::NameChanged()
{
    if (!variableName.IsEmpty() || isClone != 0)
        return;
    zString made = ShortenLabel(name.Text(), 28);
    if (made.IsEmpty())
        return;
    MakeValidName(made);
    UniqueVariableName(made.Text());
}

void InfluenceNodeRecord::SyncClones()
{
    for (InfluenceNodeRecord* clone : clones) {
        if (clone == this)
            continue;
        clone->kind = kind;
        clone->name = name;
        clone->variableName = variableName;
        if (font)
            clone->font = std::make_unique<FontRecord>(*font);
        clone->Layout();
    }
}

void MakeNewVariableNamesUnique(InfluenceDocument& document, const std::vector<InfluenceNodeRecord*>& fresh)
{
    const std::unordered_set<const InfluenceNodeRecord*> isFresh(fresh.begin(), fresh.end());
    std::unordered_set<std::string> taken;
    document.ForEachNode([&](InfluenceNodeRecord& node) {
        if (isFresh.count(&node) == 0)
            taken.insert(UpperName(node.variableName.Text()));
    });
    for (InfluenceNodeRecord* node : fresh) {
        if (node->isClone != 0 || node->variableName.IsEmpty())
            continue;
        const std::string name = FreeName(node->variableName.Text(), taken);
        taken.insert(UpperName(name));
        node->variableName = name.c_str();
    }
}

void MakeVariableNamesUnique(InfluenceDocument& document)
{
    std::unordered_set<std::string> taken;
    document.ForEachNode([&](InfluenceNodeRecord& node) {
        if (node.isClone != 0)
            return;
        const std::string name = FreeName(node.variableName.Text(), taken);
        taken.insert(UpperName(name));
        node.variableName = name.c_str();
    });
}

DefinitionTreeNode* InfluenceNodeRecord::DefinitionTree(int table) const
{
    return table == ProbabilityTable ? definitionA.get() : definitionB.get();
}

std::vector<DefinitionKey> InfluenceNodeRecord::DefinitionKeys(int table)
{
    ArcRowFlags need;
    need.probabilities = table == ProbabilityTable;
    need.values = table == ValueTable;
    std::vector<DefinitionKey> keys;
    std::vector<InfluenceNodeRecord*> seen;
    std::vector<InfluenceArc*> arcs;
    Effective()->CollectArcsIn(arcs);
    for (InfluenceArc* arc : arcs) {
        InfluenceNodeRecord* tail = arc->EffectiveTail();
        if (!tail || std::find(seen.begin(), seen.end(), tail) != seen.end())
            continue;
        if (tail->kind != InfluenceKind::Deterministic && !RowFlagsCover(arc->RowFlags(), need, true))
            continue;
        seen.push_back(tail);
        keys.push_back(DefinitionKey{tail->variableName, tail->OutcomeCount()});
    }
    keys.push_back(DefinitionKey{Effective()->variableName, Effective()->OutcomeCount()});
    return keys;
}

DefinitionTreeNode* InfluenceNodeRecord::EnsureDefinitionTree(int table)
{
    std::unique_ptr<DefinitionTreeNode>& tree = table == ProbabilityTable ? definitionA : definitionB;
    if (!tree)
        tree = std::make_unique<DefinitionTreeNode>();
    SyncDefinitionTree(*tree, DefinitionKeys(table));
    return tree.get();
}

DefinitionCell* InfluenceNodeRecord::FindCell(const std::vector<StateChoice>& choices, int table, bool exact) const
{
    return FindDefinitionCell(DefinitionTree(table), choices, exact);
}

namespace {

// How much larger than its label a node's shape is: ovals 1.4, diamonds 2.
float KindFactor(int kind)
{
    if (kind == InfluenceKind::Chance || kind == InfluenceKind::Deterministic)
        return NodeLayout::kOvalFactor;
    return kind == InfluenceKind::Value ? NodeLayout::kDiamondFactor : 1.0f;
}

} // namespace

LogicalRect InfluenceNodeRecord::NodeTextRect() const
{
    const float margin = NodeLayout::kLabelMargin;
    LogicalRect rect{left + margin, top + margin, right - margin, bottom - margin};
    const float factor = KindFactor(kind);
    const float insetX = (rect.right - rect.left) * (1 - 1 / factor) / 2;
    const float insetY = (rect.bottom - rect.top) * (1 - 1 / factor) / 2;
    return LogicalRect{rect.left + insetX, rect.top + insetY, rect.right - insetX, rect.bottom - insetY};
}

LogicalRect InfluenceNodeRecord::LaidOutRect(const char* label) const
{
    float width = 0;
    float height = 0;
    if (document && document->prefs.fixedSize != 0) {
        width = document->prefs.sizeH;
        height = document->prefs.sizeV;
    } else if (document && document->measure) {
        const FontRecord& labelFont = font ? *font : document->prefs.nodeFont;
        document->measure->TextSize(label, labelFont, width, height);
        if (label == nullptr || *label == '\0')
            height = document->measure->LineHeight(labelFont);
    }
    width = std::max(width, NodeLayout::kMinimumLabelWidth);
    const float factor = KindFactor(kind);
    return LogicalRect{left, top, left + width * factor + NodeLayout::kGrowth,
                       top + height * factor + NodeLayout::kGrowth};
}

bool InfluenceNodeRecord::Layout()
{
    const LogicalRect rect = LaidOutRect(name.Text());
    right = rect.right;
    bottom = rect.bottom;
    const DiagramPoint old{posX, posY};
    const DiagramPoint centre = NodeCentre();
    MoveArcEnds(old, centre);
    return std::fabs(centre.x - old.x) >= 1e-10 || std::fabs(centre.y - old.y) >= 1e-10;
}

void InfluenceNodeRecord::MoveBy(DiagramPoint delta)
{
    SetRect(LogicalRect{left + delta.x, top + delta.y, right + delta.x, bottom + delta.y});
}

void InfluenceNodeRecord::SetRect(const LogicalRect& rect)
{
    const DiagramPoint old = NodeCentre();
    left = rect.left;
    top = rect.top;
    right = rect.right;
    bottom = rect.bottom;
    MoveArcEnds(old, NodeCentre());
}

void InfluenceNodeRecord::MoveArcEnds(DiagramPoint oldCentre, DiagramPoint newCentre)
{
    posX = newCentre.x;
    posY = newCentre.y;
    const DiagramPoint delta{newCentre.x - oldCentre.x, newCentre.y - oldCentre.y};
    for (InfluenceArc* arc : arcsIn)
        arc->MoveHead(delta);
    for (InfluenceArc* arc : arcsOut)
        arc->MoveTail(delta);
}
