#include "model/LinkItemList.h"

#include "foundation/Archive.h"

LinkItem* LinkItemList::Find(int id) const
{
    if (id < 1)
        return nullptr;
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->id == id)
            return At(i);
    }
    return nullptr;
}

int16_t LinkItemList::NewId() const
{
    int previous = 1;
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->id > previous + 1)
            return static_cast<int16_t>(previous + 1);
        previous = At(i)->id;
    }
    return static_cast<int16_t>(Count() == 0 ? 1 : previous + 1);
}

LinkItem* LinkItemList::AddNew()
{
    auto* item = new LinkItem(NewId());
    int at = 0;
    while (at < Count() && At(at)->id < item->id)
        ++at;
    if (item->id < 1 || !InsertAt(at, item)) {
        delete item;
        return nullptr;
    }
    return item;
}

bool LinkItemList::DeleteId(int id)
{
    LinkItem* item = Find(id);
    if (item == nullptr)
        return false;
    DeletePtr(item);
    return true;
}

void* LinkItemList::LoadItem(Archive& archive)
{
    archive.SetFormatError(Archive::FormatListMarkerOrCount);
    return nullptr;
}
