#include "app/MainFrame.h"

#include "app/BarLayoutRule.h"
#include "widgets/CommandLine.h"
#include "widgets/DocChildWindow.h"
#include "app/FramePlacement.h"
#include "widgets/HelpContext.h"
#include "app/OpenFileByName.h"
#include "app/ProgressWindow.h"
#include "widgets/SaveQuestions.h"
#include "app/StartProgram.h"
#include "app/WindowMenuList.h"
#include "widgets/OnlineHelp.h"
#include "framework/dialog/Menu.h"
#include "framework/draw/zFont.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/DockLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IconResource.h"
#include "framework/window/MDIchildCL.h"
#include "framework/window/MDImarginCL.h"
#include "framework/window/ResourceId.h"
#include "formula/TableDirectory.h"
#include "treewin/TableGraphWindow.h"
#include "widgets/DdeLinkManager.h"
#include "script/ScriptManager.h"
#include "treewin/TreeClipboard.h"

#include "CommandIds.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>


namespace {

constexpr unsigned FrameIconId = 32001;
constexpr int ToolBarHeight = 31;

// The status bar's texts in the system's status-bar font, as the menus and dialogs use the system's fonts.
zFont* StatusBarFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    const LOGFONTA& font = metrics.lfStatusFont;
    return new zFont(font.lfFaceName, font.lfWidth, font.lfHeight, font.lfWeight, font.lfPitchAndFamily & 0x0F,
                     font.lfPitchAndFamily & 0xF0, 0, 0, 0, font.lfCharSet, font.lfOutPrecision,
                     font.lfClipPrecision, font.lfQuality);
}

} // namespace

MainFrame::MainFrame()
    : MDIframeCL(new ChildLayout(nullptr), 0xCF0000 /* WS_OVERLAPPEDWINDOW */, Title,
                 Menu::PopupFromResource(ResourceId(MenuRes::WindowMenu, nullptr)), FirstChildId)
{
    shortMenus_ = CommandLineFlag(ShortMenusBit) ? 1 : 0;
    SetWindowMenuPosition(2);

    menuBar_ = Menu::MenuBar(this, ResourceId(shortMenus_ ? MenuRes::FrameMenuShort : MenuRes::FrameMenu, nullptr));
    SetMenuObject(menuBar_);
    TheTreeClipboard().ShowInMenu(menuBar_);
    HMENU bar = GetMenu(handle_);
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(WindowMenu()->Handle()), "&Window");
    helpMenu_.reset(Menu::PopupFromResource(ResourceId(MenuRes::HelpMenu, nullptr)));
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(helpMenu_->Handle()), "&Help");
    DrawMenuBar(handle_);

    AddRoutingBits(RouteMenu);
    menuBar_->OnInitMenu(this, &MainFrame::OnInitMenu);
    menuBar_->OnInitMenuPopup(this, &MainFrame::OnInitMenu);
    menuBar_->OnMenuSelect(this, &MainFrame::OnMenuSelect);

    auto* icon = new IconResource(ResourceId(FrameIconId, nullptr));
    if (icon->Handle())
        SetClassIcon(icon);
    else
        delete icon;
    if (TheApp)
        TheApp->LoadAccelerators(ResourceId(MenuRes::FrameKeys, nullptr));

    CreateStatusBar();
    CreateToolBar();
    DragAcceptFiles(handle_, TRUE);
    if (TheApp)
        TheApp->AddHandler(this, &MainFrame::OnDropFiles, WM_DROPFILES);
    AddHandler(this, &MainFrame::OnActivateProgram, WM_ACTIVATEAPP);
    AddHandler(this, &MainFrame::OnRefreshCommands, RefreshCommandsMessage);
}

MainFrame::~MainFrame()
{
    if (IsWindow(handle_))
        DragAcceptFiles(handle_, FALSE);
    if (TheApp) {
        TheApp->RemoveHandler(this, &MainFrame::OnDropFiles, WM_DROPFILES);
        TheApp->SetAcceleratorTable(nullptr);
    }
    // The Window and Help pop-ups have owners of their own: they leave the bar before it is destroyed.
    TheTreeClipboard().ShowInMenu(nullptr);
    if (menuBar_ && IsWindow(handle_)) {
        HMENU bar = menuBar_->Handle();
        for (int i = GetMenuItemCount(bar) - 1; i >= 0; --i) {
            const HMENU popup = GetSubMenu(bar, i);
            if (popup && (popup == WindowMenu()->Handle() || popup == helpMenu_->Handle()))
                RemoveMenu(bar, static_cast<UINT>(i), MF_BYPOSITION);
        }
    }
    helpMenu_.reset();
    menuBar_ = nullptr;
}

TableGraphWindow* MainFrame::FindTableGraph(const char* name)
{
    for (TableGraphWindow* window : tableGraphs_) {
        if (window->ShowsTable(name)) {
            MessageBeep(0);
            window->Activate();
            return window;
        }
    }
    return nullptr;
}

TableGraphWindow* MainFrame::OpenTableGraph(const char* name)
{
    if (TableGraphWindow* open = FindTableGraph(name))
        return open;
    LookupTable* table = FindTable(name);
    if (table == nullptr)
        return nullptr;
    auto* window = new TableGraphWindow(table);
    tableGraphs_.push_back(window);
    window->Show(-1);
    return window;
}

void MainFrame::RemoveTableGraph(const TableGraphWindow* window)
{
    tableGraphs_.erase(std::remove(tableGraphs_.begin(), tableGraphs_.end(), window), tableGraphs_.end());
}

void MainFrame::CloseTableGraphsOf(const char* name)
{
    const std::vector<TableGraphWindow*> open = tableGraphs_;
    for (TableGraphWindow* window : open)
        if (window->ShowsTable(name))
            delete window;
}

MainFrame* MainFrame::Program()
{
    return TheApp ? dynamic_cast<MainFrame*>(TheApp->MainWindow()) : nullptr;
}

void MainFrame::CreateStatusBar()
{
    statusBarRule_ = new BarLayoutRule(LayoutManager::DockBottom, 0);
    statusMargin_ = new MDImarginCL(this, statusBarRule_);
    // The bars come before the MDI client in the frame's rule, so that the client fills what they leave.
    auto* frameRule = static_cast<ChildLayout*>(layout_);
    frameRule->Remove(statusBarRule_);
    frameRule->Add(statusBarRule_);
    auto* paneRule = new DockLayout(LayoutManager::DockTop, 0, statusBarRule_);
    statusPane_ = new VisualPane(statusMargin_, paneRule, 0, StatusBarFont());
    statusBarRule_->SetFixedHeight(paneRule->FixedHeight());
    auto* message = new VisualFieldItem(statusPane_, LayoutManager::FillTopLeft, "", 0, 0x401);
    new VisualFieldItem(statusPane_, LayoutManager::DockRight, "MultiAttr", 3, VisualFieldItem::Centred);
    new VisualFieldItem(statusPane_, LayoutManager::DockRight, "RISK", 2, VisualFieldItem::Centred);
    progress_ = new ProgressWindow(statusPane_);
    statusPane_->SetActiveItem(message);
    statusPane_->Show(SW_SHOW);
    statusMargin_->Show(SW_SHOW);
}

void MainFrame::CreateToolBar()
{
    toolBarRule_ = new BarLayoutRule(LayoutManager::DockTop, ToolBarHeight);
    toolBarMargin_ = new MDImarginCL(this, toolBarRule_);
    auto* frameRule = static_cast<ChildLayout*>(layout_);
    frameRule->Remove(toolBarRule_);
    frameRule->Add(toolBarRule_);
    toolBar_ = new VisualForwardingListPane(
        toolBarMargin_, new DockLayout(LayoutManager::DockTop, ToolBarHeight, toolBarRule_), VisualListPane::AutoEdge);
    toolBar_->Show(SW_SHOW);
    toolBarMargin_->Show(SW_SHOW);
}

bool MainFrame::StatusBarVisible() const
{
    return statusBarRule_->Visible != 0;
}

bool MainFrame::ToolBarVisible() const
{
    return toolBarRule_->Visible != 0;
}

void MainFrame::Relayout()
{
    RECT client{};
    GetClientRect(handle_, &client);
    WindowEvent size{MAKELPARAM(client.right, client.bottom), SIZE_RESTORED, WM_SIZE, handle_};
    LayoutChildren(&size);
}

long MainFrame::OnResize(SIZE client, UINT kind)
{
    PostMessageA(handle_, WM_COMMAND, Cmd::RelayoutWindows, 0);
    return MDIframeCL::OnResize(client, kind);
}

long MainFrame::OnClose(WindowEvent*)
{
    // A running script ends first; it closes the frame again once it has.
    ScriptManager* scripts = TheProgram() != nullptr ? TheProgram()->Scripts() : nullptr;
    if (scripts != nullptr && scripts->StopBeforeClose())
        return 1;
    // The last window is asked first; the first that refuses keeps the program running. A window with
    // changes comes to the top for its question; windows that agree without one close together, the active
    // one last, so that closing them does not activate each in turn.
    std::vector<WindowCL*> windows;
    CollectWindows(windows);
    std::vector<WindowCL*> agreed;
    const auto closeAgreed = [&] {
        const auto active = std::find(agreed.begin(), agreed.end(), MDIframeCL::ActiveChild());
        if (active != agreed.end())
            std::rotate(active, active + 1, agreed.end());
        for (WindowCL* window : agreed) {
            // A window closing may take others with it (a tree its own windows).
            std::vector<WindowCL*> open;
            CollectWindows(open);
            if (std::find(open.begin(), open.end(), window) != open.end())
                delete window;
        }
        agreed.clear();
        if (!MDIframeCL::ActiveChild())
            RefreshCommands();
    };
    HoldMenuBar(true);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        auto* child = dynamic_cast<DocChildWindow*>(*it);
        const bool asks = child != nullptr && child->IsModified();
        if (asks) {
            closeAgreed();
            BringWindowToTop((*it)->Handle());
        }
        if (!AgreesToClose(*it, true)) {
            closeAgreed();
            HoldMenuBar(false);
            return 1;
        }
        agreed.push_back(*it);
        if (asks)
            closeAgreed();
    }
    closeAgreed();
    SaveFramePlacement(this);
    RemoveHelpHook();
    return 0; // the default processing destroys the window
}

void MainFrame::EndStartup()
{
    startupBusy_ = 0;
}

MDIchildCL* MainFrame::ActiveChild() const
{
    MDIchildCL* active = MDIframeCL::ActiveChild();
    std::vector<WindowCL*> windows;
    CollectWindows(windows);
    return std::find(windows.begin(), windows.end(), active) != windows.end() ? active : nullptr;
}

void MainFrame::CollectWindows(std::vector<WindowCL*>& out) const
{
    for (WindowCL* child : children_) {
        if (child != statusMargin_ && child != toolBarMargin_)
            out.push_back(child);
    }
}

void MainFrame::RememberChildShowCommand()
{
    MDIchildCL* active = MDIframeCL::ActiveChild();
    if (!active)
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(active->Handle(), &placement);
    childShowCommand_ = placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

void MainFrame::SetStatusPane(const char* text, int key)
{
    if (!statusPane_)
        return;
    if (VisualFieldItem* field = statusPane_->FindItem(key)) {
        field->SetText(text);
        field->Redraw();
    }
}

void MainFrame::ClearStatusIndicators()
{
    SetStatusPane("", 2);
    SetStatusPane("", 3);
}

long MainFrame::OnInitMenu(WindowEvent*)
{
    if (startupBusy_)
        return 0;
    UpdateMenus();
    ListActiveWindow(WindowMenu()->Handle(), ClientHandle(), FirstChildId);
    return 0;
}

LRESULT MainFrame::DefaultProcessing(WindowEvent* event)
{
    std::optional<ActiveWindowPicked> picked;
    if (event != nullptr && event->message == WM_COMMAND && LOWORD(event->wParam) == MoreWindowsId(FirstChildId))
        picked.emplace(ClientHandle());
    return MDIframeCL::DefaultProcessing(event);
}

long MainFrame::OnDropFiles(WindowEvent* event)
{
    const HDROP drop = event->DroppedFiles();
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Names are read at their full length.
        std::string name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        if (DragQueryFileA(drop, i, &name[0], static_cast<UINT>(name.size())))
            OpenFileByName(name.c_str());
    }
    DragFinish(drop);
    return 1;
}

long MainFrame::OnActivateProgram(WindowEvent* event)
{
    // A program that a link names may have started while another program was in front.
    if (event->ProgramActivating())
        if (DdeLinkManager* links = TheProgram() ? TheProgram()->Links() : nullptr)
            links->RetryAll();
    return 0;
}

long MainFrame::OnMenuSelect(WindowEvent* event)
{
    PointHelpAtMenuItem(static_cast<int>(event->MenuItem()));
    return 0;
}
