#pragma once
// Table conflict (dialog 3400, caption "KIVO"): a table of the given name exists already. "&Ignore the new
// table" is Cancel; "&Rename the new table..." (3402) and "&Overwrite the old table" (3403) end with OK.

#include "foundation/zString.h"

#include "CommandIds.h"

#include <functional>

class TableConflictDialog {
public:
    enum Choice : int {
        Ignore = 0,
        Rename = Ctl::TableNameConflict::RenameTheNewTable,
        Overwrite = Ctl::TableNameConflict::OverwriteTheOldTable
    };

    explicit TableConflictDialog(const char* tableName) : tableName(tableName) {}

    // The choice of the person; without a presenter the dialog runs on the screen (Ignore when there is no
    // application to run it).
    Choice Run();
    const zString& TableName() const { return tableName; }

    using Presenter = std::function<Choice(TableConflictDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    zString tableName;
};
