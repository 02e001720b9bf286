#include "widgets/DocChildWindow.h"

#include "widgets/AppDialog.h"
#include "widgets/FrameCommands.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/MainToolbar.h"
#include "widgets/SaveQuestions.h"
#include "widgets/StatusMessage.h"
#include "widgets/WindowPlacement.h"
#include "widgets/ZoomPane.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/PrintJob.h"
#include "widgets/PrinterDevice.h"
#include "foundation/PrinterSetupRecord.h"
#include "foundation/NumericHelpers.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IconResource.h"

#include <shellapi.h>

namespace {

// Room left round a changed rectangle, so that anti-aliased and thick edges are repainted as well.
constexpr float kInvalidMargin = 0.15f;

MDIframeCL* Frame()
{
    return TheApp ? dynamic_cast<MDIframeCL*>(TheApp->MainWindow()) : nullptr;
}

} // namespace

DocChildWindow::DocChildWindow(const char* title, DWORD style, unsigned menuId)
    : MDIdialogCL(TheApp ? TheApp->MainWindow() : nullptr, nullptr, style ? style : WS_OVERLAPPEDWINDOW, title, 0,
                  menuId != 0)
{
    if (menuId != 0) {
        SetMenuId(ResourceId(menuId, nullptr));
        Create();
    }
    Initialise();
}

DocChildWindow::DocChildWindow(const ResourceId& templateId)
    : MDIdialogCL(TheApp ? TheApp->MainWindow() : nullptr, templateId)
{
    Initialise();
}

void DocChildWindow::Initialise()
{
    if (handle_)
        DragAcceptFiles(handle_, TRUE);
}

DocChildWindow::~DocChildWindow()
{
    // Closed while on top (the client may already have activated the next window).
    if (maximiseOnClose_ && IsWindow(maximiseOnClose_)) {
        HWND client = GetParent(maximiseOnClose_);
        const HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
        if (active == handle_ || active == maximiseOnClose_)
            PostMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(maximiseOnClose_), 0);
    }
    focusChild_ = nullptr;
    undo_.Clear();
    SetPane(nullptr);
    printer_.reset();
}

void DocChildWindow::SetPane(ZoomPane* pane)
{
    if (pane_.get() == pane)
        return;
    pane_.reset(pane);
    // The window got its size before the pane existed: the pane fills it now, later sizes reach it through
    // its layout.
    if (pane_ && handle_ && pane_->Handle() && GetParent(pane_->Handle()) == handle_) {
        RECT client{};
        GetClientRect(handle_, &client);
        MoveWindow(pane_->Handle(), 0, 0, client.right, client.bottom, TRUE);
    }
}

Display* DocChildWindow::PaneDisplay() const
{
    return pane_ ? pane_->CurrentDisplay() : nullptr;
}

void DocChildWindow::AddUndoAction(UndoAction* action)
{
    undo_.Add(action);
    if (IsDocument())
        SetModified(1);
}

void DocChildWindow::Undo()
{
    if (undo_.Undo() && IsDocument())
        SetModified(1);
}

void DocChildWindow::Redo()
{
    if (undo_.Redo() && IsDocument())
        SetModified(1);
}

long DocChildWindow::OnClose(WindowEvent* event)
{
    if (event->window != handle_)
        return 0;
    AskSaveChanges(TheShell().Frame(), this, false);
    return 1;
}

long DocChildWindow::OnCommandId(unsigned id, unsigned, HWND)
{
    return OnEditCommand(id);
}

long DocChildWindow::OnEditCommand(unsigned id)
{
    if (id == Cmd::RelayoutWindows) {
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW | RDW_FRAME);
        return 1;
    }
    if (id < Cmd::EditUndo || id > Cmd::EditClear || !editCommandsOn_ || !focusEdit_)
        return 0;
    HWND edit = focusEdit_->Handle();
    switch (id) {
    case Cmd::EditUndo:
        SendMessageA(edit, WM_UNDO, 0, 0);
        break;
    case Cmd::EditCut:
        SendMessageA(edit, WM_CUT, 0, 0);
        break;
    case Cmd::EditCopy:
        SendMessageA(edit, WM_COPY, 0, 0);
        break;
    case Cmd::EditPaste:
        SendMessageA(edit, WM_PASTE, 0, 0);
        break;
    default:
        focusEdit_->ReplaceSelection("");
        break;
    }
    if (IsDocument())
        SetModified(1);
    return 1;
}

long DocChildWindow::OnMDIActivation(bool active)
{
    const long answer = MDIdialogCL::OnMDIActivation(active);
    if (active) {
        OnActivated();
    } else {
        OnDeactivated();
        PostMessageA(handle_, WM_COMMAND, Cmd::RelayoutWindows, 0);
    }
    return answer;
}

void DocChildWindow::OnActivated()
{
    RestoreFocus();
    ShowRestoredIfFixed();
    // The status bar spoke of the window active before; this window writes its own indicators.
    if (TheShell().Frame() != nullptr) {
        TheShell().ClearStatusIndicators();
        ShowStatusMessage("");
    }
    RefreshFrameCommands();
}

void DocChildWindow::Show(int showCommand)
{
    if (showCommand < 0) {
        showCommand = TheShell().ChildShowCommand();
    }
    if (showCommand == SW_SHOWMAXIMIZED && !(style_ & WS_MAXIMIZEBOX))
        showCommand = SW_RESTORE;
    MDIdialogCL::Show(showCommand);
}

void DocChildWindow::ShowRestoredIfFixed()
{
    if (!handle_ || (GetWindowLongA(handle_, GWL_STYLE) & WS_MAXIMIZEBOX) || !IsZoomed(handle_))
        return;
    // The client maximised this window because the one active before, now just under it, was maximised:
    // that one gets its state back when this window closes.
    HWND below = GetWindow(handle_, GW_HWNDNEXT);
    while (below && !IsWindowVisible(below))
        below = GetWindow(below, GW_HWNDNEXT);
    if (below && (GetWindowLongA(below, GWL_STYLE) & WS_MAXIMIZEBOX))
        maximiseOnClose_ = below;
    ::ShowWindow(handle_, SW_RESTORE);
}

int DocChildWindow::QueryClose(const char*)
{
    if (AppDialog::OpenDialogs())
        return 0;
    if (!pane_)
        return 1;
    PrintJob* job = PrintJob::Current();
    if (job && job->Source() == pane_.get()) {
        zString text("Please cancel the print job for \"");
        text += Text();
        text += "\" before closing it.";
        ShowErrorBox(nullptr, text.Text(), 0);
        return 0;
    }
    return 1;
}

int DocChildWindow::Print(int silent)
{
    return pane_ && pane_->Print(silent) ? 1 : 0;
}

bool DocChildWindow::GetPrintOffset(float&, float&)
{
    return false;
}

void DocChildWindow::PrintScaleRange(double& minimum, double& maximum)
{
    minimum = 0.2;
    maximum = 2.5;
}

void DocChildWindow::SetDefaultCommandStates()
{
    EnableSaveCommand(0);
    EnablePrintCommands(CanPrint());
    // A window without commands of its own gives no button a rule.
    EnableToolbarButtons([](unsigned) { return false; });
    CheckRollBackButton(false);
    SelectDefaultMode();
}

void DocChildWindow::Bounds(LogicalRect& rect)
{
    rect = LogicalRect{0, 0, 0, 0};
}

void DocChildWindow::OnZoomChanged() {}

PrinterDevice* DocChildWindow::PrinterSetup()
{
    // A device made while the system had no printer is made again: a printer added since is then found.
    if (printer_ && !printer_->PrinterContext())
        printer_.reset();
    if (!printer_)
        printer_ = std::make_unique<PrinterDevice>();
    PrinterSetupRecord& settings = PrinterSettings();
    if (printer_->Settings() != &settings)
        printer_->Open(&settings);
    // Every time, so that a scale changed since (a drag in the preview) takes effect.
    double scale = GetPrintScale();
    double minimum = 0.0;
    double maximum = 0.0;
    PrintScaleRange(minimum, maximum);
    ClampValue(&scale, minimum, maximum);
    printer_->SetScale(scale, -1.0);
    return printer_.get();
}

bool DocChildWindow::HasPrinter()
{
    PrinterDevice* printer = PrinterSetup();
    return printer && printer->PrinterContext();
}

int DocChildWindow::PrintSetup()
{
    if (!HasPrinter())
        return 0;
    // The system's dialog is no application dialog: the chain is empty while it runs.
    AppDialog* open = AppDialog::SwapOpenDialogs(nullptr);
    printer_->PrintSetup();
    AppDialog::SwapOpenDialogs(open);
    if (open) {
        WindowEvent event{0, WA_ACTIVE, WM_ACTIVATE, open->Handle()};
        open->OnActivate(&event);
    }
    return 1;
}

PrinterSetupRecord& DocChildWindow::PrinterSettings()
{
    if (!settings_)
        settings_ = std::make_unique<PrinterSetupRecord>();
    return *settings_;
}

void DocChildWindow::UsePrinter(PrinterDevice* printer)
{
    if (printer == printer_.get())
        return;
    printer_.reset(printer);
}

PrinterDevice* DocChildWindow::ReleasePrinter()
{
    return printer_.release();
}

void DocChildWindow::Draw(Display*) {}

void DocChildWindow::InvalidateLogicalRect(const LogicalRect* rect)
{
    Display* display = PaneDisplay();
    if (!display)
        return;
    if (!rect) {
        display->InvalidateRect(nullptr, true);
        return;
    }
    const LogicalRect grown{rect->left - kInvalidMargin, rect->top - kInvalidMargin, rect->right + kInvalidMargin,
                            rect->bottom + kInvalidMargin};
    RECT pixels = LogicalRectToPixels(grown, *display);
    const POINT scroll = pane_->ScrollOrigin();
    OffsetRect(&pixels, -scroll.x, -scroll.y);
    display->InvalidateRect(&pixels, true);
}

void DocChildWindow::TrackFocus(EditCtrl* control)
{
    control->AddMessageHandler(this, &DocChildWindow::OnTrackedFocus, WM_SETFOCUS);
    control->AddMessageHandler(this, &DocChildWindow::OnTrackedFocus, WM_KILLFOCUS);
}

long DocChildWindow::OnTrackedFocus(WindowEvent* event)
{
    if (event->message == WM_SETFOCUS)
        if (auto* edit = dynamic_cast<EditCtrl*>(WindowCL::FromHandle(event->window)))
            focusEdit_ = edit;
    return 0;
}

void DocChildWindow::RestoreFocus()
{
    WindowCL* target = focusEdit_ ? static_cast<WindowCL*>(focusEdit_) : focusChild_;
    if (!target)
        target = pane_.get();
    if (target && target->Handle() && IsWindow(target->Handle()))
        SetFocus(target->Handle());
    else
        focusChild_ = nullptr;
}

void DocChildWindow::SetFocusChild(WindowCL* window)
{
    if (window && IsActiveChild() && window->Handle() && IsWindow(window->Handle()))
        SetFocus(window->Handle());
    focusChild_ = window;
}

bool DocChildWindow::IsActiveChild() const
{
    MDIframeCL* frame = Frame();
    return frame && frame->ActiveChild() == this;
}

void DocChildWindow::SetIconId(unsigned id)
{
    iconId_ = id;
    if (id)
        SetClassIcon(new IconResource(ResourceId(id, nullptr)));
}

bool DocChildWindow::SuspendInPlaceEdit()
{
    return false;
}

void DocChildWindow::ResumeInPlaceEdit() {}
