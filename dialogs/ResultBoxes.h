#pragma once
// Result columns beside the nodes where the tree visibly ends, after roll back. So far the tree asks only
// whether they show: where they do, a node's row of result boxes takes the place of its roll-back box.

class TreeWindow;

struct ResultColumns {
    // The number of columns of the tree's column list; 0 while ShowColumns is off.
    static int Count(const TreeWindow& window);
};

struct ResultBoxes {
    // The tree is rolled back and shows at least one result column.
    static bool Shown(const TreeWindow& window);
};
