#include "framework/visual/VisualButtonFace.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/Display.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualCaption.h"
#include "framework/window/Timer.h"
#include "framework/window/WindowCL.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);
const COLORREF Shadow = RGB(128, 128, 128);
const COLORREF LightGrey = RGB(192, 192, 192);

// The host window of the button that last reported the pointer resting on it.
HWND HoverHost = nullptr;

// wParam of WM_MENUSELECT in the closed-menu form, which clears the help text.
const WPARAM MenuClosed = MAKEWPARAM(0, 0xFFFF);

bool LeftButtonEvent(const WindowEvent& event)
{
    return event.message == WM_LBUTTONDOWN || event.message == WM_LBUTTONUP || event.message == WM_LBUTTONDBLCLK;
}

// Outlines or fills a rectangle with a one-pixel pen of one colour and a brush (null: the stock null brush).
void Outline(HDC dc, const RECT& r, COLORREF pen, const COLORREF* brush)
{
    HPEN madePen = CreatePen(PS_SOLID, 1, pen);
    HBRUSH madeBrush = brush ? CreateSolidBrush(*brush) : nullptr;
    if (!madePen || (brush && !madeBrush)) {
        DeleteObject(madePen);
        DeleteObject(madeBrush);
        return;
    }
    HGDIOBJ oldPen = SelectObject(dc, madePen);
    HGDIOBJ oldBrush = SelectObject(dc, madeBrush ? static_cast<HGDIOBJ>(madeBrush) : GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(madeBrush);
    DeleteObject(madePen);
}

// A stroke through the points with a one-pixel pen; the last point is not drawn.
void Stroke(HDC dc, COLORREF colour, std::initializer_list<POINT> points)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    auto point = points.begin();
    MoveToEx(dc, point->x, point->y, nullptr);
    for (++point; point != points.end(); ++point)
        LineTo(dc, point->x, point->y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace

VisualStateItem::VisualStateItem(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id)
    : VisualItem(parent, geometry), id_(id), style_(style)
{
    ClearStateBits(WantsInput);
}

void VisualStateItem::Draw(const RECT*)
{
    if (state_ == Up)
        DrawUp();
    else if (state_ == Blank)
        DrawBlank();
}

void VisualStateItem::DrawUp() { state_ = Up; }
void VisualStateItem::DrawBlank() { state_ = Blank; }

VisualPressItem::VisualPressItem(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id)
    : VisualStateItem(parent, geometry, style, id)
{
    pressKind_ = 1;
    SetStateBits(WantsInput);
}

VisualPressItem::~VisualPressItem()
{
    StopHover();
    ClearTracking();
    hovering_ = 0;
}

HWND VisualPressItem::HoverWindow()
{
    return HoverHost;
}

void VisualPressItem::StopHover()
{
    if (hoverTimer_)
        hoverTimer_->Stop();
    hoverTimer_.reset();
}

void VisualPressItem::SendMenuSelect(WPARAM wParam)
{
    if (const HWND frame = FrameWindow())
        SendMessageA(frame, WM_MENUSELECT, wParam, 0);
}

void VisualPressItem::HoverCheck()
{
    WindowCL* host = HostWindow();
    const HWND own = host ? host->Handle() : nullptr;
    if (HoverHost == own) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) == own)
            return;
        SendMenuSelect(MenuClosed);
    }
    hovering_ = 0;
    StopHover();
}

void VisualPressItem::Draw(const RECT*)
{
    switch (state_) {
    case Latched: DrawLatched(); break;
    case PressedFromLatched: DrawPressed(); break;
    case PressedFromUp: SetPressedState(); break;
    case Up: DrawUp(); break;
    case Blank: DrawBlank(); break;
    default: break;
    }
}

void VisualPressItem::DrawUp() { state_ = Up; }
void VisualPressItem::DrawBlank() { state_ = Blank; }
void VisualPressItem::DrawLatched() { state_ = Latched; }
void VisualPressItem::DrawPressed() { state_ = PressedFromLatched; }
void VisualPressItem::SetPressedState() { state_ = PressedFromUp; }
void VisualPressItem::DrawReleased() {}
void VisualPressItem::SetDefault(bool) {}
bool VisualPressItem::IsDefault() const { return false; }

HWND VisualPressItem::FrameWindow() const
{
    WindowCL* host = HostWindow();
    return host && host->Handle() ? GetParent(host->Handle()) : nullptr;
}

void VisualPressItem::ClearTracking()
{
    if (!parent_)
        return;
    parent_->SetTracked(nullptr);
    if (VisualItemGroup* above = parent_->Parent())
        above->SetTracked(nullptr);
}

void VisualPressItem::Locked(void (VisualPressItem::*draw)())
{
    HostLock lock(*this);
    (this->*draw)();
}

long VisualPressItem::OnButtonDown(WindowEvent& event)
{
    if (!LeftButtonEvent(event))
        return 0;
    pressed_ = 1;
    captured_ = 1;
    savedState_ = state_;
    CaptureMouse();
    Locked(&VisualPressItem::DrawPressed);
    return 1;
}

long VisualPressItem::OnMouseMove(WindowEvent& event)
{
    const POINT point = EventPoint(event);
    if (HitTest(point) && AcceptsPoint(point)) {
        const bool held = (event.wParam & MK_LBUTTON) != 0;
        if (held && state_ != PressedFromLatched && state_ != PressedFromUp && captured_ && pressed_)
            Locked(&VisualPressItem::DrawPressed);
        if (hovering_ || pressed_ || held)
            return 0;
        // The pointer has arrived on a button at rest: tell the frame its command, once, and watch for the
        // pointer leaving.
        if (!hoverTimer_)
            hoverTimer_ = std::make_unique<Timer>(static_cast<EventTarget*>(this),
                                                  static_cast<TimerFunction>(&VisualPressItem::HoverCheck), 500);
        WindowCL* host = HostWindow();
        HoverHost = host ? host->Handle() : nullptr;
        if (parent_) {
            parent_->SetTracked(this);
            if (VisualItemGroup* above = parent_->Parent())
                above->SetTracked(this);
        }
        hovering_ = 1;
        SendMenuSelect(static_cast<WPARAM>(id_));
        return 0;
    }
    if (state_ == PressedFromLatched || state_ == PressedFromUp)
        Locked(savedState_ == Latched ? &VisualPressItem::DrawLatched : &VisualPressItem::DrawUp);
    return 0;
}

long VisualPressItem::OnButtonUp(WindowEvent& event)
{
    if (!LeftButtonEvent(event))
        return 0;
    pressed_ = 0;
    if (state_ == PressedFromLatched || state_ == PressedFromUp) {
        const bool latch = state_ == PressedFromLatched ? !(releasable_ && latching_) : latching_ != 0;
        Locked(latch ? &VisualPressItem::DrawLatched : &VisualPressItem::DrawUp);
        captured_ = 0;
        ClearTracking();
        ReleaseMouse();
        SendMenuSelect(MenuClosed);
        if (WindowCL* host = HostWindow())
            SendMessageA(host->Handle(), WM_COMMAND, static_cast<WPARAM>(id_ & 0xFFFF),
                         reinterpret_cast<LPARAM>(host->Handle()));
        return 1;
    }
    if (state_ != savedState_) {
        state_ = savedState_;
        HostLock lock(*this);
        const RECT bounds = Bounds();
        Draw(&bounds);
    }
    ReleaseMouse();
    captured_ = 0;
    ClearTracking();
    SendMenuSelect(MenuClosed);
    return 1;
}

VisualButtonFace::VisualButtonFace(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id,
                                   Bitmap* bitmap, int frameCount)
    : VisualPressItem(parent, geometry, style, id), bitmap_(bitmap), frameCount_(frameCount > 0 ? frameCount : 1)
{
    SetLatching((style & LatchingStyle) != 0);
}

VisualButtonFace::~VisualButtonFace() = default;

void VisualButtonFace::DrawUp() { Paint(Up, 0, 1, 0); }

void VisualButtonFace::DrawLatched()
{
    if (!(style_ & LatchingStyle)) {
        DrawUp();
        return;
    }
    const unsigned policy = style_ & ImagePolicy;
    Paint(Latched, 3, policy == 0x20 || policy == 0x30 ? 0 : 1, 0);
}

void VisualButtonFace::DrawPressed()
{
    const unsigned policy = style_ & ImagePolicy;
    const int offset = (style_ & BareStyle) ? 0 : 1;
    if (!(style_ & LatchingStyle)) {
        Paint(PressedFromUp, 1, policy == 0x10 || policy == 0x20 ? 3 : 1, offset);
        return;
    }
    const int state = state_ == Latched ? PressedFromLatched : PressedFromUp;
    int mode = 1;
    if (policy == 0x10 || policy == 0x20)
        mode = state;
    else if (policy == 0x30)
        mode = state == PressedFromLatched ? 0 : 1;
    Paint(state, 1, mode, offset);
}

void VisualButtonFace::DrawReleased()
{
    if (style_ & LatchingStyle && state_ == PressedFromUp)
        DrawLatched();
    else
        DrawUp();
}

void VisualButtonFace::Paint(int state, int bevel, int drawMode, int offset)
{
    Display* display = HostDisplay();
    state_ = state;
    if (!display)
        return;
    DisplayLock lock(*display);
    const HDC dc = display->DeviceContext();
    if (dc) {
        PlaceImage();
        const RECT r = Bounds();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        Outline(dc, r, face, &face);
        const int ring = (style_ & DefaultRingStyle) ? 1 : 0;
        if (ring && default_)
            Outline(dc, r, Black, &face);
        if (!(style_ & (FlatStyle | BareStyle))) {
            Outline(dc, RECT{r.left + ring, r.top + ring, r.right - ring, r.bottom - ring}, Black, &face);
            const int d = ring ? 2 : 1;
            const int L = r.left + d, T = r.top + d, R = r.right - d, B = r.bottom - d;
            if (bevel == 0) {
                Stroke(dc, White, {{R - 1, T}, {L, T}, {L, B}});
                Stroke(dc, Shadow, {{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
                Stroke(dc, Shadow, {{L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T}});
            } else if (bevel == 3) {
                Stroke(dc, Shadow, {{R - 1, T}, {L, T}, {L, B}});
                Stroke(dc, White, {{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
            } else {
                Stroke(dc, Shadow, {{R - 1, T}, {L, T}, {L, B}});
            }
        }
        if (bitmap_)
            DrawImage(drawMode, imagePosition_.x + offset, imagePosition_.y + offset);
        if ((style_ & (FlatStyle | BareStyle)) && bevel != 0) {
            // A flat face has no edge at rest; pressed or latched it sinks, over the image's rim, so that a
            // single-image button still shows its state.
            const int L = r.left, T = r.top, R = r.right, B = r.bottom;
            Stroke(dc, Shadow, {{R - 1, T}, {L, T}, {L, B}});
            if (bevel == 3)
                Stroke(dc, White, {{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
        }
        auto* group = dynamic_cast<VisualButtonGroup*>(parent_);
        VisualButtonCaption* caption = group ? group->GetCaption() : nullptr;
        if (caption && !(style_ & BareStyle) && !caption->ShownText().empty()) {
            caption->SetButtonState(state_);
            caption->Draw(nullptr);
        }
    }
}

SIZE VisualButtonFace::ImageSize() const
{
    if (!bitmap_)
        return SIZE{0, 0};
    const SIZE size = bitmap_->Size();
    return SIZE{size.cx / frameCount_, size.cy};
}

void VisualButtonFace::PlaceImage()
{
    if (!bitmap_)
        return;
    const int ring = (style_ & DefaultRingStyle) ? 1 : 0;
    const RECT b = Bounds();
    const int L = b.left + ring, T = b.top + ring, R = b.right - ring, B = b.bottom - ring;
    const SIZE image = ImageSize();
    const int iw = image.cx, ih = image.cy;
    const bool fits = ih <= B - T && iw <= R - L;
    auto* group = dynamic_cast<VisualButtonGroup*>(parent_);
    VisualButtonCaption* caption = group ? group->GetCaption() : nullptr;
    if (style_ & BareStyle) {
        imagePosition_ = fits ? POINT{(R + L) / 2 - iw / 2, (B + T) / 2 - ih / 2} : POINT{L, T};
    } else if (!caption || caption->ShownText().empty()) {
        if (fits)
            imagePosition_ = POINT{(R + L) / 2 - iw / 2 + ring, (B + T) / 2 - ih / 2 + ring};
    } else {
        const int tw = caption->TextWidth(), th = caption->TextHeight();
        const unsigned arrangement = style_ & 0xc00;
        if (arrangement == 0x400 || arrangement == 0xc00) {
            imagePosition_ = POINT{(R + L) / 2 - iw / 2, (B + T) / 2 - (th + 1 + ih) / 2};
            if (arrangement == 0xc00)
                imagePosition_.y += 1 + th;
        } else {
            imagePosition_ = POINT{(R + L) / 2 - (tw + 1 + iw) / 2, (B + T) / 2 - ih / 2};
            if (arrangement == 0)
                imagePosition_.x += 1 + tw;
        }
    }
}

void VisualButtonFace::DrawImage(int drawMode, int x, int y)
{
    Display* display = HostDisplay();
    const HDC target = display->DeviceContext();
    const SIZE size = bitmap_->Size();
    const int fw = size.cx / frameCount_;
    const bool grey = grayed_ || (style_ & GreyFramesStyle);
    HBITMAP source = bitmap_->Handle();
    int sourceX = 0;
    if (frameCount_ == 1) {
        if (grayed_) {
            if (!grey_)
                MakeGreyImage(target);
            source = grey_ ? grey_->Handle() : nullptr;
        }
    } else {
        static const int frames[4][2] = {{4, 5}, {0, 1}, {3, 3}, {2, 2}}; // by draw mode: normal, grey
        sourceX = frames[drawMode & 3][grey ? 1 : 0] * fw;
    }
    if (!source)
        return;
    HDC memory = CreateCompatibleDC(target);
    if (!memory)
        return;
    HGDIOBJ old = SelectObject(memory, source);
    BitBlt(target, x, y, fw, size.cy, memory, sourceX, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void VisualButtonFace::MakeGreyImage(HDC reference)
{
    const SIZE size = bitmap_->Size();
    HBITMAP made = CreateCompatibleBitmap(reference, size.cx, size.cy);
    HDC from = CreateCompatibleDC(reference);
    HDC to = CreateCompatibleDC(reference);
    if (made && from && to) {
        HGDIOBJ oldFrom = SelectObject(from, bitmap_->Handle());
        HGDIOBJ oldTo = SelectObject(to, made);
        BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
        for (int r = 0; r < size.cy; ++r)
            for (int c = r & 1; c < size.cx; c += 2)
                SetPixel(to, c, r, LightGrey);
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
        grey_ = std::make_unique<Bitmap>(made);
        made = nullptr;
    }
    if (made)
        DeleteObject(made);
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
}

void VisualButtonFace::DrawDefaultRing(bool erase)
{
    if (!(style_ & DefaultRingStyle))
        return;
    HostLock lock(*this);
    if (const HDC dc = lock.DeviceContext())
        Outline(dc, Bounds(), erase ? GetSysColor(COLOR_BTNFACE) : Black, nullptr);
}
