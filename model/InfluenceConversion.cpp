#include "model/InfluenceConversion.h"

#include "foundation/NumericFormatParsing.h"
#include "model/ExpressionWalk.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceDiagram.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"

#include <algorithm>
#include <memory>
#include <set>

namespace {

bool Branches(const InfluenceNodeRecord* node)
{
    return (node->kind == InfluenceKind::Chance || node->kind == InfluenceKind::Decision) && node->OutcomeCount() > 0;
}

struct VariableRange {
    std::string name;
    double low;
    double high;
};

// One build: the path being made (its tree node and the states chosen above it), and what the finished
// tree still needs (variables to make, ranges, Bayes revisions, the first branch of every event).
class TreeBuilder {
public:
    TreeBuilder(ConversionMode mode, InfluenceNodeRecord* tableNode, std::vector<InfluenceNodeRecord*> sequence,
                TreeDocument& tree)
        : mode_(mode), tableNode_(tableNode), sequence_(std::move(sequence)), tree_(tree), current_(tree.Root)
    {
    }

    void Build(std::vector<RevisedEvent> bayes, bool vertical)
    {
        bayes_ = std::move(bayes);
        vertical_ = vertical;
        if (!sequence_.empty())
            AddNode(0);
    }
    // The variables, ranges, generated Bayes variables and labels of the finished tree.
    void Finish();

    std::vector<PreparedRow> rows;

private:
    bool Tables() const { return mode_ != ConversionMode::Tree; }
    void AddNode(size_t index);
    std::vector<int32_t> BranchStates(size_t index);
    void NonBranching(size_t index);
    const DefinitionCell* ApplyNodeCells(InfluenceNodeRecord* node, TreeNode* child, bool closing = false);
    std::string RevisedProbability(InfluenceNodeRecord* node, TreeNode* child, bool closing);
    void DefineSkippedNode(InfluenceNodeRecord* node);
    void FinishEnd(TreeNode* node, const DefinitionCell* cell, const InfluenceNodeRecord* event);
    const PathState* StateOf(const InfluenceNodeRecord* node) const;

    ConversionMode mode_;
    InfluenceNodeRecord* tableNode_;
    std::vector<InfluenceNodeRecord*> sequence_;
    TreeDocument& tree_;
    TreeNode* current_;
    bool last_ = false;
    bool skipAll_ = false;
    PathAssignment assignment_;
    std::vector<std::pair<InfluenceNodeRecord*, TreeNode*>> labels_;
    std::set<std::string> namesToCreate_;
    std::vector<VariableRange> ranges_;
    std::vector<RevisedEvent> bayes_;
    bool vertical_ = false;
    std::vector<std::unique_ptr<BayesRevisionItem>> items_;
    int generatedCounter_ = 0;
};

const PathState* TreeBuilder::StateOf(const InfluenceNodeRecord* node) const
{
    for (const PathState& entry : assignment_)
        if (entry.name == node->variableName.Text())
            return &entry;
    return nullptr;
}

void TreeBuilder::AddNode(size_t index)
{
    InfluenceNodeRecord* node = sequence_[index];
    const bool savedLast = last_;
    const bool savedSkipAll = skipAll_;
    const size_t next = index + 1;
    last_ = next >= sequence_.size();
    skipAll_ = false;
    if (node->kind == InfluenceKind::Deterministic)
        namesToCreate_.insert(node->variableName.Text());
    const std::vector<int32_t> states = BranchStates(index);
    if (!states.empty()) {
        assignment_.push_back(PathState{node->variableName.Text(), -1});
        TreeNode* parent = current_;
        parent->SetKind(node->kind == InfluenceKind::Decision ? DecisionNode : ChanceNode, false);
        for (int32_t state : states) {
            const zString* outcome = node->outcomeNames.At(state);
            TreeNode* child = tree_.AddChild(parent, ChanceNode, outcome ? outcome->Text() : "");
            if (child == nullptr)
                break;
            current_ = child;
            assignment_.back().state = state;
            const DefinitionCell* cell = ApplyNodeCells(node, child, state == states.back());
            if (std::none_of(labels_.begin(), labels_.end(), [node](const auto& l) { return l.first == node; }))
                labels_.emplace_back(node, child);
            if (last_)
                FinishEnd(child, cell, node);
            else
                AddNode(next);
        }
        current_ = parent;
        assignment_.pop_back();
    } else {
        NonBranching(index);
        if (next < sequence_.size() && !last_ && !skipAll_) {
            assignment_.push_back(PathState{node->variableName.Text(), -1});
            AddNode(next);
            assignment_.pop_back();
        } else if (mode_ == ConversionMode::Tree || node->kind == InfluenceKind::Value) {
            current_->SetKind(TerminalNode, false);
        } else if (current_->kind != TerminalNode) {
            current_->SetKind(TerminalLineNode, false);
        }
    }
    last_ = savedLast;
    skipAll_ = savedSkipAll;
}

// The node's states that branch under the path's states of the events before it, after the rows of their
// arcs into it.
std::vector<int32_t> TreeBuilder::BranchStates(size_t index)
{
    InfluenceNodeRecord* node = sequence_[index];
    std::vector<int32_t> states;
    if (!Branches(node))
        return states;
    for (int32_t s = 0; s < node->OutcomeCount(); ++s)
        states.push_back(s);
    for (size_t u = 0; u < index && !states.empty(); ++u) {
        InfluenceNodeRecord* before = sequence_[u];
        const PathState* known = StateOf(before);
        InfluenceArc* arc = before->FindArcTo(node);
        if (arc == nullptr || known == nullptr || known->state < 0)
            continue;
        const std::vector<ArcInfluenceRow>& rows = arc->settings.rows;
        const ArcInfluenceRow* row = known->state < static_cast<int32_t>(rows.size()) ? &rows[known->state] : nullptr;
        const int32_t type = row != nullptr ? row->influenceType : ArcInfluenceRow::Symmetric;
        if (Tables() && node == tableNode_ && row != nullptr && type == ArcInfluenceRow::Symmetric) {
            // The arc keys the table but this state's row does not: that part of the table is not edited.
            const bool probabilities = mode_ == ConversionMode::Probabilities;
            const ArcRowFlags whole = arc->RowFlags();
            const bool rowKeys = probabilities ? row->affectsProbabilities != 0 : row->affectsValues != 0;
            if (!rowKeys && (probabilities ? whole.probabilities : whole.values)) {
                states.clear();
                break;
            }
        }
        const int32_t target = row != nullptr ? row->targetState : 0;
        const auto at = std::find(states.begin(), states.end(), target);
        switch (type) {
        case ArcInfluenceRow::Force:
            if (at == states.end())
                states.clear();
            else
                states = {target};
            break;
        case ArcInfluenceRow::Eliminate:
            if (at != states.end())
                states.erase(at);
            break;
        case ArcInfluenceRow::Skip:
            states.clear();
            break;
        case ArcInfluenceRow::SkipAll:
            states.clear();
            skipAll_ = true;
            last_ = true;
            break;
        default:
            break;
        }
    }
    return states;
}

// An event that gives no branch on this path: a value event ends it or defines its variable; any other is
// defined by its value when skipped, and after "Skip All" every later event is, and the value is due.
void TreeBuilder::NonBranching(size_t index)
{
    InfluenceNodeRecord* node = sequence_[index];
    InfluenceNodeRecord* valueNode = tableNode_;
    bool valueDue = false;
    if (node->kind == InfluenceKind::Value ||
        (skipAll_ && Tables() && tableNode_->kind == InfluenceKind::Value)) {
        valueNode = node;
        valueDue = true;
    } else if (node->kind != InfluenceKind::SubModel) {
        DefineSkippedNode(node);
        if (skipAll_) {
            for (size_t i = index + 1; i < sequence_.size() && sequence_[i] != tableNode_; ++i)
                DefineSkippedNode(sequence_[i]);
            valueDue = true;
        }
        if (node->kind != InfluenceKind::Deterministic && !last_)
            current_->PushColumnShift(true);
    }
    if (!valueDue || valueNode->kind != InfluenceKind::Value)
        return;
    if (valueNode->noFormula != 0 || (skipAll_ && Tables())) {
        FinishEnd(current_, ApplyNodeCells(tableNode_, current_), node);
        return;
    }
    const char* name = valueNode->variableName.Text();
    if (valueNode->formula.IsEmpty()) {
        namesToCreate_.insert(name);
    } else if (*name != '\0') {
        BindUnlessDefined(*tree_.Root, name, valueNode->formula.Text());
        if (last_) {
            current_->SetKind(TerminalNode, false);
            current_->SetPayoffText(name, 0, true);
        }
    }
}

const DefinitionCell* TreeBuilder::ApplyNodeCells(InfluenceNodeRecord* node, TreeNode* child, bool closing)
{
    const std::vector<StateChoice> choices = ChoicesOf(assignment_);
    // The tables being edited show their own cells; a converted tree takes the nearest defined one.
    const bool exact = Tables();
    const DefinitionCell* probability =
        mode_ != ConversionMode::Values ? node->FindCell(choices, InfluenceNodeRecord::ProbabilityTable, exact) : nullptr;
    const DefinitionCell* value =
        mode_ == ConversionMode::Tree || (mode_ == ConversionMode::Values && node == tableNode_)
            ? node->FindCell(choices, InfluenceNodeRecord::ValueTable, exact)
            : nullptr;
    if (node->kind == InfluenceKind::Chance && (last_ || mode_ == ConversionMode::Tree)) {
        const std::string revised = mode_ == ConversionMode::Tree ? RevisedProbability(node, child, closing) : "?";
        if (revised != "?")
            child->SetProbabilityText(revised.c_str(), true);
        else if (probability != nullptr)
            ApplyCellAsProbability(*probability, *child);
    }
    if (value != nullptr && !(Branches(node) && node->neverDefine != 0)) {
        const bool terminal = last_ && node->kind == InfluenceKind::Value;
        if (terminal)
            child->SetKind(TerminalNode, true);
        ApplyCellAsValue(*value, *child, terminal, node->variableName.Text());
    }
    if (mode_ == ConversionMode::Probabilities)
        return probability;
    return mode_ == ConversionMode::Values ? value : nullptr;
}

// The branch probability Bayes' rule gives an event that predicts a later one or is predicted; "?" for
// any other event, and for a revised one where no revision applies on the path.
std::string TreeBuilder::RevisedProbability(InfluenceNodeRecord* node, TreeNode* child, bool closing)
{
    for (const RevisedEvent& revision : bayes_) {
        if (std::find(revision.predictors.begin(), revision.predictors.end(), node) == revision.predictors.end())
            continue;
        for (const auto& item : items_) {
            if (!item->Matches(revision.revised, assignment_))
                continue;
            while (item->bindingNode != nullptr && !child->IsDescendantOf(item->bindingNode))
                item->bindingNode = item->bindingNode->parent;
            return item->ConditionalText(assignment_, closing);
        }
        items_.push_back(std::make_unique<BayesRevisionItem>(child, revision, assignment_, vertical_, generatedCounter_));
        return items_.back()->ConditionalText(assignment_, closing);
    }
    // A revised event reads the revision of its path's predictors; where a predictor was not observed on
    // the path (skipped there), no revision applies and the event keeps its own cell.
    for (const RevisedEvent& revision : bayes_) {
        if (revision.revised != node)
            continue;
        const bool observed = std::all_of(revision.predictors.begin(), revision.predictors.end(),
                                          [this](const InfluenceNodeRecord* predictor) {
                                              const PathState* known = StateOf(predictor);
                                              return known != nullptr && known->state >= 0;
                                          });
        if (!observed)
            break;
        for (const auto& item : items_)
            if (item->Matches(node, assignment_))
                return item->ConditionalText(assignment_, closing);
        break;
    }
    return "?";
}

void TreeBuilder::DefineSkippedNode(InfluenceNodeRecord* node)
{
    if (node->neverDefine != 0)
        return;
    const char* name = node->variableName.Text();
    const char* value = node->valueText.Text();
    const bool deterministic = node->kind == InfluenceKind::Deterministic;
    if (*name == '\0')
        return;
    if (*value == '\0' || (Tables() && !deterministic)) {
        namesToCreate_.insert(name);
        return;
    }
    BindUnlessDefined(deterministic ? *tree_.Root : *current_, name, value);
    if (!deterministic || Tables())
        return;
    double baseline = 0;
    int error = 0;
    ParseNumber(value, baseline, error);
    if (error == 0 && node->lowValue < baseline && baseline < node->highValue)
        ranges_.push_back(VariableRange{name, node->lowValue, node->highValue});
}

void TreeBuilder::FinishEnd(TreeNode* node, const DefinitionCell* cell, const InfluenceNodeRecord* event)
{
    node->SetKind(TerminalNode, true);
    if (!Tables()) {
        // A final chance event pays the value its branch defines.
        const char* name = event->variableName.Text();
        if (event->kind == InfluenceKind::Chance && node->Payoff(0).IsEmpty() && node->FindBinding(name, false))
            node->SetPayoffText(name, 0, true);
        return;
    }
    rows.push_back(PreparedRow{node, assignment_, cell != nullptr ? *cell : DefinitionCell()});
    if (event->kind != InfluenceKind::Value && !skipAll_)
        node->SetPayoffText(" ", 0, true);
}

void TreeBuilder::Finish()
{
    RegisterSubtreeVariables(tree_.Root, true);
    for (const std::string& name : namesToCreate_)
        tree_.EnsureVariable(name.c_str(), nullptr);
    for (const VariableRange& range : ranges_) {
        if (DocVariable* variable = tree_.FindVariable(range.name.c_str(), false)) {
            variable->low.value = range.low;
            variable->high.value = range.high;
            variable->low.text.Clear();
            variable->high.text.Clear();
            variable->hasRange = 1;
        }
    }
    for (const auto& item : items_) {
        for (const GeneratedVariables::Definition& definition : item->generated.list) {
            if (definition.expression.empty() || item->bindingNode == nullptr)
                continue;
            item->bindingNode->SetBinding(definition.name.c_str(), definition.expression.c_str(), true);
            if (DocVariable* variable = tree_.EnsureVariable(definition.name.c_str(), nullptr); definition.name[0] == '_')
                variable->flag3 = 0;
        }
    }
    for (const auto& label : labels_)
        label.second->SetText2(label.first->name.Text(), true);
}

} // namespace

void ApplyCellAsProbability(const DefinitionCell& cell, TreeNode& node)
{
    if (cell.kind == DefinitionCell::Variable) {
        TreeNode& at = node.parent != nullptr ? *node.parent : node;
        if (!cell.expression.IsEmpty())
            at.SetBinding(cell.formula.Text(), cell.expression.Text(), true);
        else if (node.document != nullptr)
            node.document->EnsureVariable(cell.formula.Text(), nullptr);
    }
    node.SetProbabilityText(cell.formula.IsEmpty() ? cell.expression.Text() : cell.formula.Text(), true);
}

void ApplyCellAsValue(const DefinitionCell& cell, TreeNode& node, bool terminal, const char* variableName)
{
    const bool variable = cell.kind == DefinitionCell::Variable;
    if (terminal) {
        if (cell.kind == DefinitionCell::ExpressionOnly)
            node.SetPayoffText(cell.expression.Text(), 0, true);
        else if (!cell.formula.IsEmpty())
            node.SetPayoffText(cell.formula.Text(), 0, true);
        if (variable && !cell.expression.IsEmpty())
            node.SetBinding(cell.formula.Text(), cell.expression.Text(), true);
        return;
    }
    if (variable) {
        TreeNode* root = node.GetTreeRoot();
        if (!cell.expression.IsEmpty())
            root->SetBinding(cell.formula.Text(), cell.expression.Text(), true);
        else if (node.document != nullptr)
            node.document->EnsureVariable(cell.formula.Text(), nullptr);
    }
    const zString& text = cell.formula.IsEmpty() ? cell.expression : cell.formula;
    if (!text.IsEmpty() && *variableName != '\0')
        node.SetBinding(variableName, text.Text(), true);
}

void BindUnlessDefined(TreeNode& node, const char* name, const char* expression)
{
    for (const TreeNode* at = &node; at != nullptr; at = at->parent)
        if (at->FindBinding(name, false) != nullptr)
            return;
    node.SetBinding(name, expression, true);
}

void ConvertDiagramToTree(InfluenceDocument& diagram, InfluenceNodeRecord* finalNode, const char* rootText,
                          TreeDocument& tree)
{
    std::vector<InfluenceNodeRecord*> nodes;
    diagram.ForEachNode([&nodes](InfluenceNodeRecord& node) { nodes.push_back(&node); });
    const bool vertical = diagram.prefs.verticalInf != 0;
    std::vector<RevisedEvent> bayes;
    std::vector<InfluenceNodeRecord*> sequence = OrderDiagramNodes(finalNode, nodes, vertical, &bayes);
    TreeBuilder builder(ConversionMode::Tree, finalNode, std::move(sequence), tree);
    builder.Build(std::move(bayes), vertical);
    builder.Finish();
    if (rootText != nullptr && *rootText != '\0')
        tree.Root->SetText(rootText, false);
    tree.DisplayPrefs.SetConvertedTreeStyle(false, true);
    tree.NumberFormat() = diagram.prefs.numberFormat;
    tree.CalcPrefs.OptPath[0] = diagram.prefs.optHigh != 0 ? 1 : 0;
    BuildLinkItemList(diagram.links, tree.DocumentLinks);
}

PreparedTable PrepareNodeTable(InfluenceDocument& diagram, InfluenceNodeRecord& node, int table, TreeDocument& tree)
{
    PreparedTable prepared;
    InfluenceNodeRecord* event = node.Effective();
    PredecessorFilter filter;
    filter.probabilities = table == InfluenceNodeRecord::ProbabilityTable;
    filter.values = table == InfluenceNodeRecord::ValueTable;
    if (InfluenceNodeRecord* loop = FindInfluenceLoop(event, filter)) {
        prepared.text = "This node may not be edited because there is an influence-loop.";
        prepared.nodes = {loop};
        return prepared;
    }
    event->EnsureDefinitionTree(table);
    // The events the table's levels name, as the table keys them (a value event's table by every arc).
    filter.values = filter.values && event->kind != InfluenceKind::Value;
    filter.additional = true;
    std::vector<InfluenceNodeRecord*> sequence = FilteredPredecessors(*event, filter);
    OrderRelativeTo(event, sequence, diagram.prefs.verticalInf != 0);
    for (InfluenceNodeRecord* before : sequence) {
        prepared.text = IncompleteNodeText(*before);
        if (!prepared.text.empty()) {
            prepared.nodes = {before};
            return prepared;
        }
    }
    sequence.push_back(event);
    const ConversionMode mode =
        table == InfluenceNodeRecord::ProbabilityTable ? ConversionMode::Probabilities : ConversionMode::Values;
    TreeBuilder builder(mode, event, std::move(sequence), tree);
    builder.Build({}, diagram.prefs.verticalInf != 0);
    builder.Finish();
    tree.DisplayPrefs.SetConvertedTreeStyle(mode == ConversionMode::Values, false);
    tree.NumberFormat() = diagram.prefs.numberFormat;
    BuildLinkItemList(diagram.links, tree.DocumentLinks);
    prepared.rows = std::move(builder.rows);
    if (prepared.rows.empty())
        prepared.text = "This model cannot be converted. The most likely cause is an incompatible set of \"skip\" "
                        "or \"skip all\" arcs.";
    return prepared;
}

void ApplyPreparedRows(DefinitionTreeNode& table, const std::vector<PreparedRow>& rows)
{
    for (const PreparedRow& row : rows)
        if (DefinitionCell* cell = FindDefinitionCell(&table, ChoicesOf(row.assignment), true))
            *cell = row.cell;
}
