#pragma once
// Making a document's links to other programs' values: from a link on the clipboard, or from its service,
// topic and item. A formula reaches a link's value through the link function with the link's index.

#include "foundation/zString.h"

class DdeLinkManager;
class DocumentLinkList;
class DocumentWindow;

// The index of the DDE link to the item of the topic on the service: an equal link of the list is reused
// (taking the value when one is given); otherwise a new link with the next free index is inserted.
int CreateDdeLink(DocumentLinkList& links, const char* application, const char* topic, const char* item,
                  const char* value);
// Makes (or reuses) the link that the clipboard holds and gives the formula text that reads it ("Sub(3)");
// a given index above 0 is used as it is. 0, after an error box where something is wrong, when no link
// was made: nothing pasteable, a malformed link, or a link to the window's own document.
int PasteLinkFromClipboard(DdeLinkManager& manager, DocumentLinkList& links, DocumentWindow& window,
                           zString& formula, int index);
