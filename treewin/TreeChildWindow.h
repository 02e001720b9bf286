#pragma once
// The base of the tool windows bound to one tree (variables, evaluator, find and replace, node-bound value
// windows, graph tables): built from a dialog template, it joins the tree's list of bound windows, which
// owns it, and leaves it when destroyed. Without a tree it belongs to the main frame.

#include "widgets/DocChildWindow.h"

#include <optional>

class TreeWindow;
struct TreeNode;
class zString;

class TreeChildWindow : public DocChildWindow {
public:
    // A counted window raises the tree's count of bound windows while it lives.
    TreeChildWindow(TreeWindow* tree, const ResourceId& templateId, bool counted);
    ~TreeChildWindow() override;

    TreeWindow* Tree() const { return tree_; }

    // 8: the Edit commands of the focused edit control, Insert Variable and Paste Link into that edit, then
    // a pick of the Operators or Keywords menu or of the tree's variables menu, which is typed into that
    // edit; any other menu or key command goes to the tree's command handler (the Options and Analysis
    // commands and the Probability Wheel are grayed here and do nothing).
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // The frame's tool bar and menu bar while the window is active: the window base's states, then the
    // tree's for its bound windows.
    void SetDefaultCommandStates() override;
    void UpdateMenus(HMENU bar) override;
    // Replaces the selection of the edit control that last had the focus by the text (not by an empty
    // one); with parentheses "()" follows and the caret stands between them. The edit takes the focus.
    virtual void InsertText(const char* text, bool withParentheses);
    // A pick of the formula menus into the focused edit: a function with "()" (or the Function Helper's
    // call), a table's name with "[]", else the item text of the command in the Operators menu, the
    // Keywords menu or the tree's variables menu (at most 50 characters); false when none has the command.
    bool InsertMenuPick(unsigned command);

    // The tree's title changed.
    virtual void OnTreeTitleChanged(const char* title);
    // A variable of the tree was renamed: the window follows where it shows the name. Nothing here.
    virtual void RenameVariable(const char* oldName, const char* newName) {}
    // Whether the window shows something of the object (a node, a variable) and closes with it.
    virtual bool DependsOn(const void* object) const;
    // Whether the object is the tree's variable of the name ("{T} " before it allowed).
    bool IsVariableNamed(const void* object, const char* name) const;
    // Whether the window edits the item named by the key (a variable's name or a fixed "***" key) at the
    // node; none here.
    virtual bool Matches(const TreeNode* node, const char* key) const { return false; }
    // While the tree is written to a file a window that holds temporary values in the tree shows the
    // original ones (true), afterwards its own again (false). Nothing here.
    virtual void ShowOriginalValues(bool original) {}
    // Text typed into the window and not yet taken goes into the tree, as OK takes it; false when it does not
    // parse (its error shown, the window kept with it). Nothing to take here.
    virtual bool EndEdit() { return true; }
    // Whether the window keeps temporary values in the tree; such a window closes before the tree changes
    // shape, giving them back.
    virtual bool HoldsTemporaryValues() const { return false; }
    // Whether the window offers a probability to the probability wheel; the probability, and the text that
    // names it.
    virtual bool OffersProbability() const { return false; }
    virtual double CurrentProbability();
    virtual void CurrentProbabilityText(zString& text) const;
    // The tree changed as a whole: the window closes (windows that can follow the tree override this).
    virtual void RefreshFromTree();

    // Closes a window that a new one of its kind replaces; its top-left in the frame's client area, for
    // ShowWhereReplaced (none without a window).
    static std::optional<POINT> CloseReplaced(TreeChildWindow* shown);
    // Shows the window, moved to where the window it replaced stood.
    void ShowWhereReplaced(const std::optional<POINT>& place);

protected:
    // The caption: the tree's title, then the suffix.
    void SetCaption(const char* suffix);

private:
    // The wheel on the offered probability; on OK its new value, as the tree displays it, into the edit.
    void AssessWithWheel();

    TreeWindow* tree_;
    bool counted_;
};
