#include "widgets/MenuButton.h"

#include "widgets/Shell.h"
#include "framework/dialog/Menu.h"
#include "framework/draw/Bitmap.h"
#include "framework/draw/ButtonPicture.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/LayoutManager.h"

#include <string>

namespace {

// The arrow sits this far left of the frame's right edge.
const int kArrowAreaWidth = 20;
// Face texts come from templates and menu items: "&" marks the access key, as there.
const UINT kFaceTextFormat = DT_SINGLELINE | DT_NOCLIP;

// The control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasItems(const Menu* menu)
{
    return menu && menu->Handle() && GetMenuItemCount(menu->Handle()) > 0;
}

} // namespace

MenuButton::MenuButton(WindowCL* parent, LayoutManager* layout, Menu* menu, const char* text, DWORD style)
    : PaneWindowCL(parent, layout, style | WS_TABSTOP), menu_(menu), commandTarget_(parent),
      hasItems_(HasItems(menu)), text_(text ? text : "")
{
    background_ = GetSysColor(COLOR_BTNFACE);
    LayoutText();
}

MenuButton::~MenuButton()
{
    if (ownsFont_)
        delete font_;
    if (ownsMenu_)
        delete menu_;
}

void MenuButton::SetCommandTarget(WindowCL* target)
{
    commandTarget_ = target;
}

void MenuButton::Reset()
{
    focusable_ = true;
    SetFont(TheShell().CurrentDialogFont(), false);
    // The program always draws the three-dimensional look, whose frame is one pixel wide.
    frameWidth_ = 1;
    InvalidateRect(handle_, nullptr, TRUE);
}

void MenuButton::SetFont(zFont* font, bool owns)
{
    if (ownsFont_ && font_ != font)
        delete font_;
    font_ = font;
    ownsFont_ = owns;
    LayoutText();
    InvalidateRect(handle_, nullptr, TRUE);
}

void MenuButton::SetPicture(Bitmap* picture)
{
    picture_.reset(picture);
    LayoutText();
    InvalidateRect(handle_, nullptr, TRUE);
}

void MenuButton::UpdateEnabled()
{
    const bool had = hasItems_;
    hasItems_ = HasItems(menu_);
    if (had != hasItems_)
        InvalidateRect(handle_, nullptr, TRUE);
}

bool MenuButton::ReadItemText(unsigned itemId, zString& out) const
{
    if (!menu_ || !menu_->Handle() || GetMenuState(menu_->Handle(), itemId, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return false;
    // Read through a 50-character buffer, as the face holds no more; the end is set here in case the
    // system leaves it unterminated.
    char text[kItemTextLimit + 2] = {};
    GetMenuStringA(menu_->Handle(), itemId, text, kItemTextLimit + 1, MF_BYCOMMAND);
    text[kItemTextLimit] = 0;
    out = text;
    return true;
}

void MenuButton::SetFaceText(const zString& text)
{
    if (text_ == text)
        return;
    text_ = text;
    LayoutText();
    InvalidateRect(handle_, nullptr, TRUE);
}

int MenuButton::ShowPickedItem(unsigned itemId)
{
    zString text;
    if (!ReadItemText(itemId, text))
        return 0;
    SetFaceText(text);
    if (currentItem_ > 0)
        menu_->CheckItem(currentItem_, 0);
    previousItem_ = currentItem_;
    currentItem_ = itemId;
    menu_->CheckItem(currentItem_, 1);
    return 1;
}

HGDIOBJ MenuButton::FaceFont() const
{
    if (font_)
        return font_->Handle();
    if (HFONT dialogFont = TheShell().DialogFontHandle())
        return dialogFont;
    return GetStockObject(DEFAULT_GUI_FONT);
}

RECT MenuButton::TextArea() const
{
    RECT client{};
    GetClientRect(handle_, &client);
    return RECT{client.left + 2 + frameWidth_, client.top + frameWidth_, arrowColumn_, client.bottom - frameWidth_};
}

void MenuButton::LayoutText()
{
    if (picture_ && picture_->Handle()) {
        const SIZE size = picture_->Size();
        textWidth_ = size.cx;
        textHeight_ = size.cy;
        return;
    }
    ScopedWindowDC dc(handle_);
    ScopedSelection font(dc.Get(), FaceFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    textHeight_ = metrics.tmHeight;
    // The first line of the text that fits the text area.
    const RECT area = TextArea();
    const int length = static_cast<int>(text_.Length());
    int fits = length;
    SIZE size{};
    if (arrowColumn_ >= 0)
        GetTextExtentExPointA(dc.Get(), text_.Text(), length, area.right - area.left, &fits, nullptr, &size);
    shownText_ = std::string(text_.Text(), static_cast<size_t>(fits)).c_str();
    RECT extent{0, 0, 0, 0};
    DrawTextA(dc.Get(), shownText_.Text(), fits, &extent, kFaceTextFormat | DT_CALCRECT);
    textWidth_ = extent.right;
}

long MenuButton::Paint(WindowEvent*)
{
    if (arrowColumn_ < 0) {
        RECT client{};
        GetClientRect(handle_, &client);
        arrowColumn_ = client.right - frameWidth_ - kArrowAreaWidth;
        LayoutText();
    }
    hasItems_ = HasItems(menu_);
    if (focusable_ || (active_ && hasItems_))
        DrawFace(PaintContext(), false);
    return 1;
}

void MenuButton::DrawFace(HDC dc, bool pressed)
{
    RECT client{};
    GetClientRect(handle_, &client);
    {
        ScopedGdiObject<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &client, face.Get());
    }
    const int shift = pressed ? 1 : 0;
    const RECT area = TextArea();
    const POINT textOrigin{(area.left + area.right - textWidth_) / 2 + shift,
                           (area.top + area.bottom - textHeight_) / 2 + shift};
    if (picture_ && picture_->Handle()) {
        DrawButtonPicture(dc, *picture_, RECT{0, 0, textWidth_, textHeight_}, textOrigin, CanOpen());
    } else {
        ScopedSelection font(dc, FaceFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, CanOpen() ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
        RECT place{textOrigin.x, textOrigin.y, textOrigin.x + textWidth_, textOrigin.y + textHeight_};
        DrawTextA(dc, shownText_.Text(), static_cast<int>(shownText_.Length()), &place, kFaceTextFormat);
    }
    DrawDropArrow(dc, POINT{arrowColumn_ + 5 + shift, (client.top + client.bottom - 5) / 2 + shift});
    if (focused_)
        DrawFocusMark(dc, textOrigin);
    RECT frame = client;
    DrawEdge(dc, &frame, pressed ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_RECT);
    if (frameWidth_ > 1)
        DrawEdge(dc, &frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

void MenuButton::DrawDropArrow(HDC dc, POINT origin)
{
    const POINT points[] = {{origin.x, origin.y}, {origin.x + 8, origin.y}, {origin.x + 4, origin.y + 4}};
    const bool live = CanOpen();
    ScopedPen outline(dc, live ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    ScopedSelection fill(dc, GetStockObject(live ? BLACK_BRUSH : NULL_BRUSH));
    Polygon(dc, points, 3);
}

void MenuButton::DrawFocusMark(HDC dc, POINT origin)
{
    const RECT mark{origin.x - 1, origin.y - 1, origin.x + textWidth_ + 1, origin.y + textHeight_ + 1};
    DrawFocusRect(dc, &mark);
}

void MenuButton::TrackMenu()
{
    RECT client{};
    GetClientRect(handle_, &client);
    POINT corner{client.right, client.bottom};
    MapWindowPoints(handle_, HWND_DESKTOP, &corner, 1);
    DrawFace(ScopedWindowDC(handle_).Get(), true);
    menuOpen_ = true;
    // With a fixed command the pick comes back to this button's own command operation.
    const HWND owner = fixedCommand_ || !commandTarget_ ? handle_ : commandTarget_->Handle();
    const std::shared_ptr<const bool> alive = LifeToken();
    TrackPopupMenu(menu_->Handle(), TPM_RIGHTALIGN, corner.x, corner.y, 0, owner, nullptr);
    if (!*alive)
        return;
    menuOpen_ = false;
    DrawFace(ScopedWindowDC(handle_).Get(), false);
}

long MenuButton::OnMouseDown(const MouseInput& mouse)
{
    if (!mouse.right && !mouse.doubleClick && mouse.LeftHeld() && CanOpen() && !menuOpen_)
        TrackMenu();
    return 1;
}

long MenuButton::OnMouseUp(const MouseInput&)
{
    return menuOpen_ ? 1 : 0;
}

long MenuButton::OnKeyDown(unsigned key, bool)
{
    return OnCharacter(key);
}

long MenuButton::OnCharacter(unsigned character)
{
    if (focusable_ && focused_ && CanOpen() && character == VK_SPACE) {
        TrackMenu();
        return 1;
    }
    return 0;
}

LRESULT MenuButton::DefaultProcessing(WindowEvent* event)
{
    if (event && event->message == WM_MOUSEACTIVATE && CanOpen() && focusable_) {
        SetFocus(handle_);
        return MA_ACTIVATE;
    }
    // The face is drawn greyed while the window is disabled: EnableWindow alone would leave the old face.
    if (event && event->message == WM_ENABLE)
        InvalidateRect(handle_, nullptr, TRUE);
    return PaneWindowCL::DefaultProcessing(event);
}

long MenuButton::OnFocusChange(bool gained)
{
    focused_ = gained && focusable_ && CanOpen();
    InvalidateRect(handle_, nullptr, TRUE);
    return 0;
}

long MenuButton::OnActivation(bool)
{
    hasItems_ = HasItems(menu_);
    return 0;
}

NameMenuButton::NameMenuButton(WindowCL* parent, LayoutManager* layout, Menu* menu, unsigned initialItem, DWORD style)
    : MenuButton(parent, layout, menu, nullptr, style)
{
    MenuButton::SetCommandTarget(this);
    ShowPickedItem(initialItem);
}

long NameMenuButton::OnCommandId(unsigned id, unsigned, HWND)
{
    if (!ShowPickedItem(id))
        return 0;
    if (commandWindow_)
        SendMessageA(commandWindow_->Handle(), WM_COMMAND, id, 0);
    return 1;
}

CommandMenuButton::CommandMenuButton(WindowCL* control, Menu* menu, const char* text, DWORD style,
                                     unsigned fixedCommand)
    : MenuButton(control->Parent(), new LayoutManager(RectInParent(control->Handle()), nullptr), menu, text, style)
{
    control->ShowWindow(SW_HIDE);
    MenuButton::SetCommandTarget(this);
    SetFixedCommand(fixedCommand);
}

long CommandMenuButton::OnCommandId(unsigned id, unsigned, HWND)
{
    zString text;
    if (!ReadItemText(id, text))
        return 0;
    SetFaceText(text);
    if (FixedCommand() > 0 && commandWindow_)
        SendMessageA(commandWindow_->Handle(), WM_COMMAND, FixedCommand(), 0);
    return 1;
}

MenuButton* MakeMenuButton(Menu* menu, WindowCL* control, WindowCL* target, const char* text, bool inside)
{
    if (!control)
        return nullptr;
    const zString label = text ? zString(text) : WindowCL::TextOf(control->Handle());
    MenuButton* button;
    if (inside) {
        RECT client{};
        GetClientRect(control->Handle(), &client);
        button = new MenuButton(control, new LayoutManager(client, nullptr), menu, label.Text(), 0);
    } else {
        button = new MenuButton(control->Parent(), new LayoutManager(RectInParent(control->Handle()), nullptr), menu,
                                label.Text(), 0);
        control->ShowWindow(SW_HIDE);
    }
    button->SetCommandTarget(target);
    button->ShowWindow(SW_SHOW);
    return button;
}

MenuButton* MakeOwningMenuButton(std::unique_ptr<Menu> menu, WindowCL* window, unsigned controlId)
{
    MenuButton* button = MakeMenuButton(menu.get(), window->FindChild(controlId), window, nullptr, false);
    if (button == nullptr)
        return nullptr;
    button->SetOwnsMenu(true);
    menu.release();
    return button;
}
