#pragma once
// Note boxes drawn on a display of the tree window.

class Display;
class NoteBox;

// Fills the frame with the display's background colour, draws the border (plainFrame: solid; else by
// the owner's border style: 0 solid, 1 dashed, other none) and the text in the note's font. Nothing when
// the frame lies outside the display's clipping area.
void DrawNoteBox(const NoteBox& note, Display& display, bool plainFrame);
// The same with the border style given (a diagram's notes follow the diagram's preferences).
void DrawNoteBoxFramed(const NoteBox& note, Display& display, int style);
// Mode 2: plain frame; mode 1: normal, then the four corner handles; mode 0: normal.
void DrawNoteBoxWithHandles(const NoteBox& note, Display& display, int mode);
