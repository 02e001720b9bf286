#pragma once
// The Variables window of a tree (template 31108) and its text form: the Variables report, one row per
// document variable.

class TreeWindow;
struct TreeNode;

class VariablesWindow {
public:
    enum : unsigned { kTemplateId = 31108 };

    // The Variables report of the variables defined under the root: after the Variables Report dialog chose
    // its columns, a text report with a row per document variable (name, description, formula, value, low,
    // high, comment). A variable defined at several nodes shows the root's definition when the report is
    // told to, else no formula or value. Formulas that fail leave the value empty and show no message.
    static void CopyAsText(TreeNode* root, TreeWindow* window);
};
