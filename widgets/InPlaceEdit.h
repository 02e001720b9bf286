#pragma once
// The edit control that a document window opens over a text of its drawing (a node's name, a branch
// label). It sits on the document's pane, has a black frame drawn around it on the pane's picture, and
// grows as text is typed so that the text does not scroll out of sight (unless its owner keeps it between
// columns that the text outgrows); deleting text never narrows it.
// The line editor grows in width, the multi-line editor in width and height (a centred one on both sides);
// the multi-line editor's height follows its lines, never below the height it opened with. An owner may keep
// the frame within rows of its drawing: the editor then grows upwards from there; and between columns: it then
// grows to the left once the right column is reached, and no further than the left one. Their owners read the
// text and delete the editor when the edit closes.

#include "framework/dialog/EditCtrl.h"

class Display;
class ZoomPane;
class zFont;

// The frame around an editor: its outline in the pane's pixels (scrolled coordinates) and the pane.
struct InPlaceFrame {
    RECT rect;
    ZoomPane* owner;
};

class InPlaceEdit : public EditCtrl {
public:
    // Flags: the editor has no frame.
    static constexpr unsigned NoFrame = 1;
    // The frame stands this many pixels outside the editor (fewer where its rows are kept).
    static constexpr int FrameMargin = 4;

    // Made at once over the pane at the rectangle (the pane's client pixels), with the frame drawn unless
    // the flags say otherwise.
    InPlaceEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style, const char* text, unsigned id);
    // The frame's area is given back to the pane to repaint.
    ~InPlaceEdit() override;

    // Grows the box for the character; the character still goes to the control.
    long OnCharacter(unsigned character) override;
    // A menu key held with Alt types nothing: the box stays.
    long OnChar(WindowEvent* event) override;
    // Types the text into the control as if the user had typed it (the characters typed before the
    // editor opened).
    void TypeText(const zString& text);
    // Grows the box so that the whole text it holds shows from its start; with room to type, also by the
    // room kept beside the text while typing.
    void FitText(bool roomToType = true);
    // Keeps the frame within the rows from top to bottom (the pane's client pixels, both included): the margin
    // narrows to what the rows leave, down to 1 pixel, and the editor moves into them, the bottom kept first;
    // a taller text then grows the editor upwards.
    void KeepFrameWithin(int top, int bottom);
    // Keeps the frame between the columns (the pane's client pixels): the room kept for typing stops short of
    // the right one, and a text that does not fit left of it moves the editor to the left, as far as the left
    // one lets it; a text longer than that scrolls in the editor, which never passes the right one.
    void KeepRoomBetween(int left, int right);
    // Moves the editor sideways so that its centre stands at the column (the pane's client pixels), its frame
    // with it: for an owner whose drawing moves the text as it changes.
    void CentreOn(int column);
    // Draws the frame again (after the pane has repainted).
    void RedrawFrame();
    // The font that measures the text (not owned), or null for the pane's current font.
    void SetMeasuringFont(zFont* font);

    RECT EditRect() const { return editRect_; }
    const InPlaceFrame* Frame() const { return frame_.get(); }

protected:
    // Grows the box, when needed, so that the text with the character fits; answers 0.
    virtual long Grow(char c) = 0; // 23
    // Grows the box, when needed, so that the text fits.
    virtual void FitTo(const zString& text) = 0;
    // The control's text with the character appended.
    zString TextWith(char c) const;
    // Moves the right and bottom edges out to at least the given size in pixels; nothing when it fits. With
    // fitHeight, the bottom edge moves in as well, down to the height the editor opened with. The width
    // keeps left of the kept column, but never below textWidth (the text alone with the margins).
    void GrowTo(int width, int height, bool fitHeight = false, int textWidth = 0);

    Display& OwnerDisplay() const;
    // Holds the measuring font on the pane's display, locked, for a scope.
    class MeasuringScope;

    float spareWidth_ = 0.0f;
    float spareHeight_ = 0.01f;
    // Cleared while the box fits its text without the room to type; it then keeps the control's margins.
    bool roomToType_ = true;
    int MarginsWidth() const;
    zFont* font_ = nullptr;

private:
    // The room left beside the text: the width of "MM" plus 0.1 inch.
    void MeasureSpareWidth();
    // Erases the old outline and draws the frame around the editor's rectangle.
    void PlaceFrame();
    void DrawFrame(bool erase);
    // The frame's outline grown by one pixel, invalidated with erasing.
    void InvalidateFrameArea();

    // A row or column of the drawing's pixels in the pane's client pixels (the pane may have scrolled).
    int ClientRow(int drawingRow) const;
    int ClientColumn(int drawingColumn) const;

    std::unique_ptr<InPlaceFrame> frame_;
    RECT editRect_{0, 0, 0, 0};
    int frameMargin_ = FrameMargin;
    // While the frame keeps to rows: the editor's top when placed and the lowest row of the frame, both in
    // the drawing's pixels.
    bool rowsKept_ = false;
    int placedTop_ = 0;
    int lowestRow_ = 0;
    int openedHeight_ = 0;
    // The columns the frame keeps between, in the drawing's pixels, while roomKept_.
    bool roomKept_ = false;
    int roomLeft_ = 0;
    int roomRight_ = 0;
    unsigned inPlaceFlags_;
    ZoomPane* owner_;
};

// One line, growing in width.
class InPlaceLineEdit : public InPlaceEdit {
public:
    InPlaceLineEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style, const char* text, unsigned id);

protected:
    // Asks for every key: the owner gives Tab and Enter their meaning.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;
    long Grow(char c) override;
    void FitTo(const zString& text) override;
};

// Several lines, growing in width and height until its owner stops the growing.
class InPlaceMultiLineEdit : public InPlaceEdit {
public:
    InPlaceMultiLineEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style, const char* text,
                         unsigned id);
    void SetStopGrowing(bool stop) { stopGrowing_ = stop; }

protected:
    long Grow(char c) override;
    void FitTo(const zString& text) override;

private:
    bool stopGrowing_ = false;
};
