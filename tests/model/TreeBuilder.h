#pragma once
// Builds small trees in a headless tree window for the tests.

#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <memory>

class TreeBuilder {
public:
    TreeBuilder() : window(std::make_unique<TreeDocument>()) {}

    TreeDocument& Document() { return *window; }
    TreeNode* Root() { return window->Root; }

    TreeNode* Add(TreeNode* parent, int kind, const char* name, const char* probability = "")
    {
        return window->AddChild(parent, kind, name, probability);
    }

    TreeNode* Terminal(TreeNode* parent, const char* name, const char* probability, const char* payoff0,
                       const char* payoff1 = nullptr)
    {
        TreeNode* node = window->AddChild(parent, TerminalNode, name, probability, payoff0);
        if (payoff1 != nullptr)
            node->SetPayoffText(payoff1, 1, false);
        return node;
    }

    // Defines a document variable and binds it at the node (the root binding is the tree default).
    void Bind(TreeNode* node, const char* name, const char* formula)
    {
        window->EnsureVariable(name, nullptr);
        node->SetBinding(name, formula, false);
    }

private:
    std::unique_ptr<TreeDocument> window;
};
