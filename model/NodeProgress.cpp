#include "model/NodeProgress.h"

#include "foundation/Host.h"
#include "foundation/Archive.h"

#include <cstdio>

namespace {

const Archive* currentArchive = nullptr;
long nodeCount = 0;

}  // namespace

void ReportNodeProgress(TreeDocument*, Archive& archive)
{
    if (&archive != currentArchive) {
        currentArchive = &archive;
        nodeCount = 0;
    }
    ++nodeCount;
    if (nodeCount != 1 && nodeCount % 64 != 0)
        return;
    char text[48];
    std::snprintf(text, sizeof text, "%s%ld", archive.IsLoading() ? "Nodes Loaded: " : "Nodes Saved: ", nodeCount);
    TheHost().ShowStatus(text);
}

long ReportedNodeCount()
{
    return nodeCount;
}
