#include "analysis/NodeValueRecord.h"

#include "model/StoredAnalysis.h"
#include "foundation/StringHelpers.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"

namespace {

void AddNumber(StoredNameList& parameters, long number)
{
    zString text;
    AppendInt(text, number);
    parameters.AddCopy(text);
}

}  // namespace

StoredAnalysis* MakeNodeValueStoredRecord(const NodeChildList& nodes, int commandId, int templateAllowed)
{
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = NodeValuesKind;
    record->templateAllowed = static_cast<int16_t>(templateAllowed);
    AddNumber(*record->parameters, commandId);
    AddNumber(*record->parameters, nodes.Count());
    for (int i = 0; i < nodes.Count(); ++i) {
        zString path;
        NodePathString(nodes.At(i), path, nullptr);
        record->parameters->AddCopy(path);
    }
    return record;
}

StoredAnalysis* MakeNodeValueRecord(TreeNode* node, int commandId, int templateAllowed)
{
    NodeChildList nodes(1, false);
    nodes.Add(node);
    return MakeNodeValueStoredRecord(nodes, commandId, templateAllowed);
}
