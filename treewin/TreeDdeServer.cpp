#include "treewin/TreeDdeServer.h"

#include "analysis/NodeLinks.h"
#include "treewin/TreeWindow.h"

TreeDdeServer::TreeDdeServer(TreeWindow* window, DdeServer* server, const char* name)
    : DdeServerTopic(server, name), window_(window)
{
}

HDDEDATA TreeDdeServer::Request(const DdeTransactionInfo& info)
{
    zString text;
    if (info.Format() != ClipboardFormat::Text || !LinkValueText(window_->Document(), info.ItemName().Text(), text))
        return nullptr;
    return info.MakeTextHandle(text.Text());
}

uintptr_t TreeDdeServer::AdviseStart(const DdeTransactionInfo& info)
{
    zString text;
    if (info.Format() != ClipboardFormat::Text || !LinkValueText(window_->Document(), info.ItemName().Text(), text))
        return 0;
    if (FindItem(info.ItemName().Text()) == nullptr)
        new TreeDdeItem(this, info);
    return DDE_FACK;
}

void TreeDdeServer::UpdateItem(int id, const char* text)
{
    zString name;
    TreeWindow::DdeItemName(id, name);
    if (auto* item = static_cast<TreeDdeItem*>(FindItem(name.Text())))
        item->SetValue(text);
}

TreeDdeItem::TreeDdeItem(TreeDdeServer* topic, const DdeTransactionInfo& info) : DdeServerItem(topic, info)
{
}

HDDEDATA TreeDdeItem::RenderValue(const DdeTransactionInfo& info)
{
    if (info.Format() != ClipboardFormat::Text)
        return nullptr;
    return info.MakeTextHandle(value_.Text());
}

void TreeDdeItem::SetValue(const char* text)
{
    value_ = text;
    PostAdvise();
}
