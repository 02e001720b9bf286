#include "widgets/InPlaceEdit.h"

#include "framework/draw/MultiLineText.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/Display.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zPen.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/WindowEvent.h"

#include <algorithm>
#include <cctype>

class InPlaceEdit::MeasuringScope {
public:
    explicit MeasuringScope(const InPlaceEdit& edit) : display_(edit.OwnerDisplay()), font_(edit.font_), lock_(display_)
    {
        if (font_)
            display_.PushFont(font_);
    }
    ~MeasuringScope()
    {
        // The font stays the owner's.
        if (font_)
            display_.PopFont().release();
    }
    MeasuringScope(const MeasuringScope&) = delete;
    MeasuringScope& operator=(const MeasuringScope&) = delete;
    Display& Get() const { return display_; }

private:
    Display& display_;
    zFont* font_;
    DisplayLock lock_;
};

InPlaceEdit::InPlaceEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style, const char* text,
                         unsigned id)
    : EditCtrl(owner, rect, style, text, id), inPlaceFlags_(flags), owner_(owner)
{
    editRect_ = RECT{layout_->X(), layout_->Y(), layout_->X() + layout_->Width(), layout_->Y() + layout_->Height()};
    openedHeight_ = editRect_.bottom - editRect_.top;
    MeasureSpareWidth();
    if (!(inPlaceFlags_ & NoFrame)) {
        frame_ = std::make_unique<InPlaceFrame>(InPlaceFrame{RECT{0, 0, 0, 0}, owner_});
        PlaceFrame();
    }
}

InPlaceEdit::~InPlaceEdit()
{
    if (frame_) {
        InvalidateFrameArea();
        frame_.reset();
    }
}

Display& InPlaceEdit::OwnerDisplay() const
{
    return *owner_->CurrentDisplay();
}

void InPlaceEdit::SetMeasuringFont(zFont* font)
{
    font_ = font;
    MeasureSpareWidth();
}

void InPlaceEdit::MeasureSpareWidth()
{
    MeasuringScope scope(*this);
    spareWidth_ = TextWidth(scope.Get(), "MM", nullptr) + 0.1f;
}

long InPlaceEdit::OnChar(WindowEvent* event)
{
    return event->message == WM_SYSCHAR ? 0 : EditCtrl::OnChar(event);
}

long InPlaceEdit::OnCharacter(unsigned character)
{
    Grow(static_cast<char>(character));
    return 0;
}

void InPlaceEdit::FitText(bool roomToType)
{
    roomToType_ = roomToType;
    FitTo(GetText());
    roomToType_ = true;
}

int InPlaceEdit::MarginsWidth() const
{
    // The control's own margins and the caret beside the last character.
    const LRESULT margins = SendMessageA(handle_, EM_GETMARGINS, 0, 0);
    return LOWORD(margins) + HIWORD(margins) + 2;
}

void InPlaceEdit::TypeText(const zString& text)
{
    for (const char* c = text.Text(); c && *c; ++c)
        SendMessageA(handle_, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

zString InPlaceEdit::TextWith(char c) const
{
    zString text = GetText();
    text += c;
    return text;
}

void InPlaceEdit::GrowTo(int width, int height, bool fitHeight, int textWidth)
{
    // The pane's scrolling moves the editor with the drawing: it grows from where it is now.
    RECT now;
    GetWindowRect(handle_, &now);
    MapWindowPoints(nullptr, owner_->Handle(), reinterpret_cast<POINT*>(&now), 2);
    OffsetRect(&editRect_, now.left - editRect_.left, now.top - editRect_.top);
    int nowWidth = editRect_.right - editRect_.left;
    int shift = 0;
    bool narrower = false;
    if (roomKept_) {
        const int right = ClientColumn(roomRight_) - frameMargin_;
        width = std::max<int>(textWidth, std::min<int>(width, right - editRect_.left));
        // A text that does not fit left of the right column takes its room on the left; one longer than the
        // room between the columns scrolls in an editor as wide as the room.
        const int leftmost = ClientColumn(roomLeft_) + frameMargin_;
        const int room = std::max(1, right - std::min<int>(leftmost, editRect_.left));
        width = std::min(width, room);
        if (nowWidth > room) {
            editRect_.right = editRect_.left + room;
            nowWidth = room;
            narrower = true;
        }
        shift = std::clamp<int>(editRect_.left + std::max(width, nowWidth) - right, 0,
                                std::max<int>(0, editRect_.left - leftmost));
    }
    if (fitHeight)
        height = std::max(height, openedHeight_);
    const int nowHeight = editRect_.bottom - editRect_.top;
    const bool wider = nowWidth < width;
    const bool higher = nowHeight < height;
    const bool lower = fitHeight && nowHeight > height;
    if (!wider && !higher && !lower && shift == 0 && !narrower)
        return;
    // A frame that moves in leaves its old outline for the pane to repaint.
    if (frame_ && (lower || narrower || (rowsKept_ && higher)))
        InvalidateFrameArea();
    if (wider || shift > 0) {
        // A centred text stays where it stands: its box grows on both sides.
        if ((GetWindowLongA(handle_, GWL_STYLE) & ES_CENTER) != 0)
            editRect_.left -= (width - nowWidth) / 2;
        else
            editRect_.left -= shift;
        editRect_.right = editRect_.left + std::max(width, nowWidth);
    }
    if (higher || lower) {
        // Within kept rows the editor stands where it was placed, or higher where its frame would pass them.
        if (rowsKept_)
            editRect_.top = std::min(ClientRow(placedTop_), ClientRow(lowestRow_) - frameMargin_ - height);
        editRect_.bottom = editRect_.top + height;
    }
    MoveWindow(handle_, editRect_.left, editRect_.top, editRect_.right - editRect_.left,
               editRect_.bottom - editRect_.top, TRUE);
    if (frame_) {
        PlaceFrame();
        InvalidateFrameArea();
    }
}

void InPlaceEdit::KeepFrameWithin(int top, int bottom)
{
    const int height = editRect_.bottom - editRect_.top;
    if (frame_)
        InvalidateFrameArea();
    frameMargin_ = std::clamp((bottom - top - height) / 2, 1, FrameMargin);
    const int placed = std::min(std::max<int>(editRect_.top, top + frameMargin_), bottom - frameMargin_ - height);
    OffsetRect(&editRect_, 0, placed - editRect_.top);
    const POINT drawing = owner_->ClientToDrawing(POINT{0, placed});
    placedTop_ = drawing.y;
    lowestRow_ = drawing.y + (bottom - placed);
    rowsKept_ = true;
    MoveWindow(handle_, editRect_.left, editRect_.top, editRect_.right - editRect_.left, height, TRUE);
    if (frame_) {
        PlaceFrame();
        InvalidateFrameArea();
    }
}

void InPlaceEdit::KeepRoomBetween(int left, int right)
{
    roomLeft_ = owner_->ClientToDrawing(POINT{left, 0}).x;
    roomRight_ = owner_->ClientToDrawing(POINT{right, 0}).x;
    roomKept_ = true;
}

void InPlaceEdit::CentreOn(int column)
{
    RECT now;
    GetWindowRect(handle_, &now);
    MapWindowPoints(nullptr, owner_->Handle(), reinterpret_cast<POINT*>(&now), 2);
    const int shift = column - (now.left + now.right) / 2;
    OffsetRect(&editRect_, now.left - editRect_.left + shift, now.top - editRect_.top);
    if (shift == 0)
        return;
    if (frame_)
        InvalidateFrameArea();
    MoveWindow(handle_, editRect_.left, editRect_.top, editRect_.right - editRect_.left,
               editRect_.bottom - editRect_.top, TRUE);
    if (frame_) {
        PlaceFrame();
        InvalidateFrameArea();
    }
}

int InPlaceEdit::ClientRow(int drawingRow) const
{
    return owner_->DrawingToClient(RECT{0, drawingRow, 0, drawingRow}).top;
}

int InPlaceEdit::ClientColumn(int drawingColumn) const
{
    return owner_->DrawingToClient(RECT{drawingColumn, 0, drawingColumn, 0}).left;
}

void InPlaceEdit::RedrawFrame()
{
    if (frame_)
        DrawFrame(false);
}

void InPlaceEdit::PlaceFrame()
{
    DrawFrame(true);
    RECT& outline = frame_->rect;
    outline = editRect_;
    InflateRect(&outline, frameMargin_, frameMargin_);
    const POINT corner = owner_->ClientToDrawing(POINT{outline.left, outline.top});
    OffsetRect(&outline, corner.x - outline.left, corner.y - outline.top);
    DrawFrame(false);
}

void InPlaceEdit::DrawFrame(bool erase)
{
    Display& display = OwnerDisplay();
    // Only on the screen; the frame is no part of a printed or exported picture.
    if (display.Kind() != Display::KindWindow || IsRectEmpty(&frame_->rect))
        return;
    DisplayLock lock(display);
    display.PushPen(erase ? new zPen(display.BackgroundColour(), PS_SOLID, 1) : new zPen(BLACK_PEN));
    display.FrameRect(frame_->rect);
    display.PopPen();
}

void InPlaceEdit::InvalidateFrameArea()
{
    // The outline is in the scrolled drawing's pixels, the window's update area in its client's.
    RECT area = frame_->rect;
    InflateRect(&area, 1, 1);
    area = owner_->DrawingToClient(area);
    OwnerDisplay().InvalidateRect(&area, true);
}

InPlaceLineEdit::InPlaceLineEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style, const char* text,
                                 unsigned id)
    : InPlaceEdit(owner, rect, flags, style | WS_VISIBLE, text, id)
{
}

long InPlaceLineEdit::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    // A single line does not ask for Tab and Enter, so a window with dialog keys would take them (moving the
    // focus, pressing its default button) before the editor's owner sees them.
    if (event.message == WM_GETDLGCODE)
        return AnswerNow{answeredAtOnce, answer}(DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL);
    return InPlaceEdit::HandleMessage(event, answeredAtOnce, answer);
}

long InPlaceLineEdit::Grow(char c)
{
    if (std::isprint(static_cast<unsigned char>(c)))
        FitTo(TextWith(c));
    return 0;
}

void InPlaceLineEdit::FitTo(const zString& text)
{
    float textWidth;
    {
        MeasuringScope scope(*this);
        textWidth = TextWidth(scope.Get(), text.Text(), nullptr);
    }
    const int textOnly = LogicalWidthToPixels(textWidth, OwnerDisplay()) + MarginsWidth();
    GrowTo(roomToType_ ? LogicalWidthToPixels(textWidth + spareWidth_, OwnerDisplay()) : textOnly, 0, false, textOnly);
}

InPlaceMultiLineEdit::InPlaceMultiLineEdit(ZoomPane* owner, const RECT& rect, unsigned flags, DWORD style,
                                           const char* text, unsigned id)
    : InPlaceEdit(owner, rect, flags, style | WS_VISIBLE | ES_MULTILINE, text, id)
{
}

long InPlaceMultiLineEdit::Grow(char c)
{
    if (std::isprint(static_cast<unsigned char>(c)) || c == '\n' || c == '\r')
        FitTo(TextWith(c));
    return 0;
}

void InPlaceMultiLineEdit::FitTo(const zString& text)
{
    if (stopGrowing_)
        return;
    LogicalSize needed;
    {
        MeasuringScope scope(*this);
        needed = MeasureMultiLineText(scope.Get(), text.Text(), nullptr, true, true);
    }
    const int textOnly = LogicalWidthToPixels(needed.width, OwnerDisplay()) + MarginsWidth();
    GrowTo(roomToType_ ? LogicalWidthToPixels(needed.width + spareWidth_, OwnerDisplay()) : textOnly,
           LogicalHeightToPixels(needed.height + spareHeight_, OwnerDisplay()), true, textOnly);
}
