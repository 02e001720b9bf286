#pragma once
// The document's link items: each publishes one value of a node (its expected value, standard deviation or
// path probability) to other programs under a 16-bit id, the link's index. The list keeps ascending order
// of id and is stored with the tree.

#include "model/DocumentLink.h"

class LinkItemList : public DocumentLinkList {
public:
    // Makes a link with the next free id and inserts it in id order; null when the list is full.
    DocumentLink* AddNew();
    // Deletes the item with that id; false when there is none.
    bool DeleteId(int id);
};
