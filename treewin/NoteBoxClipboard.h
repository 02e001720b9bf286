#pragma once
// A single note box travels on the clipboard in the private format "NoteBox", written by its stored form,
// through the clipboard of the application's main window.

class ClipboardFormat;
class NoteBox;

// The "NoteBox" format, registered on first use.
const ClipboardFormat& NoteBoxClipboardFormat();

// Replaces the clipboard's contents by the note; false when the clipboard refused it.
bool PutNoteBoxOnClipboard(NoteBox& note);
bool IsNoteBoxOnClipboard();
// A new note box (owned by the caller, without owner) read from the clipboard, or null when there is none
// or it is damaged (any format or stream error while reading it).
NoteBox* GetNoteBoxFromClipboard();
