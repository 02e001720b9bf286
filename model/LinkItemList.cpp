#include "model/LinkItemList.h"

DocumentLink* LinkItemList::AddNew()
{
    auto* item = new DocumentLink(NextIndex());
    if (item->index < 1 || !InsertSorted(item)) {
        delete item;
        return nullptr;
    }
    return item;
}

bool LinkItemList::DeleteId(int id)
{
    DocumentLink* item = Find(id);
    if (item == nullptr)
        return false;
    DeletePtr(item);
    return true;
}
