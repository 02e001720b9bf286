#pragma once
// The base of the tool windows bound to one tree (variables, evaluator, find and replace, node-bound value
// windows, graph tables): built from a dialog template, it joins the tree's list of bound windows, which
// owns it, and leaves it when destroyed. Without a tree it belongs to the main frame.

#include "app/DocChildWindow.h"

class TreeWindow;
class zString;

class TreeChildWindow : public DocChildWindow {
public:
    // A counted window raises the tree's count of bound windows while it lives.
    TreeChildWindow(TreeWindow* tree, const ResourceId& templateId, bool counted);
    ~TreeChildWindow() override;

    TreeWindow* Tree() const { return tree_; }

    // The tree's title changed.
    virtual void OnTreeTitleChanged(const char* title);
    // Whether the window shows something of the object (a node, a variable) and closes with it.
    virtual bool DependsOn(const void* object) const;
    // The probability the window offers to the probability wheel, and its text.
    virtual double CurrentProbability() const;
    virtual void CurrentProbabilityText(zString& text) const;
    // The tree changed as a whole: the window closes (windows that can follow the tree override this).
    virtual void RefreshFromTree();

private:
    TreeWindow* tree_;
    bool counted_;
};
