#include "model/NoteBoxList.h"

#include "model/NoteBox.h"

void NoteBoxList::StoreItem(Archive& archive, void* item)
{
    static_cast<NoteBox*>(item)->Serialize(archive);
}

void* NoteBoxList::LoadItem(Archive& archive)
{
    NoteBox* note = new NoteBox();
    note->Serialize(archive);
    return note;
}

void* NoteBoxList::CloneItem(void* item)
{
    return new NoteBox(*static_cast<NoteBox*>(item));
}

void NoteBoxList::DeleteItem(void* item)
{
    delete static_cast<NoteBox*>(item);
}
