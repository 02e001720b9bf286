#pragma once
// Define Variable (template 31109): the definition of one variable at the nodes, or at the root as the
// document's default, keyed by the variable's name. OK stores the definition text at every node as one
// undo action; an empty text, once confirmed, removes the definition.

#include "treewin/NodeValueWindow.h"

class DefineVariableWindow : public NodeValueWindow {
public:

    DefineVariableWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name);

    void OnTreeTitleChanged(const char* title) override;
    bool Apply(bool commit) override;
    // The key, caption and name label follow the variable's new name; the definition's uses of it too.
    void RenameVariable(const char* oldName, const char* newName) override;
    bool IsDefinitionWindow() const override { return true; }
    // The definition evaluated at the first node; 0 when it does not evaluate.
    double CurrentValue() override;
    // "Value of" and the variable's description (else its name) in quotes.
    void ValueLabel(zString& out) const override;
    // The wheel assesses the definition's value, named as the value label names it.
    bool OffersProbability() const override { return true; }
    double CurrentProbability() override { return CurrentValue(); }
    void CurrentProbabilityText(zString& text) const override { ValueLabel(text); }

private:
    void ShowNameLabel();

    zString name;
    EditCtrl* edit = nullptr;
};
