#pragma once
// Builds small trees in a headless tree document for the tests. It stands in for the window showing the
// tree: the nodes an analysis points at become its selection, as a tree window's do.

#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"

#include <memory>

class TreeBuilder : private TreeDocumentView {
public:
    TreeBuilder() : document(std::make_unique<TreeDocument>()) { document->View = this; }
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;

    TreeDocument& Document() { return *document; }
    TreeNode* Root() { return document->Root; }

    TreeNode* Add(TreeNode* parent, int kind, const char* name, const char* probability = "")
    {
        return document->AddChild(parent, kind, name, probability);
    }

    TreeNode* Terminal(TreeNode* parent, const char* name, const char* probability, const char* payoff0,
                       const char* payoff1 = nullptr)
    {
        TreeNode* node = document->AddChild(parent, TerminalNode, name, probability, payoff0);
        if (payoff1 != nullptr)
            node->SetPayoffText(payoff1, 1, false);
        return node;
    }

    // Defines a document variable and binds it at the node (the root binding is the tree default).
    void Bind(TreeNode* node, const char* name, const char* formula)
    {
        document->EnsureVariable(name, nullptr);
        node->SetBinding(name, formula, false);
    }

    bool IsNodeSelected(const TreeNode* node) const { return Selection.Contains(node); }
    NodeChildList Selection{4, Ownership::Borrows};

private:
    void VariablesChanged() override {}
    DocVariable* CreateAskedVariable(const char* name) override { return document->EnsureVariable(name, nullptr); }
    void PointAt(const NodeChildList& nodes) override { Selection.AssignShallow(nodes); }

    std::unique_ptr<TreeDocument> document;
};

// Adds distribution record `index` to the document: a uniform from `low` to `high`.
inline DistributionRecord* AddUniform(TreeDocument& document, int index, const char* low, const char* high)
{
    auto* record = new DistributionRecord;
    record->index = index;
    Distribution* uniform = MakeDistribution(DistUniform);
    uniform->Parameter(0)->SetText(low);
    uniform->Parameter(1)->SetText(high);
    record->SetDistribution(uniform);
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
    return record;
}
