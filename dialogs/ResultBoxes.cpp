#include "dialogs/ResultBoxes.h"

#include "treewin/TreeWindow.h"

int ResultColumns::Count(const TreeWindow& window)
{
    const TreeDocument& document = window.Document();
    return document.DisplayPrefs.ShowColumns != 0 ? document.RollBackColumns.Count() : 0;
}

bool ResultBoxes::Shown(const TreeWindow& window)
{
    return window.Document().RolledBack != 0 && ResultColumns::Count(window) > 0;
}
