#pragma once
// Add Table Entry and Edit Table Entry (dialog 2500): index and value fields for one pair of a lookup
// table. Editing shows one pair; adding starts with (0, 0) and "&More" keeps the pair and starts another.
// This class holds the pairs and the fields; without a presenter the dialog runs on the screen from its
// template.

#include "foundation/zString.h"

#include "CommandIds.h"

#include <functional>
#include <vector>

class TableEntryDialog {
public:

    struct Pair {
        double index;
        double value;
    };

    // Editing shows the given pair; adding starts with (0, 0).
    explicit TableEntryDialog(bool edit, double index = 0.0, double value = 0.0);

    const zString& Caption() const { return caption; }
    bool MoreShown() const { return !editing; }
    // "&More": keeps the fields' pair, appends (0, 0) and clears the fields; the index field takes the focus.
    void OnMore();
    // OK: keeps the fields' pair.
    void OnOk();
    // 1 on OK with Pairs() filled, 0 on Cancel.
    int RunModal();
    const std::vector<Pair>& Pairs() const { return pairs; }
    int FocusedField() const { return focusedField; }

    // The two real-number fields.
    double index;
    double value;

    // The person's side: given the open dialog, returns IDOK or IDCANCEL. Without a presenter the dialog
    // runs on the screen (Cancel when there is no application to run it).
    using Presenter = std::function<int(TableEntryDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    bool editing;
    zString caption;
    std::vector<Pair> pairs;
    int focusedField = Ctl::AddTableEntry::IndexEdit;
};
