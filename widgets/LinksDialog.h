#pragma once
// The Links dialog (2190): a document's links to other programs' values, one row each ("3\t\tY\tnote": the
// index, "+" while its conversation is connected, "Y" for a bi-directional link, the description), and
// the deleting of links. The opener marks the document modified when the dialog reports a change.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

class DocumentLink;
class DocumentLinkList;
class DocumentWindow;
class TreeDocument;

class LinksDialog : public PresentedDialog<LinksDialog> {
public:

    // The window, when given, is the document whose links they are: a link to another program's item can be
    // pasted into it. A tree's workbook path takes part in Replace Directories, and its spreadsheet links are
    // reached from here.
    explicit LinksDialog(DocumentLinkList& links, DocumentWindow* window = nullptr, TreeDocument* tree = nullptr)
        : links_(links), window_(window), tree_(tree)
    {
    }
    // True when the links were changed.
    bool Run();
    int Count() const;
    zString RowText(int row) const;
    // After the question, the rows' links (in list order) leave the list; nothing when the answer is No.
    void Delete(const std::vector<int>& rows);
    // Puts the rows' links on the clipboard in the "LinkPasser" form: a count, then per link its index,
    // application, topic, item and description.
    bool Copy(const std::vector<int>& rows) const;
    // The number of links the clipboard offers: one for another program's link, else those of that form.
    int LinksOnClipboard() const;
    // Makes (or reuses) a link for another program's link on the clipboard, or for each one of that form,
    // with its description; their rows.
    std::vector<int> Paste();
    // Replaces the search text throughout the source documents of the rows' links (every link when rows is
    // empty), which follow their new sources, and in the tree's workbook path; the rows whose source changed.
    std::vector<int> ReplaceInSources(const zString& search, const zString& replacement, std::vector<int> rows);
    // Link Properties on the row's link; after OK its new row, else -1.
    int Edit(int row);
    // Bi-Directional Links on the tree's spreadsheet links; false for a document that is no tree.
    bool EditSpreadsheetLinks();
    DocumentLink* At(int row) const;
    bool IsTree() const { return tree_ != nullptr; }

private:
    bool CanPasteProgramLink() const;

    DocumentLinkList& links_;
    DocumentWindow* window_;
    TreeDocument* tree_;
    bool changed_ = false;
};

// Link Properties (3480): the index (1 to 32000, not another link's), source document, item, description and
// bi-directional flag of one link.
class LinkSourceDialog : public PresentedDialog<LinkSourceDialog> {
public:
    LinkSourceDialog(DocumentLinkList& links, DocumentLink& link);
    // Shows the dialog; on OK (true) the link takes the fields and moves to its place in index order.
    bool Run();
    // Refuses an index that another link has; tells that a changed index may leave references behind.
    bool CheckIndex() const;

    int index;
    zString topic;
    zString item;
    zString description;
    int biDirectional;
    bool accepted = false;

private:
    DocumentLinkList& links_;
    DocumentLink& link_;
};
