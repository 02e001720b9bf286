#pragma once
// What a tree document tells the window that shows it.

class TreeDocumentView {
public:
    virtual ~TreeDocumentView() = default;
    // The document's variables were added, renamed or deleted.
    virtual void VariablesChanged() = 0;
};
