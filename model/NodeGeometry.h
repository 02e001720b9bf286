#pragma once
// Where a node stands in the drawing of its tree and how big its parts are, in inches. The measuring code
// writes the sizes, the layout writes the places; both are recomputed from the node's texts and never stored.

#include <cstdint>

struct NodeGeometry {
    // Place: top-left of the node's box, the right end of its branch (where its symbol is drawn), the bottom
    // of its box, and the vertical extent of the box together with every shown descendant's box.
    float X = 0.0f;
    float Y = 0.0f;
    float SymbolX = 0.0f;
    float YBottom = 0.0f;
    float SubtreeTop = 0.0f;
    float SubtreeHeight = 0.0f;
    // The layout column the node stands in (the root's is 0).
    int32_t Column = 0;

    // Measured sizes.
    float NameWidth = 0.0f;
    float NameHeight = 0.0f;
    float ProbWidth = 0.0f;
    float ProbHeight = 0.0f;
    float SecondTextWidth = 0.0f;
    float SecondTextHeight = 0.0f;
    float DefinitionsWidth = 0.0f;
    float DefinitionsHeight = 0.0f;
    float BoxWidth = 0.0f;
    float BoxHeight = 0.0f;
    float RollBackBoxWidth = 0.0f;
    uint8_t LineCount = 0;

    // A move of the whole subtree that the layout has applied to this node but not yet to its descendants.
    float PendingDx = 0.0f;
    float PendingDy = 0.0f;

    // Distance from the top of the box to the branch line.
    float BranchOffset() const
    {
        return NameHeight + 0.03f + (SecondTextHeight > 0.0f ? SecondTextHeight + 0.18f : 0.0f);
    }
    float BranchY() const { return Y + BranchOffset(); }
    // Whether the node has a second text: its block stands above the name.
    float SecondTextBlock() const { return SecondTextHeight > 0.0f ? SecondTextHeight + 0.18f : 0.0f; }
};
