#pragma once
// The Variables window of a tree (template 31108): the definitions made at the selected node and, on
// request, those it inherits from its ancestors and the tree defaults; a line opens its definition. A tree
// has at most one and forgets it when it is destroyed. Its text form is the Variables report, one row per
// document variable.

#include "foundation/NameList.h"
#include "foundation/zString.h"
#include "treewin/TreeChildWindow.h"

#include <memory>

class Bitmap;
class MenuButton;
class NamePopupMenu;
class NodeChildList;
class NotifyListCtrl;
struct TreeNode;

class VariablesWindow : public TreeChildWindow {
public:
    enum : unsigned {
        kFirstDefineNewCommand = 20000,
    };

    VariablesWindow(TreeWindow* tree, const NodeChildList& nodes);
    ~VariablesWindow() override;

    // The one selected node becomes current (none for no node or several); the list is filled again.
    void SetNodes(const NodeChildList& nodes);
    // The current node's own definitions, then (show-inherited) each ancestor's not yet listed under a
    // " ----- " header naming it, "(Tree Defaults)" for the root.
    void Refill();
    // The definition window of the selected line's variable at the node that defines it.
    void OpenSelectedDefinition();
    void SetShowInherited(bool on);

    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    long OnResize(SIZE client, UINT kind) override;
    void UpdateMenus(HMENU bar) override;
    void OnTreeTitleChanged(const char* title) override;
    void RefreshFromTree() override;

    // The current node, found by its path; null without one.
    TreeNode* Node() const;
    NotifyListCtrl* List() const { return list; }

    // The Variables report of the variables defined under the root: after the Variables Report dialog chose
    // its columns, a text report with a row per document variable (name, description, formula, value, low,
    // high, comment). A variable defined at several nodes shows the root's definition when the report is
    // told to, else no formula or value. Formulas that fail leave the value empty and show no message.
    static void CopyAsText(TreeNode* root, TreeWindow* window);

private:
    // Lists the node's definitions not shown yet; the header comes before the first of them.
    void AddDefinitions(const TreeNode* node, bool withHeader);
    void RebuildDefineNewMenu();
    void DefineNew(unsigned command);
    void CopyLines();
    long OnListKey(WindowEvent* event);
    // The list fills the window below the template's controls.
    void PlaceList();
    // Bitmap buttons over the arrow placeholders, each showing the picture of its id.
    void MakeArrowButtons();

    // Empty when no node or several are selected.
    zString nodePath;
    bool showInherited = false;
    bool severalSelected = false;
    // The upper-case names of the variables listed.
    NameList namesShown{2, true};
    NotifyListCtrl* list = nullptr;
    std::unique_ptr<NamePopupMenu> defineNewMenu;
    MenuButton* defineNewButton = nullptr;
    int listTop = 0;
    std::unique_ptr<Bitmap> arrowPictures[4];
};
