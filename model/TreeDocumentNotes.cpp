#include "model/NoteBox.h"
#include "model/TreeDocument.h"

void TreeDocument::AddNoteBox(NoteBox* note, int index)
{
    if (!note)
        return;
    if (!NoteBoxes.InsertAt(index, note)) {
        delete note;
        return;
    }
    note->ownerTree = this;
}
