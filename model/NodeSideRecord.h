#pragma once
// The side record of a node's link block: a distribution bound to the tree window and a text. A node and its
// copies share one record.

#include "foundation/zString.h"

class Archive;
class Distribution;
class TreeDocument;

struct NodeSideRecord {
    NodeSideRecord() = default;
    NodeSideRecord(const NodeSideRecord&) = delete;
    NodeSideRecord& operator=(const NodeSideRecord&) = delete;
    ~NodeSideRecord();

    // Stored form: the distribution's stored form, then the text as a stored string. Loading replaces the
    // distribution and binds it to the window; an unknown distribution type sets format error 17.
    void Serialize(Archive& archive, TreeDocument* document);

    Distribution* distribution = nullptr;  // owned
    zString text;
};
