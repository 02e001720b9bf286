#pragma once
// Define Variable (template 31109): the definition of one variable at the nodes, or at the root as the
// document's default, keyed by the variable's name. OK stores the definition text at every node as one
// undo action; an empty text, once confirmed, removes the definition.

#include "dialogs/NodeValueWindow.h"

class DefineVariableWindow : public NodeValueWindow {
public:
    enum : unsigned { kTemplateId = 31109, kDefinitionEdit = 31011, kDescriptionLabel = 31026 };

    DefineVariableWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name);

    void OnTreeTitleChanged(const char* title) override;
    bool Apply(bool commit) override;

private:
    zString name;
    EditCtrl* edit = nullptr;
};
