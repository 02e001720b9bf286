#pragma once
// The slider (template 31104): a variable tried at values between a low and a high value without editing
// its definition. Moving the scroll bar rewrites the definition of the variable at every chosen node that
// binds it to the value at the bar's position; closing the window puts the definitions back. The bindings
// are found again by node path and name on every move, and a binding whose text someone else changed in the
// meantime is left alone. Before the tree changes shape (a branch deleted, inserted or reordered, also by
// undo) the slider closes, so the definitions go back while the paths still lead to them and a deleted
// branch keeps its own definition in the undo history.

#include "foundation/NameList.h"
#include "foundation/zString.h"
#include "model/NodeChildList.h"
#include "treewin/TreeChildWindow.h"

#include <vector>

class VariableDefinition;

class SliderWindow : public TreeChildWindow {
public:

    // The nodes (the root when the list is empty), the variable's name, the values at the first and the last
    // position, and the number of intervals.
    SliderWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name, double low, double high,
                 int steps);
    // Puts back every definition the slider still holds.
    ~SliderWindow() override;

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // The title is the tree's followed by ": Slider".
    void OnTreeTitleChanged(const char* title) override;
    // Moves the bar: every binding held gets the text of the value there.
    void ApplyPosition(int position);
    // While a tree is saved the bindings show their original texts (true), then the slider's again.
    void ShowOriginalValues(bool original) override;
    // The slider closes before the tree changes shape: its paths would lead elsewhere afterwards.
    bool HoldsTemporaryValues() const override { return true; }

    bool IsForVariable(const char* other) const;
    // The slider closes with its variable.
    bool DependsOn(const void* object) const override;
    bool Matches(const TreeNode* node, const char* key) const override;
    void RenameVariable(const char* oldName, const char* newName) override;

    int Position() const { return position; }
    int Steps() const { return steps; }
    const zString& CurrentText() const { return current; }
    // The number of bindings the slider still holds.
    int BindingCount() const;

private:
    struct Entry {
        zString path;
        zString oldText;
        // The text the binding holds now, as the slider left it.
        zString shownText;
    };
    // The binding of the entry if it still holds what the slider left there, else null.
    VariableDefinition* FindEntry(const Entry& entry) const;
    void MakeScrollBar();
    long OnScroll(WindowEvent* event);

    NameList nodePaths;
    zString name;
    std::vector<Entry> entries;
    double low;
    double high;
    int steps;
    int position;
    zString current;
    HWND scrollBar = nullptr;
};
