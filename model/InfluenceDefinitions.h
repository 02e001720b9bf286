#pragma once
// The probability and value tables of an influence-diagram node: one cell for every combination of the
// states of the nodes the table is keyed by. A table is a tree: the root (no name, state -1) leads down
// through one level per keying node, each level a chain of siblings, one per state; every leaf holds a cell.

#include "foundation/zString.h"

#include <cstdint>
#include <memory>
#include <vector>

class Archive;

struct DefinitionCell {
    enum Kind : int32_t { Empty = 0, ExpressionOnly = 1, Variable = 2, Formula = 3 };
    static constexpr int16_t kSentinel = 2554;
    static constexpr uint32_t kFormatBadSentinel = 39;

    // Stores the texts and the number, then classifies.
    void Set(const char* formulaText, double value, const char* expressionText);
    // "#" first gives 3; both texts empty 0; a valid new variable name in formula 2; an empty formula 1;
    // anything else 3.
    void Classify();
    // What a table shows: kind 1 the expression; kind 2 the name, and "= " and the expression when there
    // is one; kind 3 the formula.
    void DisplayTexts(zString& first, zString& second) const;

    // Stored form:
    //   kind          i16
    //   number        double
    //   sentinel      i16, 2554 (another value read is format error 39; reading goes on)
    //   formula       stored string
    //   expression    stored string
    void Serialize(Archive& archive);

    zString formula;
    zString expression;
    double number = 0;
    int32_t kind = Empty;
};

class DefinitionTreeNode {
public:
    // The most levels a table has: a table keyed by more nodes could not be held anyway.
    static constexpr int kMostLevels = 64;

    DefinitionTreeNode() = default;
    DefinitionTreeNode(const char* levelName, int32_t levelState) : name(levelName), state(levelState) {}
    // Sibling chains are freed one by one, so no chain length can exhaust the stack.
    ~DefinitionTreeNode();
    DefinitionTreeNode(const DefinitionTreeNode&) = delete;
    DefinitionTreeNode& operator=(const DefinitionTreeNode&) = delete;

    // This node with its cell, everything below it and its following siblings.
    std::unique_ptr<DefinitionTreeNode> DeepCopy() const;
    // Steps down from this node to the first level named so (case-sensitive); this node is level 0; -1
    // when absent.
    int FindLevel(const char* levelName) const;

    // Stored form, one node:
    //   version record       3 bytes
    //   state                i16 (sign-extended when read, so -1 survives)
    //   name                 stored string
    //   down present         i16, then the node below in this form
    //   next present         i16, then the next sibling in this form
    //   cell present         i16, then the cell
    // A sibling's form thus nests inside its predecessor's; chains are read and written in a loop, and a
    // table deeper than kMostLevels is format error 39.
    void Serialize(Archive& archive);

    std::unique_ptr<DefinitionTreeNode> down;
    std::unique_ptr<DefinitionTreeNode> next;
    zString name;
    int32_t state = -1;
    std::unique_ptr<DefinitionCell> cell;

private:
    void Serialize(Archive& archive, int depth);
};

// A node that keys a table: its variable name and its number of states.
struct DefinitionKey {
    zString name;
    int states;
};

// Brings a table in step with its keying nodes, in their order: a new node's level goes on top, with the
// table below repeated under each of its states; a level whose node changed its number of states is cut
// or grown with copies of its last state; a level of no keying node goes, keeping its state-0 entries; a
// cell above the leaves moves down into every leaf, and every leaf ends with a cell.
void SyncDefinitionTree(DefinitionTreeNode& root, const std::vector<DefinitionKey>& keys);

// A state chosen for a keying node (-1: none in particular).
struct StateChoice {
    const char* name;
    int32_t state;
};

// The cell of the table for the chosen states (a level without a choice takes its first state); null when
// a choice lies past its level. Unless exact, an empty cell gives the nearest defined one: each level
// without a choice (last level first) tried through its states, then each chosen one through the others.
DefinitionCell* FindDefinitionCell(DefinitionTreeNode* root, const std::vector<StateChoice>& choices, bool exact);
