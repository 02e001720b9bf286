#include "analysis/VariableSubstitution.h"

#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PresenterSlot.h"
#include "model/CloneCopies.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kRiskPreferenceItem = "$$ Risk Pref $$";
constexpr const char* kDocumentDefaultItem = "$$ Doc Default $$";

using ChooserSlot = PresenterSlot<VariableRange, DefinitionChooser>;

}  // namespace

bool AddDefinitionIfPresent(RangeBindingList& list, TreeNode* node, const char* upperName)
{
    VariableDefinition* definition = node->FindBinding(upperName, true);
    if (definition == nullptr)
        return false;
    auto* entry = new RangeBinding{definition, node, definition->definition.Text()};
    if (!list.Add(entry))
        delete entry;
    return true;
}

namespace {

// Depth first with children in order, on a stack of its own: trees may be far deeper than the native stack.
void CollectInSubtree(RangeBindingList& list, TreeNode* start, const char* upperName)
{
    std::vector<TreeNode*> pending;
    for (int i = start->childCount - 1; i >= 0; --i)
        pending.push_back(start->GetChild(i));
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        AddDefinitionIfPresent(list, node, upperName);
        if (node->cloneStatus == CloneCopyNode)
            continue;
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
}

struct BindingText {
    const char* name;
    const char* text;
};

// The definition's text at every clone counterpart of its node.
void SetInCloneCopies(const RangeBinding& entry, const char* text)
{
    BindingText change{entry.definition->name.Text(), text};
    ForEachCloneCounterpart(entry.node, [](TreeNode* counterpart, TreeNode*, void* arg) {
        const auto* what = static_cast<BindingText*>(arg);
        counterpart->SetBinding(what->name, what->text, false);
    }, &change);
}

}  // namespace

void CollectVariableDefinitions(RangeBindingList& list, TreeNode* start, const char* upperName, bool subtree)
{
    for (TreeNode* node = start; node != nullptr; node = node->parent) {
        if (AddDefinitionIfPresent(list, node, upperName))
            break;
    }
    if (subtree)
        CollectInSubtree(list, start, upperName);
}

void SetBindings(RangeBindingList& list, double value, const char* text)
{
    for (int i = 0; i < list.Count(); ++i) {
        RangeBinding* entry = list.At(i);
        if (entry->definition == nullptr)
            continue;
        entry->definition->definition.SetNumber(value, text);
        entry->node->ModelChanged();
        SetInCloneCopies(*entry, text);
    }
}

void RestoreBindings(RangeBindingList& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        RangeBinding* entry = list.At(i);
        if (entry->definition == nullptr)
            continue;
        entry->definition->definition.SetText(entry->savedText.Text());
        entry->node->ModelChanged();
        SetInCloneCopies(*entry, entry->savedText.Text());
    }
}

const zString* StoredItemReader::Next()
{
    return next < list.Count() ? list.At(next++) : nullptr;
}

double ReadNumberItem(StoredItemReader& items, int& error)
{
    if (error != 0)
        return 0.0;
    const zString* item = items.Next();
    if (item == nullptr) {
        error = 1;
        return 0.0;
    }
    double value = 0.0;
    ParseNumber(item->Text(), value, error);
    return error != 0 ? 0.0 : value;
}

const char* const kNotEnoughMemoryText =
    "There is not enough memory to perform the requested analysis. Please try closing other applications or "
    "documents, or try using fewer intervals.";

zString VariableLabel(const TreeDocument* document, const zString& name)
{
    zString label = name;
    if (const DocVariable* variable = document->FindVariable(name.Text(), false))
        variable->GetLabel(label);
    return label;
}

const char* StoredItemText(const NameList& items, int i)
{
    return items.At(i) != nullptr ? items.At(i)->Text() : "";
}

bool ReadIntegerItem(const NameList& items, int i, long& out)
{
    const zString* text = items.At(i);
    if (text == nullptr || text->IsEmpty())
        return false;
    char* end = nullptr;
    out = std::strtol(text->Text(), &end, 10);
    return *end == '\0';
}

void AppendAtNode(zString& text, TreeDocument* document, const char* path)
{
    text += "\r\nAt ";
    if (TreeNode* found = document != nullptr ? FindNodeByPath(document->Root, path) : nullptr)
        text += NodeMention(*found, "Node");
    else
        text += "Node \"\"";
}

void AddNumberItem(NameList& items, long number)
{
    items.AddText(std::to_string(number).c_str());
}

StoredAnalysis* NewStoredRecordAt(int kind, const TreeNode* node, int templateAllowed)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = kind;
    record->templateAllowed = static_cast<int16_t>(templateAllowed);
    zString path;
    NodePathString(node, path, nullptr);
    record->parameters->AddCopy(path);
    return record;
}

void ReadValueItem(StoredItemReader& items, int& error, FormattedValue& value)
{
    if (error != 0)
        return;
    const zString* item = items.Next();
    if (item == nullptr) {
        error = 1;
        return;
    }
    value.text = *item;
    int parseError = 0;
    ParseNumber(item->Text(), value.value, parseError);
}

void CoefficientText(const TreeDocument* document, zString& out)
{
    FormatNumber(DefaultNumericFormat, document->RiskAssessment.coefficient, out, false, false, -9);
}

void StoreBindingsText(const RangeBindingList& list, NameList& items)
{
    zString text;
    AddNumberItem(items, list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        const RangeBinding* entry = list.At(i);
        if (entry->node == nullptr) {
            items.AddText(kRiskPreferenceItem);
            continue;
        }
        NodePathString(entry->node, text, nullptr);
        items.AddCopy(text);
        entry->node->GetDisplayText(text, true);
        items.AddCopy(text);
    }
}

bool LoadBindingsText(RangeBindingList& list, StoredItemReader& items, TreeDocument* document, const zString& name)
{
    int error = 0;
    const int count = static_cast<int>(ReadNumberItem(items, error));
    if (error != 0 || count < 0)
        return false;
    zString key = name;
    key.MakeUpper();
    for (int i = 0; i < count; ++i) {
        const zString* item = items.Next();
        if (item == nullptr)
            return false;
        if (*item == kRiskPreferenceItem) {
            auto* entry = new RangeBinding;
            CoefficientText(document, entry->savedText);
            if (!list.Add(entry))
                delete entry;
            continue;
        }
        TreeNode* node = *item == kDocumentDefaultItem ? document->Root : FindNodeByPath(document->Root, item->Text());
        if (node == nullptr || !AddDefinitionIfPresent(list, node, key.Text()) || items.Next() == nullptr)
            return false;
    }
    return true;
}

bool CollectAndCheckDefinitions(SensitivityRangeSet& set, TreeNode* node, TreeDocument* document)
{
    for (int r = 0; r < set.Count(); ++r) {
        VariableRange* range = set.RangeAt(r);
        if (range->bindings.Count() > 0)
            continue;
        CollectVariableDefinitions(range->bindings, node, range->key.Text(), true);
        zString description;
        range->Describe(description);
        if (!CheckDefinitions(document, *range, description))
            return false;
    }
    return true;
}

void CloseRangeWindows(SensitivityRangeSet& set, TreeDocument* document)
{
    for (int r = 0; r < set.Count(); ++r) {
        VariableRange* range = set.RangeAt(r);
        zString name(range->name);
        const DocVariable* variable = FindVariableTrimmed(*document, name) ? document->FindVariable(name.Text(), false)
                                                                         : nullptr;
        if (variable != nullptr && document->View != nullptr)
            document->View->CloseVariableWindows(*variable);
        for (int i = 0; i < range->bindings.Count(); ++i) {
            RangeBinding* entry = range->bindings.At(i);
            if (entry->definition != nullptr)
                entry->savedText = entry->definition->definition.Text();
        }
    }
}

DefinitionChooser SetDefinitionChooser(DefinitionChooser chooser)
{
    return ChooserSlot::Replace(std::move(chooser));
}

bool CheckDefinitions(TreeDocument* document, VariableRange& range, const zString& rangeText)
{
    RangeBindingList& list = range.bindings;
    if (list.Count() == 0) {
        zString message("The variable \"");
        message += range.name;
        message += "\" has no definitions.";
        ReportFailure(OutcomeCode::VariableWithoutDefinitions, nullptr, "Sensitivity Error", message.Text(), -1);
        return false;
    }
    if (list.Count() == 1 || !ChooserSlot::Current())
        return true;
    {
        OutcomeScopePause dialog;
        if (!ChooserSlot::Current()(list, document, range.name, rangeText))
            return false;
    }
    if (list.Count() == 0) {
        ReportFailure(OutcomeCode::NoUsableDefinitions, nullptr, "Sensitivity Error", "No non-degenerate variable definitions exist. The analysis will not be completed.",
                     -1);
        return false;
    }
    return true;
}
