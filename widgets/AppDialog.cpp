#include "widgets/AppDialog.h"

#include "widgets/CursorStack.h"
#include "widgets/HelpContext.h"
#include "widgets/OnlineHelp.h"
#include "widgets/RangeValidator.h"
#include "widgets/Shell.h"
#include "widgets/ValidatedEdit.h"
#include "widgets/WindowPlacement.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/Menu.h"
#include "framework/draw/zFont.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

AppDialog* AppDialog::chainHead_ = nullptr;

namespace {

// Room for 49 characters and the terminating zero.
constexpr int kMenuTextSize = 50;

} // namespace

void ApplyDialogFont(WindowCL& window)
{
    const HFONT dialogFont = TheShell().DialogFontHandle();
    if (!dialogFont || !window.Handle())
        return;
    const WPARAM font = reinterpret_cast<WPARAM>(dialogFont);
    SendMessageA(window.Handle(), WM_SETFONT, font, FALSE);
    for (WindowCL* child : window.Children())
        if (child->Handle())
            SendMessageA(child->Handle(), WM_SETFONT, font, FALSE);
}

AppDialog::AppDialog(unsigned dialogId)
    : OkCancelDialog(TheApp ? TheApp->MainWindow() : nullptr, ResourceId(dialogId, nullptr)),
      previousOpen_(chainHead_)
{
    ApplyDialogFont(*this);
    chainHead_ = this;
    PushCursor(CursorStack::kArrow);
    AddHandler(this, &AppDialog::OnCommandHook, WM_COMMAND);
    PushHelpContext(dialogId);
}

AppDialog::~AppDialog()
{
    chainHead_ = previousOpen_;
    helpContext_.reset();
    PopCursor();
}

AppDialog* AppDialog::SwapOpenDialogs(AppDialog* head)
{
    AppDialog* previous = chainHead_;
    chainHead_ = head;
    return previous;
}

void AppDialog::PushHelpContext(unsigned dialogId)
{
    helpContext_ = std::make_unique<HelpContextScope>(FindChild(HelpButtonId) ? static_cast<int>(dialogId) : 0);
}

int AppDialog::RunModal()
{
    PlaceInFrame();
    Show(SW_SHOWNORMAL);
    DoModal();
    return Result();
}

void AppDialog::PlaceInFrame()
{
    PlaceDialogInFrame(handle_);
}

void AppDialog::DoModal()
{
    DialogFrameCL::RunModal();
    // A window whose painting never validates would keep answering WM_PAINT: the loop is bounded.
    MSG message;
    for (int i = 0; i < 256 && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageA(&message);
}

void AppDialog::ResizeInDialogUnits(int width, int height)
{
    RECT window;
    RECT client;
    if (!GetWindowRect(handle_, &window) || !GetClientRect(handle_, &client))
        return;
    HDC dc = GetDC(handle_);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(DialogFont()));
    const zDialogUnit units(dc);
    SelectObject(dc, previous);
    ReleaseDC(handle_, dc);
    int outerWidth = window.right - window.left;
    int outerHeight = window.bottom - window.top;
    if (width > 0)
        outerWidth = units.ToPixelsX(width) + outerWidth - (client.right - client.left);
    if (height > 0)
        outerHeight = units.ToPixelsY(height) + outerHeight - (client.bottom - client.top);
    POINT topLeft{window.left, window.top};
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        ScreenToClient(parent, &topLeft);
    MoveWindow(handle_, topLeft.x, topLeft.y, outerWidth, outerHeight, TRUE);
}

void AppDialog::AddMenuButton(Menu* buttonMenu)
{
    if (!menuButtons_)
        menuButtons_ = std::make_unique<std::vector<Menu*>>();
    menuButtons_->push_back(buttonMenu);
}

void AppDialog::TrackFocus(WindowCL* control)
{
    control->AddMessageHandler(this, &AppDialog::OnTrackedFocus, WM_SETFOCUS);
    control->AddMessageHandler(this, &AppDialog::OnTrackedFocus, WM_KILLFOCUS);
    if (!tracked_)
        tracked_ = control;
}

long AppDialog::OnTrackedFocus(WindowEvent* event)
{
    if (event->message == WM_SETFOCUS)
        if (WindowCL* control = WindowCL::FromHandle(event->window))
            tracked_ = control;
    return 0;
}

long AppDialog::OnCommandHook(WindowEvent* event)
{
    const unsigned id = event->CommandId();
    if (id == HelpButtonId) {
        ShowHelpForContext();
        return 1;
    }
    return OnMenuItemPicked(id);
}

int AppDialog::OnMenuItemPicked(unsigned commandId)
{
    if (!tracked_ || !menuButtons_)
        return 0;
    for (Menu* menu : *menuButtons_) {
        if (!menu || !menu->Handle() || GetMenuState(menu->Handle(), commandId, MF_BYCOMMAND) == static_cast<UINT>(-1))
            continue;
        char text[kMenuTextSize] = {};
        if (GetMenuStringA(menu->Handle(), commandId, text, kMenuTextSize, MF_BYCOMMAND) <= 0)
            return 0;
        InsertPickedText(text, commandId);
        return 1;
    }
    return 0;
}

void AppDialog::InsertPickedText(const char* text, unsigned)
{
    if (!tracked_)
        return;
    SendMessageA(tracked_->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    SetFocus(tracked_->Handle());
}

RealEdit* AppDialog::AddRealField(unsigned id, double* variable, double low, double high)
{
    return RealEdit::FromTemplate(this, id, new RealRangeValidator(low, high, 1), 0, variable);
}

RealEdit* AppDialog::AddRealFieldUnbounded(unsigned id, double* variable)
{
    return RealEdit::FromTemplate(this, id, new RealRangeValidator(0, 0, 0), 0, variable);
}

ValidatedEdit* AppDialog::AddValidatedEdit(unsigned id, double* variable)
{
    return new ValidatedEdit(this, id, nullptr, new RealRangeValidator(0, 0, 0), 0, variable);
}

IntegerEdit* AppDialog::AddIntegerField(unsigned id, int* variable, int low, int high)
{
    return IntegerEdit::FromTemplate(this, id, new IntegerRangeValidator(low, high, 1), 0, variable);
}

IntegerEdit* AppDialog::AddIntegerFieldBound(unsigned id, int* variable, int mode, int bound)
{
    return IntegerEdit::FromTemplate(this, id, new IntegerRangeValidator(0, bound, mode), 0, variable);
}
