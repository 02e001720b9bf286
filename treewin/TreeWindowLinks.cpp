// The tree window's links to other programs: its DDE topic, named after its file, publishes the values of
// its link ids; a linked value arriving computes the tree's shown results again.

#include "treewin/TreeWindow.h"

#include "analysis/NodeLinks.h"
#include "analysis/TreeEngines.h"
#include "widgets/Shell.h"
#include "foundation/Host.h"
#include "model/DocumentLink.h"
#include "widgets/DdeLinkManager.h"
#include "treewin/TreeDdeServer.h"

#include <memory>
#include <string>

void TreeWindow::CreateDdeTopic()
{
    ddeTopic.reset();
    if (DdeLinkManager* links = TheShell().Links())
        ddeTopic = std::make_unique<TreeDdeServer>(this, &links->Server(), FullPath().Text());
}

void TreeWindow::LinkedValueArrived()
{
    if (document.RolledBack != RolledBackValues::Computed || document.CurrentAnalysis != nullptr) {
        Relayout();
        return;
    }
    RollBackResult result;
    {
        HostSilence quietFormulas(Silence::FormulaMessages);
        HostSilence quietNotices(Silence::Notices);
        result = RollBackDocument(document);
    }
    if (result.status != 0 || result.outcome.Failed()) {
        document.EndRolledBack();
        return;
    }
    UpdateAllNodeLinks(document.Root);
    document.RedrawEveryNode();
    Relayout();
}

void TreeWindow::DdeItemName(int id, zString& text)
{
    text = ("DDE_" + std::to_string(id)).c_str();
}

void TreeWindow::LinkValueChanged(int id, const char* text)
{
    // A value published through a side file is written there, with the tree's path; the others go to the
    // tree's DDE topic.
    DocumentLink* item = document.FindLinkEntry(id);
    if (item != nullptr && item->kind == DocumentLink::SideFileKind)
        item->WriteSideFile(text, FilePathObject());
    else if (ddeTopic)
        ddeTopic->UpdateItem(id, text);
}
