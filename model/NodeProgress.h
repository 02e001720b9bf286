#pragma once
// The progress shown while the node records of a tree are read or written.

class Archive;
class TreeDocument;

// Around the node records of one file: the document's count of records starts at 0, and with a known
// total (StoredNodeCount) of 100 nodes or more a status-bar bar headed by "<total> Nodes  " follows it.
class NodeProgressScope {
public:
    explicit NodeProgressScope(TreeDocument& document);
    ~NodeProgressScope();
    NodeProgressScope(const NodeProgressScope&) = delete;
    NodeProgressScope& operator=(const NodeProgressScope&) = delete;

private:
    TreeDocument& document_;
};

// Counts one node record read or written (the document's NodesLoaded) and moves the bar, or, without one,
// shows "Nodes Loaded: " or "Nodes Saved: " with the count, and " of " the total when it is known, in the
// status line (refreshed at the first record, the last, and a few times a second between).
void ReportNodeProgress(TreeDocument* document, Archive& archive);
