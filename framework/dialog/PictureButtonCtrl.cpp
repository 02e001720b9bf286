#include "framework/dialog/PictureButtonCtrl.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/ButtonPicture.h"
#include "framework/draw/GdiScopes.h"

namespace {

// "&" marks the access key, which is underlined as on the system's buttons.
constexpr UINT kLabelFormat = DT_SINGLELINE | DT_NOCLIP;
// The focus mark lies inside the button's two-pixel edge.
constexpr int kFocusInset = 3;
// Between the picture's ink and the text.
constexpr int kGap = 2;

} // namespace

PictureButtonCtrl::PictureButtonCtrl(WindowCL* parent, unsigned id, Bitmap* picture)
    : ButtonCtrl(parent, id, BindTag{}), picture_(picture)
{
    if (picture_)
        ink_ = PictureInk(*picture_);
    if (!handle_)
        return;
    // The system button keeps its keys and clicks and leaves the face to this object.
    const DWORD style = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
    default_ = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    Send(BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW, TRUE);
    style_ = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
}

PictureButtonCtrl::~PictureButtonCtrl() = default;

PictureButtonCtrl* PictureButtonCtrl::FromTemplate(WindowCL* parent, unsigned id, Bitmap* picture)
{
    return new PictureButtonCtrl(parent, id, picture);
}

long PictureButtonCtrl::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    if (event.message == WM_GETDLGCODE)
        return AnswerNow{answeredAtOnce, answer}(DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON));
    if (event.message == BM_SETSTYLE) {
        const DWORD type = event.wParam & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            default_ = type == BS_DEFPUSHBUTTON;
            event.wParam = (event.wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
        }
    }
    return ButtonCtrl::HandleMessage(event, answeredAtOnce, answer);
}

long PictureButtonCtrl::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    const RECT bounds = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    RECT frame = bounds;
    if (default_) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&frame, -1, -1);
    }
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    ScopedSelection font(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    const zString text = GetText();
    const int length = static_cast<int>(text.Length());
    RECT label{0, 0, 0, 0};
    DrawTextA(dc, text.Text(), length, &label, kLabelFormat | DT_CALCRECT);
    const SIZE picture{ink_.right - ink_.left, ink_.bottom - ink_.top};
    const int gap = picture.cx > 0 ? kGap : 0;
    // Picture then text, centred together; pressed, the two move one pixel down and right.
    const int shift = pressed ? 1 : 0;
    const int left = (bounds.left + bounds.right - picture.cx - gap - label.right) / 2 + shift;
    const int middle = (bounds.top + bounds.bottom) / 2 + shift;
    if (picture.cx > 0)
        DrawButtonPicture(dc, *picture_, ink_, POINT{left, middle - picture.cy / 2}, enabled);
    OffsetRect(&label, left + picture.cx + gap, middle - label.bottom / 2);
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, text.Text(), length, &label, kLabelFormat);
    } else {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.Text()), static_cast<WPARAM>(length),
                   label.left, label.top, label.right - label.left, label.bottom - label.top,
                   DST_PREFIXTEXT | DSS_DISABLED);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = bounds;
        InflateRect(&focus, -kFocusInset, -kFocusInset);
        DrawFocusRect(dc, &focus);
    }
    return 1;
}
