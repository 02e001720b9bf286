#include "framework/visual/VisualButton.h"

#include "framework/draw/Display.h"
#include "framework/visual/VisualButtonFace.h"
#include "framework/visual/VisualCaption.h"
#include "framework/window/LayoutManager.h"

#include <algorithm>
#include <cstring>

namespace {

// One key held at a time among all panels: auto-repeated key-downs press only once.
bool KeyLatch = false;

// A rule over the whole of a window's area.
LayoutManager* Covering(const LayoutManager* layout)
{
    return new LayoutManager(0, 0, layout->Width(), layout->Height(), nullptr);
}

} // namespace

VisualButton::VisualButton(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id)
    : VisualItemHost(parent, layout, style, text, id), commandId_(id)
{
    id_ = id;
    if (handle_)
        SetWindowLongA(handle_, GWL_ID, static_cast<LONG>(id));
    title_ = text ? text : "";
    background_ = GetSysColor(COLOR_3DFACE);
}

void VisualButton::AdoptGroup(VisualItemGroup* parent, VisualButtonGroup* group, unsigned style)
{
    group_ = group;
    buttonStyle_ = style;
    parent->AddChild(group);
}

void VisualButton::Redraw()
{
    if (group_)
        group_->Draw(nullptr);
}

void VisualButton::SetFont(HFONT font, bool redraw)
{
    font_ = font;
    if (VisualButtonCaption* caption = Caption()) {
        caption->SetFont(font);
        if (redraw)
            Redraw();
    }
}

HFONT VisualButton::GetFont() const { return font_; }

void VisualButton::SetGrayed(bool grayed)
{
    if (VisualButtonCaption* caption = Caption()) {
        caption->SetGrayed(grayed);
        caption->Draw(nullptr);
    }
}

void VisualButton::SetButtonStyle(unsigned style, bool redraw)
{
    buttonStyle_ = style;
    if (group_ && group_->Face())
        group_->Face()->SetStyle(style);
    if (VisualButtonCaption* caption = Caption())
        caption->SetStyle(style);
    if (redraw)
        Redraw();
}

const std::string& VisualButton::GetTitle() const { return title_; }

void VisualButton::SetTitle(const char* text)
{
    title_ = text ? text : "";
    if (VisualButtonCaption* caption = Caption()) {
        caption->Erase();
        caption->SetText("");
        caption->SetText(title_.c_str());
    }
    Redraw();
}

LRESULT VisualButton::DefaultProcessing(WindowEvent* event)
{
    switch (event->message) {
    case WM_ENABLE:
        SetGrayed(event->wParam == 0);
        return 0;
    case WM_SETTEXT:
        SetTitle(reinterpret_cast<const char*>(event->lParam));
        return 0;
    case WM_GETTEXT: {
        // Never past the caller's buffer of wParam characters, the terminating zero included.
        char* buffer = reinterpret_cast<char*>(event->lParam);
        if (!buffer || event->wParam == 0)
            return 0;
        const size_t count = std::min<size_t>(title_.size(), event->wParam - 1);
        std::memcpy(buffer, title_.data(), count);
        buffer[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(title_.size());
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(event->wParam), event->lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetFont());
    case BM_SETSTYLE:
        SetButtonStyle(static_cast<unsigned>(event->wParam), event->lParam != 0);
        return 0;
    case WM_SETREDRAW:
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
    case WM_GETDLGCODE:
        return 0;
    default:
        return VisualItemHost::DefaultProcessing(event);
    }
}

long VisualButton::OnFocus(WindowEvent* event)
{
    if (event->message == WM_SETFOCUS && parent_ && parent_->Handle())
        SendMessageA(parent_->Handle(), WM_NEXTDLGCTL, 0, 0);
    return 1;
}

LRESULT VisualPanel::DefaultProcessing(WindowEvent* event)
{
    VisualButtonFace* face = group_ ? group_->Face() : nullptr;
    auto check = [face]() -> LRESULT {
        if (!face)
            return 0;
        return face->State() == VisualStateItem::Up       ? BST_UNCHECKED
               : face->State() == VisualStateItem::Latched ? BST_CHECKED
                                                           : BST_INDETERMINATE;
    };
    switch (event->message) {
    case BM_GETCHECK:
        return check();
    case BM_GETSTATE: {
        VisualButtonCaption* caption = Caption();
        return check() | (caption && caption->Focused() ? BST_PUSHED | BST_FOCUS : 0);
    }
    case BM_SETCHECK:
        if (face)
            event->wParam ? face->DrawLatched() : face->DrawUp();
        return 0;
    case BM_SETSTATE:
        if (!face)
            return 0;
        if (event->wParam == 1 && (face->State() == VisualStateItem::Latched || face->State() == VisualStateItem::Up))
            face->DrawPressed();
        else if (event->wParam == 0 && face->State() == VisualStateItem::PressedFromLatched)
            face->DrawLatched();
        else if (event->wParam == 0 && face->State() == VisualStateItem::PressedFromUp)
            face->DrawUp();
        return 0;
    case BM_SETSTYLE:
        SetLatching(static_cast<unsigned>(event->wParam));
        return VisualButton::DefaultProcessing(event);
    case WM_KEYDOWN:
        if (KeyLatch)
            return 1;
        KeyLatch = true;
        return KeyDown(event->wParam);
    case WM_KEYUP:
        if (event->wParam != VK_SPACE)
            return 1;
        KeyLatch = false;
        return KeyUp(event->wParam);
    case WM_COMMAND:
        return parent_ && parent_->Handle()
                   ? SendMessageA(parent_->Handle(), WM_COMMAND, event->wParam, event->lParam)
                   : 0;
    default:
        return VisualButton::DefaultProcessing(event);
    }
}

long VisualPanel::KeyDown(WPARAM key)
{
    if (key == VK_SPACE && group_ && group_->Face())
        group_->Face()->DrawPressed();
    return 1;
}

long VisualPanel::KeyUp(WPARAM)
{
    if (group_ && group_->Face())
        group_->Face()->DrawReleased();
    if (parent_ && parent_->Handle())
        SendMessageA(parent_->Handle(), WM_COMMAND, commandId_, reinterpret_cast<LPARAM>(handle_));
    return 1;
}

long VisualPanel::OnButtonDown(WindowEvent* event)
{
    return event->message == WM_LBUTTONDOWN || event->message == WM_LBUTTONDBLCLK
               ? VisualButton::OnButtonDown(event)
               : 0;
}

long VisualPanel::OnButtonUp(WindowEvent* event)
{
    return event->message == WM_LBUTTONUP ? VisualButton::OnButtonUp(event) : 0;
}

long VisualPanel::OnFocus(WindowEvent* event)
{
    const bool focus = event->message == WM_SETFOCUS;
    VisualButtonFace* face = group_ ? group_->Face() : nullptr;
    VisualButtonCaption* caption = Caption();
    if (caption)
        caption->SetFocused(focus);
    if (defaultRing_ && face) {
        face->SetDefault(focus);
        face->DrawDefaultRing(!focus);
        if (!(buttonStyle_ & VisualCaption::FocusMark))
            return 1;
    }
    if (caption)
        caption->DrawFocusRect(!focus);
    return 1;
}

VisualPushButton::VisualPushButton(WindowCL* parent, LayoutManager* layout, unsigned style, const char* text,
                                   unsigned id, Bitmap* bitmap)
    : VisualPushButton(parent, layout, style, text, id, bitmap, 6)
{
    defaultRing_ = 1;
}

VisualPushButton::VisualPushButton(WindowCL* parent, const RECT& rect, unsigned style, const char* text,
                                   unsigned id, Bitmap* bitmap)
    : VisualPushButton(parent, new LayoutManager(rect, nullptr), style, text, id, bitmap)
{
}

VisualPushButton::VisualPushButton(WindowCL* parent, LayoutManager* layout, unsigned style, const char* text,
                                   unsigned id, Bitmap* bitmap, int frameCount)
    : VisualPanel(parent, layout, style, text, id)
{
    auto* group = new VisualButtonGroup(root_.get(), Covering(layout));
    AdoptGroup(root_.get(), group, style);
    auto* face = new VisualButtonFace(group, Covering(layout), style, static_cast<int>(id), bitmap, frameCount);
    group->SetFace(face);
    auto* caption = new VisualButtonCaption(group, Covering(layout), style, text, bitmap != nullptr);
    group->SetCaption(caption);
    group->AddChild(face);
    group->AddChild(caption);
}

void VisualPushButton::SetGrayed(bool grayed)
{
    if (VisualButtonCaption* caption = Caption())
        caption->SetGrayed(grayed);
    if (VisualButtonFace* face = group_ ? group_->Face() : nullptr) {
        face->SetGrayed(grayed);
        face->Draw(nullptr);
    }
}

void VisualPushButton::SetLatching(unsigned style)
{
    if (VisualButtonFace* face = group_ ? group_->Face() : nullptr)
        face->SetLatching((style & VisualPressItem::LatchingStyle) != 0);
}

VisualBitmapButton::VisualBitmapButton(WindowCL* parent, LayoutManager* layout, unsigned style, unsigned id,
                                       Bitmap* bitmap)
    : VisualPushButton(parent, layout, style | 0x8000, nullptr, id, bitmap, 1)
{
}
