#include "model/EvalContext.h"
#include "model/SpreadsheetLinks.h"

#include "foundation/Host.h"
#include "foundation/UniformRandom.h"
#include "foundation/MessageBoxes.h"
#include "formula/Expression.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/NameResolution.h"
#include "formula/TableDirectory.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/StringHelpers.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"

#include <cstring>

const Expression* BoundDefinitionAt(TreeNode* node, const char* upperName)
{
    if (node == nullptr || node->document == nullptr || !node->document->HasVariable(upperName, true))
        return nullptr;
    for (TreeNode* at = node; at != nullptr; at = at->parent) {
        if (at->bindings == nullptr)
            continue;
        if (const VariableDefinition* definition = at->bindings->Find(upperName))
            return definition->IsBraced() ? nullptr : &definition->definition;
    }
    return nullptr;
}

const TreeNode* NameScope(const TreeNode* node)
{
    while (node->bindings == nullptr && node->parent != nullptr)
        node = node->parent;
    return node;
}

EvalContext::EvalContext(TreeDocument* tree, TreeNode* node)
    : document(tree),
      currentNode(node != nullptr || tree == nullptr ? node : tree->Root),
      startNode(currentNode),
      bindingNode(node)
{
    NoteResolutionStart(nullptr);
}

void EvalContext::NoteResolutionStart(const TreeNode* scope)
{
    const bool inTree = document != nullptr && currentNode != nullptr && currentNode->document == document;
    resolutionStart = !inTree ? nullptr : scope != nullptr ? scope : NameScope(currentNode);
}

void EvalContext::Retarget(TreeNode* node, const TreeNode* scope)
{
    currentNode = node != nullptr || document == nullptr ? node : document->Root;
    startNode = currentNode;
    bindingNode = node;
    errorNode = nullptr;
    guardNames.clear();
    NoteResolutionStart(node != nullptr ? scope : nullptr);
}

CalcState* EvalContext::GetCalcState()
{
    if (document != nullptr)
        return &document->CalcStateRecord;
    return EvalContextBase::GetCalcState();
}

int EvalContext::VariableCount()
{
    return document != nullptr ? document->Variables.Count() : 0;
}

bool EvalContext::IsGuarded(const char* upperName) const
{
    for (const char* guarded : guardNames) {
        if (std::strcmp(guarded, upperName) == 0)
            return true;
    }
    return false;
}

VariableDefinition* EvalContext::SearchUpward(TreeNode* from, const char* upperName)
{
    for (TreeNode* node = from; node != nullptr; node = node->parent) {
        if (node->bindings == nullptr)
            continue;
        if (VariableDefinition* definition = node->bindings->Find(upperName)) {
            bindingNode = node;
            return definition;
        }
    }
    bindingNode = from;
    return nullptr;
}

double EvalContext::VariableValue(const zString& upperName)
{
    int found = 0;
    double value = 0.0;
    VariableMemo* memo = formula->MemoLookup(upperName, currentNode, &found, &value);
    if (formula->HasError())
        return 0.0;
    if (found)
        return value;

    TreeNode* savedCurrent = currentNode;
    TreeNode* savedBinding = bindingNode;
    const char* name = upperName.Text();
    const bool movedUp = IsGuarded(name);
    VariableDefinition* definition;
    if (movedUp) {
        currentNode = bindingNode != nullptr ? bindingNode->parent : nullptr;
        definition = SearchUpward(currentNode, name);
        if (definition != nullptr)
            currentNode = bindingNode->parent;
    } else {
        definition = SearchUpward(currentNode, name);
    }
    if (definition != nullptr && definition->IsBraced())
        definition = nullptr;

    if (definition != nullptr)
        value = DefinitionValue(*definition);
    currentNode = savedCurrent;
    if (!movedUp)
        bindingNode = savedBinding;

    if (definition == nullptr) {
        if (document == nullptr)
            return StandInRandom();
        const DocVariable* variable = document->FindVariable(name, true);
        if (variable == nullptr) {
            formula->SetError(FormulaUnknownVariable, &upperName);
            value = 0.0;
        } else if (variable->tFlag) {
            return variable->tValue3;
        } else {
            formula->SetError(FormulaNoDefinition, &upperName);
            value = 0.0;
        }
    }
    formula->MemoStore(memo, value, formula->HasError() ? 0 : 1);
    return value;
}

double EvalContext::DefinitionValue(VariableDefinition& definition)
{
    double value = 0.0;
    if (definition.definition.CachedNumber(&value) || definition.definition.GetConstant(&value))
        return value;
    // Names inside the definition resolve from elsewhere: no name's cache answers for them.
    const void* savedStart = resolutionStart;
    resolutionStart = nullptr;
    guardNames.push_back(definition.upperName.Text());
    value = formula->Evaluate(definition.definition);
    guardNames.pop_back();
    resolutionStart = savedStart;
    return value;
}

bool EvalContext::CacheAnswers(const NameResolutionCache& cache) const
{
    return document != nullptr && currentNode != nullptr && guardNames.empty() && resolutionStart != nullptr &&
           cache.generation == ResolutionGenerations::Names() && cache.scope == resolutionStart;
}

// The name's binding as the cache found it from the same scope (the nodes between the current one and its
// scope hold no bindings), with the node that holds it, as the search of VariableValue would find them.
bool EvalContext::ResolvedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value)
{
    if (!CacheAnswers(cache))
        return false;
    int found = 0;
    VariableMemo* memo = formula->MemoLookup(upperName, currentNode, &found, value);
    if (found)
        return true;
    TreeNode* savedBinding = bindingNode;
    bindingNode = static_cast<TreeNode*>(cache.holder);
    *value = DefinitionValue(*static_cast<VariableDefinition*>(cache.binding));
    bindingNode = savedBinding;
    formula->MemoStore(memo, *value, formula->HasError() ? 0 : 1);
    return true;
}

// Outside a definition's evaluation, a name bound at the start node or above to a definition of numbers, and
// known to the document, has that number as its value: the check of the name passes, and the memo would
// only repeat the same value. The binding found is remembered per name node and scope.
bool EvalContext::CachedVariableValue(const zString& upperName, NameResolutionCache& cache, double* value)
{
    if (document == nullptr || currentNode == nullptr || !guardNames.empty() || resolutionStart == nullptr)
        return false;
    VariableDefinition* definition;
    if (cache.generation == ResolutionGenerations::Names() && cache.scope == resolutionStart) {
        definition = static_cast<VariableDefinition*>(cache.binding);
    } else {
        const char* name = upperName.Text();
        if (!document->HasVariable(name, true))
            return false;
        TreeNode* savedBinding = bindingNode;
        definition = SearchUpward(currentNode, name);
        TreeNode* holder = bindingNode;
        bindingNode = savedBinding;
        if (definition == nullptr || definition->IsBraced())
            return false;
        cache.generation = ResolutionGenerations::Names();
        cache.scope = resolutionStart;
        cache.binding = definition;
        cache.holder = holder;
        cache.definition = &definition->definition;
    }
    // A definition already parsed to a number (or to numbers and operators) is read directly; anything else
    // asks the expression, which parses it when it has no tree yet.
    Expression& formula = definition->definition;
    return formula.CachedNumber(value) || formula.GetConstant(value) || formula.CachedNumber(value);
}

double EvalContext::LinkValue(int n)
{
    if (document == nullptr)
        return StandInRandom();
    zString number;
    AppendInt(number, n);
    DocumentLink* link = document->DocumentLinks.Find(n);
    if (link == nullptr) {
        formula->SetError(FormulaUndefinedLink, &number);
        return 0.0;
    }
    if (link->biDirectional != 0) {
        RefreshSpreadsheetLinks(*this, *link);
        if (formula->HasError())
            return 0.0;
    }
    zString text;
    link->GetItemText(text);
    if (text.IsEmpty()) {
        formula->SetError(FormulaEmptyLink, &number);
        return 0.0;
    }
    double value = 0.0;
    int error = 0;
    ParseNumber(text.Text(), value, error);
    if (error != 0) {
        formula->SetError(FormulaUnparsableLink, &number);
        return 0.0;
    }
    return value;
}

int EvalContext::DistributionValue(int n, int resample, double* value, RunFault& fault)
{
    if (document == nullptr)
        return EvalContextBase::DistributionValue(n, resample, value, fault);
    DistributionRecord* record = document->FindDistributionByIndex(n);
    if (record == nullptr)
        return 0;
    *value = resample ? record->CurrentSample(&fault) : record->ExpectedValue(&fault);
    return fault ? -1 : 1;
}

void EvalContext::CheckUndefinedVariable(const zString& name, const zString& upperName)
{
    if (document == nullptr || Host::Silenced(Silence::FormulaMessages) ||
        document->HasVariable(upperName.Text(), true))
        return;
    if (formula->IsParseOnly() && CheckVariableName(name, false, false)) {
        zString question("The variable \"$1\" is not defined. Do you want to create a variable with that name?");
        SubstituteArgs(question, name.Text());
        if (AskYesNo(nullptr, question.Text(), -1) == 1) {
            TreeDocumentView* view = document->View;
            const DocVariable* made = view != nullptr ? view->CreateAskedVariable(name.Text())
                                                      : document->EnsureVariable(name.Text(), nullptr);
            if (made != nullptr)
                return;
        }
    }
    formula->SetError(FormulaUnknownVariable, &name);
}

void EvalContext::OfferNewTable(const zString& name)
{
    if (Host::Silenced(Silence::FormulaMessages))
        return;
    zString question("The table \"$1\" is not defined. Do you want to create a table with that name?");
    SubstituteArgs(question, name.Text());
    if (AskYesNo(nullptr, question.Text(), -1) == 1) {
        zString tableName(name);
        ProvideTable(tableName);
    }
}

void EvalContext::NoteErrorNode()
{
    errorNode = currentNode != nullptr ? currentNode : startNode;
}

void EvalContext::AppendNodePart(zString& message, const zString& formulaName)
{
    if (errorNode == nullptr || formulaName == "given text" || noNodeInMessages != 0)
        return;
    message += " of ";
    message += NodeMention(*errorNode);
}

void EvalContext::ReportMessage(OutcomeNotice notice)
{
    if (errorNode != nullptr && document != nullptr)
        notice.node = errorNode->CloneCopyRoot()->TopCollapsedAncestor();
    EvalContextBase::ReportMessage(notice);
}
