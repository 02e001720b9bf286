#pragma once
// Distributions (dialog 3440): the document's numbered distributions, one line per record (index, a tab,
// the comment), with the text of the selected one below; "&New..." adds a record with a picked
// distribution under the smallest free index, "&Delete" removes the selected one. As a chooser the dialog
// picks a record.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <cstdint>

class DistributionList;
class DistributionRecord;
class TreeWindow;

class DistributionsDialog : public PresentedDialog<DistributionsDialog> {
public:
    DistributionsDialog(TreeWindow* window, bool chooser);
    // 1 on OK (only a chooser has an OK button, "&Use"); on the screen without a presenter.
    int Run();

    // The record at the selected index, or null.
    DistributionRecord* Selected() const;
    // The text of the selected record's distribution ("Sample from table: " and the table's name for a
    // table sampling), empty when none.
    zString Description() const;
    // Picks a distribution and adds it as a new record, selected; false when none was picked.
    bool New();
    // New without marking the tree modified: the record added, or null.
    DistributionRecord* AddPicked();
    // Removes and destroys the selected record, unless its Properties dialog is open.
    void Delete();
    // Removes and destroys the record; the selection stays in the list.
    void Remove(DistributionRecord* record);
    // Distribution Properties of the selected record: its index (unique in the list), comment, distribution
    // ("&Edit..." picks it again) and resampling; nothing changes before OK, which re-sorts the list, keeps
    // the record selected and marks the tree modified. True after OK; false too when the record's
    // Properties dialog is already open (a chooser opened inside it).
    bool EditProperties();
    // The record's Properties dialog is open.
    bool InProperties(const DistributionRecord* record) const;
    // The smallest positive index no record uses.
    int32_t NextFreeIndex() const;

    TreeWindow* window;
    int selected = 0;
    bool chooser;
    DistributionList& list;

private:
    bool RunPropertiesDialog(DistributionRecord& record);
};
