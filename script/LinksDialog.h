#pragma once
// The Links dialog (2190): a document's links to other programs' values, one row each ("3\t\tY\tnote": the
// index, "+" while its conversation is connected, "Y" for a bi-directional link, the description), and
// the deleting of links. The opener marks the document modified when the dialog reports a change.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

class DocumentLinkList;

class LinksDialog : public PresentedDialog<LinksDialog> {
public:
    enum : unsigned { kTemplateId = 2190 };

    explicit LinksDialog(DocumentLinkList& links) : links_(links) {}
    // True when the links were changed.
    bool Run();
    int Count() const;
    zString RowText(int row) const;
    // After the question, the rows' links (in list order) leave the list; nothing when the answer is No.
    void Delete(const std::vector<int>& rows);

private:
    DocumentLinkList& links_;
    bool changed_ = false;
};
