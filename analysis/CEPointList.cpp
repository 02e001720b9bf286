#include "analysis/CEPointList.h"

CEPointList::~CEPointList()
{
    Clear();
}

void CEPointList::StoreItem(Archive& archive, void* item)
{
    static_cast<CEPoint*>(item)->Serialize(archive);
}

void* CEPointList::LoadItem(Archive& archive)
{
    CEPoint* point = new CEPoint;
    point->Serialize(archive);
    return point;
}

void* CEPointList::CloneItem(void* item)
{
    return new CEPoint(*static_cast<CEPoint*>(item));
}

void CEPointList::DeleteItem(void* item)
{
    delete static_cast<CEPoint*>(item);
}
