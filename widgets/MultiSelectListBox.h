#pragma once
// A list box of a dialog in which several items can be selected; the selection is read into a cache of at
// most 100 indexes.

#include "foundation/zString.h"

#include <cstdint>

class ListIndexCtrl;
class WindowCL;

class MultiSelectListBox {
public:
    static constexpr int CacheSize = 100;

    // Binds the dialog's list box of the id.
    MultiSelectListBox(WindowCL* dialog, unsigned id);

    // Reads the selected indexes (at most 100) into the cache; the number read.
    int ReadSelection();
    // The i-th cached index.
    int SelectedAt(int i) const { return Selection[i]; }
    // The text of the i-th cached item; its index.
    int SelectedText(int i, zString& out) const;
    // Deselects every item, also beyond the first 100.
    void ClearSelection();
    void Select(int index, bool clearFirst);
    // The list box itself, for filling it.
    ListIndexCtrl* Box() const { return list_; }

    int32_t SelectionCount = 0;
    int32_t Selection[CacheSize] = {};

private:
    ListIndexCtrl* list_;
};
