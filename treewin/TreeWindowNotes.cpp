#include "model/NoteBox.h"
#include "treewin/TreeWindow.h"

void TreeWindow::AddNoteBox(NoteBox* note)
{
    if (!note)
        return;
    if (!NoteBoxes.Add(note)) {
        delete note;
        return;
    }
    note->ownerTree = this;
}
