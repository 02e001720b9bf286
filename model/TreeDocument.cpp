#include "model/TreeDocument.h"

#include "foundation/Host.h"
#include "model/DocumentVariableOps.h"
#include "model/EvalContext.h"
#include "model/NameRules.h"
#include "model/NodeFormula.h"
#include "model/TreeNode.h"
#include "model/TreeDocumentView.h"
#include "model/TreeWalks.h"

TreeDocument::TreeDocument(TreeNode* root)
{
    DocumentLinks.listener = this;
    if (root == nullptr) {
        Root = new TreeNode(this);
        Root->SetKind(DecisionNode, true);
        return;
    }
    Root = root;
    WalkTreeWithSkip(
        Root, [](TreeNode* node, void* window) { node->SetDocument(static_cast<TreeDocument*>(window)); }, this, false);
    SetModified(1);
}

TreeNode* TreeDocument::AddChild(TreeNode* parent, int kind, const char* name, const char* probability,
                                 const char* payoff)
{
    auto* node = new TreeNode(this);
    node->SetKind(kind, false);
    // Code building a tree may pass null for "no text".
    node->SetText(name != nullptr ? name : "", false);
    node->SetProbabilityText(probability != nullptr ? probability : "", false);
    if (payoff != nullptr)
        node->SetPayoffText(payoff, 0, false);
    if (!parent->CheckRoomForChildren(1) || !parent->InsertChild(node, -1)) {
        delete node;
        return nullptr;
    }
    return node;
}

TreeDocument::~TreeDocument()
{
    // A run still going ends while the document it steps on is whole.
    OwnedAnalysis.reset();
    ReleaseAnalyses();
    delete Root;
}

EvalContextBase* TreeDocument::NewParameterContext()
{
    auto* context = new EvalContext(this, nullptr);
    context->noNodeInMessages = 1;
    return context;
}

NodeFormulaEvaluator& TreeDocument::MakeFormulaEvaluator()
{
    sharedEvaluator = std::make_unique<NodeFormulaEvaluator>(this);
    return *sharedEvaluator;
}

DocVariable* TreeDocument::FindVariable(const char* name, bool alreadyUpper) const
{
    if (alreadyUpper)
        return FindVariableDefinition(Variables, name);
    zString upperName(name);
    upperName.MakeUpper();
    return FindVariableDefinition(Variables, upperName.Text());
}

void TreeDocument::ApplyToDistributions(RunFault* fault)
{
    RunFault localFault;
    RunFault* flag = fault ? fault : &localFault;
    for (int i = 0; i < Distributions.Count() && !*flag; ++i)
        Distributions.RecordAt(i)->Sample(flag);
}

DocVariable* TreeDocument::EnsureVariable(const char* name, const char* defaultFormula)
{
    zString plainName(name);
    const bool trial = StripTMarker(plainName) != 0;
    DocVariable* variable = FindVariable(plainName.Text(), false);
    if (variable == nullptr) {
        variable = new DocVariable(plainName.Text());
        if (Variables.InsertSorted(variable) < 0) {
            delete variable;
            return nullptr;
        }
        if (trial) {
            variable->tFlag = 1;
            variable->tValue1 = variable->tValue2 = variable->tValue3 = 0.0f;
        }
        VariablesChanged();
    }
    if (defaultFormula != nullptr && Root != nullptr)
        Root->SetBinding(name, defaultFormula, true);
    return variable;
}

void TreeDocument::VariablesChanged()
{
    ++EditCount;
    if (View != nullptr)
        View->VariablesChanged();
}

int TreeDocument::AddCloneMaster(TreeNode* node, const char* name)
{
    // A node read as a master keeps its stored id.
    if (node->cloneStatus != CloneMasterNode) {
        node->cloneId = static_cast<int16_t>(NewCloneId());
        node->cloneStatus = CloneMasterNode;
    }
    auto* ref = new NodeRef;
    ref->id = node->cloneId;
    ref->node = node;
    ref->name = name;
    CloneMasters.InsertSorted(ref);
    return ref->id;
}

void TreeDocument::CloneName(int cloneId, zString& out) const
{
    const NodeRef* ref = CloneMasters.FindId(cloneId);
    out = ref != nullptr ? ref->name : zString();
}

bool TreeDocument::IsCloneNameUsed(const char* name) const
{
    for (int i = 0; i < CloneMasters.Count(); ++i)
        if (CloneMasters.At(i)->name == name)
            return true;
    return false;
}

void TreeDocument::RemoveCloneMaster(int cloneId, bool removeCopies)
{
    if (cloneId < 0)
        return;
    if (removeCopies && Root != nullptr)
        Root->RemoveCloneCopiesOf(cloneId);
    NodeRef* ref = CloneMasters.FindId(cloneId);
    if (ref == nullptr)
        return;
    if (ref->node != nullptr) {
        ref->node->cloneId = -1;
        ref->node->cloneStatus = NotCloned;
    }
    CloneMasters.RemovePtr(ref);
    delete ref;
}

TreeNode* TreeDocument::FindCloneMaster(int cloneId) const
{
    const NodeRef* ref = CloneMasters.FindId(cloneId);
    return ref != nullptr ? ref->node : nullptr;
}

int TreeDocument::NewCloneId() const
{
    int previous = 0;
    for (int i = 0; i < CloneMasters.Count(); ++i) {
        const int id = CloneMasters.At(i)->id;
        if (id >= previous + 2)
            return id - 1;
        previous = id;
    }
    return previous + 1;
}

void TreeDocument::UpdateStatusIndicators()
{
    if (View != nullptr)
        View->StatusIndicatorsChanged();
}
