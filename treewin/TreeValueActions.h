#pragma once
// Undo actions that change values held at nodes (payoffs, variable definitions, probabilities set by the
// probability wheel, fonts, Markov settings) and the document's preferences. Nodes are kept as paths.

#include "foundation/FontRecord.h"
#include "formula/Expression.h"
#include "model/TreeCalcPrefs.h"
#include "model/TreeDisplayPrefs.h"
#include "treewin/TreeAction.h"

#include <memory>
#include <vector>

// "Preferences": the command has stored the new preferences in the window; the action holds the old ones
// and every toggle exchanges the two.
class TreePreferencesAction : public TreeAction {
public:
    TreePreferencesAction(TreeWindow* tree, const TreeDisplayPrefs& oldDisplay, const TreeCalcPrefs& oldCalc,
                          bool relayout);
    void Do() override;
    void Undo() override;
    void Redo() override { Undo(); }

    TreeDisplayPrefs display;
    TreeCalcPrefs calc;
    bool relayout;
};

// "Font Change" of one text: part 1 the node's text, 2 its probability, 4 its second text (the node's
// fonts 0, 1 and 2), 3 the selected note box.
class TreeFontChangeAction : public TreeAction {
public:
    TreeFontChangeAction(TreeWindow* tree, TreeNode* node, int part, const FontRecord& newFont);
    void Do() override;
    void Undo() override;

    zString path;
    int part;
    FontRecord newFont;
    // The node's own font before (none: it used the window's default), or the note's.
    std::unique_ptr<FontRecord> oldFont;
    NoteSnapshot note;

private:
    void Apply(const FontRecord* font);
};

// "Font Change" of the document's tree font: every toggle exchanges it with the kept one.
class TreeDocumentFontAction : public TreeAction {
public:
    TreeDocumentFontAction(TreeWindow* tree, const FontRecord& newFont);
    void Do() override;
    void Undo() override { Do(); }

    FontRecord font;
};

// "Change Payoff": the flagged payoffs (0 to 3) of every node take the new texts.
class TreeChangePayoffAction : public TreeAction {
public:
    TreeChangePayoffAction(TreeWindow* tree, const NodeChildList& nodes, const char* const texts[4],
                           const bool flags[4]);
    void Do() override;
    void Undo() override;

    struct Record {
        zString path;
        zString old[4];
    };
    std::vector<Record> records;
    zString texts[4];
    bool flags[4];

private:
    void Apply(bool useNew);
};

// "Define Variable "name"": every node (the root when none is given) binds the name to the text; an empty
// text removes the binding. Undo gives back each node's old definition, or removes a binding it lacked.
class TreeDefineVariableAction : public TreeAction {
public:
    TreeDefineVariableAction(TreeWindow* tree, const NodeChildList& nodes, const char* name, const char* text);
    void Do() override;
    void Undo() override;

    struct Record {
        zString path;
        Expression old;
        // The old binding's name as it was written.
        zString oldName;
        bool hadBinding = false;
        // A node that held no bindings at all holds none again after undo.
        bool hadBindings = false;
    };
    std::vector<Record> records;
    zString variable;
    zString text;

private:
    void Refresh(const NodeChildList& changed);
};

// "Probability Wheel": the node's children take the new probability texts and each variable record binds
// its name at its node to the new text.
class TreeProbabilityWheelAction : public TreeAction {
public:
    struct VariableRecord {
        zString name;
        zString newText;
        zString oldText;
        zString path;
        bool hadBinding = false;
        bool hadBindings = false;
    };
    // newTexts holds one text per child; each variable record has name, new text and node path filled.
    TreeProbabilityWheelAction(TreeWindow* tree, TreeNode* node, std::vector<VariableRecord> variables,
                               const NameList& newTexts);
    void Do() override { Apply(true); }
    void Undo() override { Apply(false); }

    ChildProbabilities probabilities;
    std::vector<VariableRecord> variables;
    zString path;

private:
    void Apply(bool useNew);
};

// "Markov Transition Node": every node jumps to the named state; its old target comes back on undo.
class TreeMarkovJumpAction : public TreeAction {
public:
    TreeMarkovJumpAction(TreeWindow* tree, const NodeChildList& nodes, const char* stateName);
    void Do() override { Apply(true); }
    void Undo() override { Apply(false); }

    NameList paths;
    NameList oldNames;
    zString newName;
    KeptMarkovSettings kept;

private:
    void Apply(bool useNew);
};

// "Set Markov Termination": every toggle exchanges the node's four termination texts and its shared one
// with the kept texts.
class TreeMarkovTerminationAction : public TreeAction {
public:
    TreeMarkovTerminationAction(TreeWindow* tree, TreeNode* node, const char* const texts[4], const char* shared);
    void Do() override;
    void Undo() override;

    zString texts[4];
    zString shared;
    zString path;
    KeptMarkovSettings kept;
};

// "Set Markov State Info": initial, incremental and final rewards of every node (reward kinds 0, 1, 2; a null
// text keeps each node's own) and, when the action covers one node, its tunnel count.
class TreeMarkovStateInfoAction : public TreeAction {
public:
    TreeMarkovStateInfoAction(TreeWindow* tree, const NodeChildList& nodes, int tunnels,
                              const char* const rewards[3][4]);
    void Do() override { Apply(true); }
    void Undo() override { Apply(false); }

    NameList paths;
    Expression rewards[3][4];
    bool written[3][4];
    // Entry 4 x node index + payoff of each reward kind.
    std::vector<Expression> old[3];
    KeptMarkovSettings kept;
    int tunnels;
    int oldTunnels = 0;

private:
    void Apply(bool useNew);
};

// "Set Markov Transition Rewards": the flagged payoffs' transition rewards of every node.
class TreeMarkovTransitionRewardsAction : public TreeAction {
public:
    TreeMarkovTransitionRewardsAction(TreeWindow* tree, const NodeChildList& nodes, const char* const texts[4],
                                      const bool flags[4]);
    void Do() override { Apply(true); }
    void Undo() override { Apply(false); }

    NameList paths;
    // 4 x node count, node by node.
    NameList old;
    zString texts[4];
    bool flags[4];
    KeptMarkovSettings kept;

private:
    void Apply(bool useNew);
};
