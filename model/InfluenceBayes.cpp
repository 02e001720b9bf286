#include "model/InfluenceBayes.h"

#include "model/InfluenceNode.h"

#include <algorithm>

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += separator;
        text += part;
    }
    return text;
}

const PathState* StateOf(const PathAssignment& assignment, const char* name)
{
    const auto found = std::find_if(assignment.begin(), assignment.end(),
                                    [name](const PathState& entry) { return entry.name == name; });
    return found == assignment.end() ? nullptr : &*found;
}

void SetState(PathAssignment& assignment, const char* name, int32_t state)
{
    for (PathState& entry : assignment)
        if (entry.name == name)
            entry.state = state;
}

// Below every leaf of the level, one level per event from `depth` on; the leaves get empty cells.
void GrowLevels(DefinitionTreeNode& parent, const std::vector<InfluenceNodeRecord*>& events, size_t depth)
{
    if (depth == events.size()) {
        parent.cell = std::make_unique<DefinitionCell>();
        return;
    }
    std::unique_ptr<DefinitionTreeNode>* slot = &parent.down;
    for (int state = 0; state < events[depth]->OutcomeCount(); ++state) {
        *slot = std::make_unique<DefinitionTreeNode>(events[depth]->variableName.Text(), state);
        GrowLevels(**slot, events, depth + 1);
        slot = &(*slot)->next;
    }
}

} // namespace

std::vector<StateChoice> ChoicesOf(const PathAssignment& assignment)
{
    std::vector<StateChoice> choices;
    choices.reserve(assignment.size());
    for (const PathState& entry : assignment)
        choices.push_back(StateChoice{entry.name.c_str(), entry.state});
    return choices;
}

std::string GeneratedVariables::NameFor(const std::string& expression)
{
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const Definition& d) { return d.expression == expression; });
    if (found != list.end())
        return found->name;
    list.push_back(Definition{"_pJ_" + std::to_string(++*counter), expression});
    return list.back().name;
}

BayesRevisionItem::BayesRevisionItem(TreeNode* branch, const RevisedEvent& revision,
                                     const PathAssignment& assignment, bool vertical, int& counter)
    : revised(revision.revised), predictors(revision.predictors), bindingNode(branch), generated{{}, &counter}
{
    if (predictors.size() >= 2)
        predictors = OrderDiagramNodes(nullptr, predictors, vertical, nullptr);
    InfluenceNodeRecord* first = predictors.front();
    if (const DefinitionTreeNode* table = first->DefinitionTree(InfluenceNodeRecord::ProbabilityTable))
        for (const DefinitionTreeNode* level = table->down.get(); level; level = level->down.get())
            if (!(level->name == first->variableName))
                contextNodes_.push_back(level->name.Text());
    std::vector<InfluenceNodeRecord*> events = predictors;
    events.push_back(revised);
    for (const PathState& entry : assignment)
        if (std::none_of(events.begin(), events.end(),
                         [&](const InfluenceNodeRecord* e) { return entry.name == e->variableName.Text(); }))
            context_.push_back(entry);
    GrowLevels(joint_, events, 0);
    PathAssignment extended = context_;
    for (const InfluenceNodeRecord* event : events)
        extended.push_back(PathState{event->variableName.Text(), 0});
    FillLeaves(joint_.down.get(), extended);
    FillSums(joint_.down.get());
}

void BayesRevisionItem::FillLeaves(DefinitionTreeNode* level, PathAssignment& extended)
{
    for (DefinitionTreeNode* node = level; node; node = node->next.get()) {
        SetState(extended, node->name.Text(), node->state);
        if (node->down) {
            FillLeaves(node->down.get(), extended);
            continue;
        }
        std::vector<std::string> factors{CellText(revised, extended)};
        for (InfluenceNodeRecord* predictor : predictors)
            factors.push_back(CellText(predictor, extended));
        node->cell->formula = Joined(factors, "*").c_str();
        node->cell->kind = DefinitionCell::Formula;
    }
}

void BayesRevisionItem::FillSums(DefinitionTreeNode* level)
{
    for (DefinitionTreeNode* node = level; node; node = node->next.get()) {
        if (!node->down)
            continue;
        FillSums(node->down.get());
        std::vector<std::string> terms;
        for (const DefinitionTreeNode* child = node->down.get(); child; child = child->next.get())
            terms.push_back(child->cell ? child->cell->formula.Text() : "");
        node->cell = std::make_unique<DefinitionCell>();
        node->cell->formula = generated.NameFor(Joined(terms, "+")).c_str();
        node->cell->kind = DefinitionCell::Formula;
    }
}

// A variable cell gives its name (listed with its definition), any other cell a generated variable of its
// text; "#" stands for one minus the node's other states under the same context.
std::string BayesRevisionItem::CellText(InfluenceNodeRecord* node, const PathAssignment& extended)
{
    const DefinitionCell* cell = node->FindCell(ChoicesOf(extended), InfluenceNodeRecord::ProbabilityTable, true);
    if (cell == nullptr || cell->kind == DefinitionCell::Empty)
        return std::string();
    if (cell->kind == DefinitionCell::Variable) {
        const std::string name = cell->formula.Text();
        if (std::none_of(generated.list.begin(), generated.list.end(),
                         [&](const GeneratedVariables::Definition& d) { return d.name == name; }))
            generated.list.push_back(GeneratedVariables::Definition{name, cell->expression.Text()});
        return name;
    }
    std::string text = cell->kind == DefinitionCell::ExpressionOnly ? cell->expression.Text() : cell->formula.Text();
    if (!text.empty() && text[0] == '#') {
        const char* name = node->variableName.Text();
        const int32_t own = StateOf(extended, name)->state;
        PathAssignment other = extended;
        std::vector<std::string> others;
        for (int32_t state = 0; state < node->OutcomeCount(); ++state) {
            if (state == own)
                continue;
            SetState(other, name, state);
            const DefinitionCell* sibling = node->FindCell(ChoicesOf(other), InfluenceNodeRecord::ProbabilityTable, true);
            // A second "#" among the states is left out rather than followed round.
            if (sibling != nullptr && sibling->formula.Text()[0] != '#')
                others.push_back(CellText(node, other));
        }
        others.erase(std::remove(others.begin(), others.end(), std::string()), others.end());
        const std::string sum = Joined(others, "+");
        text = sum.empty() ? "1" : others.size() > 1 ? "1-(" + sum + ")" : "1-" + sum;
    }
    return text.empty() ? text : generated.NameFor(text);
}

bool BayesRevisionItem::Matches(const InfluenceNodeRecord* node, const PathAssignment& assignment) const
{
    if (node != revised)
        return false;
    for (const PathState& entry : assignment) {
        if (std::find(contextNodes_.begin(), contextNodes_.end(), entry.name) == contextNodes_.end())
            continue;
        if (entry.name == revised->variableName.Text() ||
            std::any_of(predictors.begin(), predictors.end(),
                        [&](const InfluenceNodeRecord* p) { return entry.name == p->variableName.Text(); }))
            continue;
        const PathState* held = StateOf(context_, entry.name.c_str());
        if (held == nullptr || held->state != entry.state)
            return false;
    }
    return true;
}

std::string BayesRevisionItem::ConditionalText(const PathAssignment& assignment, bool closing) const
{
    std::vector<int32_t> path;
    std::vector<InfluenceNodeRecord*> events = predictors;
    events.push_back(revised);
    for (const InfluenceNodeRecord* event : events)
        if (const PathState* entry = StateOf(assignment, event->variableName.Text()); entry && entry->state >= 0)
            path.push_back(entry->state);
    std::vector<std::string> formulas{std::string()};
    const DefinitionTreeNode* node = &joint_;
    for (int32_t state : path) {
        node = node->down.get();
        for (int32_t i = 0; i < state && node; ++i)
            node = node->next.get();
        if (node == nullptr || !node->cell)
            return std::string();
        formulas.push_back(node->cell->formula.Text());
    }
    const size_t n = path.size();
    if (n < 2)
        return formulas.back();
    const std::string& denominator = formulas[n - 1];
    const std::string quotient = formulas[n] + "/If(" + denominator + "=0;1;" + denominator + ")";
    return closing ? "If(" + denominator + "=0;1;" + quotient + ")" : quotient;
}
