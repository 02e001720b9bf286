#pragma once
// A free text box placed on a tree window: its text, its frame in the window's logical units and its font.
// The text area lies 0.04 inside the frame; four square handles sit on the corners of the text area.

#include "foundation/LogicalRect.h"
#include "foundation/FontRecord.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class TreeDocument;

// A corner handle by (column, row): (0, 0) top left, (1, 0) top right, (1, 1) bottom right, (0, 1) bottom
// left; (22, 22) is no handle.
struct NoteBoxHandle {
    int column;
    int row;
    bool IsNone() const { return column == 22 && row == 22; }
};

// Results of NoteBox::HitTest.
enum NoteBoxHit : int { NoteBoxMissed = 0, NoteBoxBorder = 22, NoteBoxCorner = 23, NoteBoxInterior = 24 };

// The font of new note boxes made without a window.
extern const FontRecord DefaultNoteFont;

class NoteBox {
public:
    static constexpr float kMargin = 0.04f;
    static constexpr float kHandleSide = 0.06f;
    static constexpr uint16_t kEndMarker = 138;
    static constexpr uint32_t kFormatError = 34;

    // Empty text, a zero frame, the default note font and no owner: a record about to be loaded.
    NoteBox();
    // A note of a tree window around the text rectangle, in the window's note font (the default note font
    // without a window).
    NoteBox(const LogicalRect& textRect, TreeDocument* document);
    NoteBox(const NoteBox& source) = default;
    NoteBox& operator=(const NoteBox&) = delete;

    LogicalRect GetTextRect() const;
    // The frame becomes the text rectangle grown by the margin on every side.
    void SetRect(float left, float top, float right, float bottom);
    // The frame moved in by twice the margin.
    LogicalRect GetInteriorRect() const;
    void Offset(float dx, float dy);

    // 0 outside the frame, 23 on a corner handle, 24 inside the interior, 22 in the border zone.
    int HitTest(float x, float y) const;
    // The first handle (top left, top right, bottom right, bottom left) whose square holds the point.
    NoteBoxHandle HandleAt(float x, float y) const;

    // Stored form (nothing moves while the archive has a format error):
    //   version record               3 bytes
    //   left, top, right, bottom     4 x 32-bit float
    //   font                         FontRecord stored form
    //   text                         stored string
    //   end marker 138               16 bits; read only from records of 2.6 on
    // A wrong end marker sets format error 34; a frame out of any drawing's range (LogicalRect.h), 41. Owners
    // are not stored.
    void Serialize(Archive& archive);

    // The border style this note is drawn with when the frame is not plain.
    int BorderStyle() const;

    zString text;
    LogicalRect frame{0.0f, 0.0f, 0.0f, 0.0f};
    FontRecord font;
    TreeDocument* ownerTree = nullptr;
};
