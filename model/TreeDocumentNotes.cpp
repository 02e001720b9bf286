#include "model/NoteBox.h"
#include "model/TreeDocument.h"

void TreeDocument::AddNoteBox(NoteBox* note)
{
    if (!note)
        return;
    if (!NoteBoxes.Add(note)) {
        delete note;
        return;
    }
    note->ownerTree = this;
}
