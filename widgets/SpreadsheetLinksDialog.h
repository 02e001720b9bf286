#pragma once
// Bi-Directional Links (4400): a tree's workbook, its refresh flag, and which variable each named cell of the
// workbook is tied to. A row is "cell\tmark\tvariable"; the mark " " ties nothing, "<--" writes the variable
// into the cell before a calculation, "-->>" reads the cell into the variable after it.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

class TreeDocument;

class SpreadsheetLinksDialog : public PresentedDialog<SpreadsheetLinksDialog> {
public:
    enum Action : int { NoAction = 0, WriteAction = 1, ReadAction = 2 };

    explicit SpreadsheetLinksDialog(TreeDocument& document);
    // True after OK: the tree's workbook, flag and variables' cells were stored.
    bool Run();

    // Opens the workbook at the path (asking first when no such file exists) and fills the rows with its
    // names and the variables tied to them. False when nothing was listed.
    bool Connect();
    // A row from its parts (an empty variable ties nothing).
    static zString MakeRow(const char* cell, int action, const char* variable);
    // The rows stored into the tree's variables; false, after a box, when a variable has two cells.
    bool Store();

    zString path;
    int refresh = 0;
    std::vector<zString> rows;

private:
    TreeDocument& document_;
    // The workbook's names were listed, so the rows are all its cells.
    bool connected_ = false;
    bool stored_ = false;
};
