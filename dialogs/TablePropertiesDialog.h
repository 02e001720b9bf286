#pragma once
// Table Properties (dialog 3000): name, file name, comment, lookup method and the off-edge flag of a new or
// existing table. This class holds the dialog's values and its OK rule; without a presenter the dialog runs
// on the screen from its template.

#include "foundation/zString.h"

#include "CommandIds.h"

#include <cstdint>
#include <functional>

class LookupTable;

class TablePropertiesDialog {
public:

    // table null: a new table ("Properties: New Table").
    TablePropertiesDialog(const LookupTable* table, const char* name, const char* file, const char* comment,
                          int32_t method, bool offEdgeIsError);

    // Runs the dialog until OK passes its checks (1) or the user cancels (0).
    int RunModal();
    // The OK rule: name by the variable-name rule, then a legal file name, then a file no other table
    // uses. On a failure the message has been shown, FocusedField() names the field to select, and the
    // dialog stays open.
    bool OnOk();

    const zString& Caption() const { return caption; }
    int FocusedField() const { return focusedField; }

    // The values the dialog edits; the presenter writes them as the user would.
    zString name;
    zString file;
    zString comment;
    int32_t methodButton;
    int32_t offEdgeIsError;

    int32_t Method() const
    {
        return methodButton - Ctl::PropertiesNewTable::FileEdit;
    }

    // The person's side: given the open dialog, returns IDOK or IDCANCEL. Without a presenter the dialog
    // runs on the screen (Cancel when there is no application to run it).
    using Presenter = std::function<int(TablePropertiesDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    const LookupTable* table;
    zString caption;
    int focusedField = Ctl::PropertiesNewTable::NameEdit;
};
