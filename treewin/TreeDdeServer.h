#pragma once
// The DDE topic of a tree on the program's service: named after the tree's file path, its items are the
// tree's link ids as "DDE_" + id. A request answers the linked node value as text; an advise loop on an item
// gets the value that the tree publishes for it after each roll back. Only the text format is served.

#include "foundation/zString.h"
#include "framework/window/DdeServerTopic.h"

class TreeWindow;

class TreeDdeServer : public DdeServerTopic {
public:
    TreeDdeServer(TreeWindow* window, DdeServer* server, const char* name);

    // The value of the item as text in the tree's number format; 0 for another format or an item that
    // names no linked value of the tree.
    HDDEDATA Request(const DdeTransactionInfo& info) override;
    // Makes the item (or finds the one made before) in the text format; 0 for any other format or an item
    // that names no linked value of the tree.
    uintptr_t AdviseStart(const DdeTransactionInfo& info) override;

    // The item of link id `id`, when a client advises on it, takes the text as its value and sends it on.
    void UpdateItem(int id, const char* text);

private:
    TreeWindow* window_;
};

class TreeDdeItem : public DdeServerItem {
public:
    TreeDdeItem(TreeDdeServer* topic, const DdeTransactionInfo& info);

    HDDEDATA RenderValue(const DdeTransactionInfo& info) override;
    // Stores the text and tells the clients that advise on the item.
    void SetValue(const char* text);

private:
    zString value_;
};
