#pragma once
// The status-line count of node records while a tree is loaded or saved.

class Archive;
class TreeDocument;

// Counts one node record read or written on the archive and shows "Nodes Loaded: " or "Nodes Saved: " with
// the count in the status line (refreshed every 64 nodes and at the first). A new archive starts at 1.
void ReportNodeProgress(TreeDocument* window, Archive& archive);
// The count of the archive last reported on.
long ReportedNodeCount();
