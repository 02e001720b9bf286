#include "model/NodeProgress.h"

#include "foundation/Archive.h"
#include "foundation/Host.h"
#include "foundation/HostPace.h"
#include "model/TreeDocument.h"

#include <string>

namespace {

constexpr int32_t kBarFromNodes = 100;

// The bar or the status line moves a few times a second; a read or save of the nodes pushes a fresh pace.
HostPace& Pace()
{
    static HostPace pace(64);
    return pace;
}

} // namespace

NodeProgressScope::NodeProgressScope(TreeDocument& document) : document_(document)
{
    document_.NodesLoaded = 0;
    Pace() = HostPace(64);
    const int32_t total = document_.StoredNodeCount;
    if (total >= kBarFromNodes)
        document_.NodeProgressHandle = TheHost().PushProgress((std::to_string(total) + " Nodes  ").c_str(), total);
}

NodeProgressScope::~NodeProgressScope()
{
    if (document_.NodeProgressHandle != 0)
        TheHost().PopProgress(document_.NodeProgressHandle);
    document_.NodeProgressHandle = 0;
}

void ReportNodeProgress(TreeDocument* document, Archive& archive)
{
    if (document == nullptr)
        return;
    const int32_t count = ++document->NodesLoaded;
    const int32_t total = document->StoredNodeCount;
    if (count != 1 && count != total && !Pace().Due())
        return;
    if (document->NodeProgressHandle != 0) {
        TheHost().StepProgress(document->NodeProgressHandle, count);
        return;
    }
    std::string text = (archive.IsLoading() ? "Nodes Loaded: " : "Nodes Saved: ") + std::to_string(count);
    if (total > 0)
        text += " of " + std::to_string(total);
    TheHost().ShowStatus(text.c_str());
}
