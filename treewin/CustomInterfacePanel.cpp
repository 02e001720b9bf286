#include "treewin/CustomInterfacePanel.h"

#include "widgets/FramePane.h"
#include "widgets/MimicRunTime.h"
#include "widgets/Shell.h"
#include "treewin/ChangeValuesDialog.h"
#include "treewin/InterfaceOptionsDialog.h"
#include "treewin/NamedCommentDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/FillLayout.h"
#include "framework/window/WindowEvent.h"
#include "model/CustomInterfaceSettings.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>

namespace {

// Keeps a window of fixed size in the middle of its parent as the parent is resized.
class CentredLayout : public LayoutManager {
public:
    CentredLayout(int width, int height) : LayoutManager(0, 0, width, height, nullptr) {}

    void Resize(WindowCL* window, WindowEvent* parentSize) override
    {
        if (window == nullptr || window->Handle() == nullptr || parentSize == nullptr)
            return;
        const SIZE parent = parentSize->ClientSize();
        x_ = std::max(0, (static_cast<int>(parent.cx) - width_) / 2);
        y_ = std::max(0, (static_cast<int>(parent.cy) - height_) / 2);
        MoveWindow(window->Handle(), x_, y_, width_, height_, TRUE);
    }
};

// The framed pane of the buttons: a click hands the button's command to the tree window.
class ButtonPane : public FramePane {
public:
    ButtonPane(WindowCL* parent, TreeWindow& tree, SIZE size)
        : FramePane(parent, new CentredLayout(size.cx, size.cy), WS_CHILD | WS_VISIBLE), tree_(tree)
    {
    }

    long OnCommandId(unsigned id, unsigned code, HWND) override
    {
        if (code != BN_CLICKED)
            return 0;
        // The command may take the panel, and this pane with it, away.
        tree_.OnCommand(static_cast<int>(id));
        return 1;
    }

private:
    TreeWindow& tree_;
};

// Dialog units of the program's dialog font (the system's without one).
zDialogUnit DialogFontUnits()
{
    const HFONT dialogFont = TheShell().DialogFontHandle();
    if (dialogFont == nullptr)
        return zDialogUnit();
    ScopedScreenInfoContext dc;
    ScopedSelection font(dc.Get(), dialogFont);
    return zDialogUnit(dc.Get());
}

struct PanelButton {
    const char* text;
    unsigned command;
    int top;
};

} // namespace

CustomInterfacePanel::CustomInterfacePanel(TreeWindow& tree, WindowCL* treePane)
    : PaneWindowCL(treePane, new FillLayout(), WS_CHILD)
{
    SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    const zDialogUnit units = DialogFontUnits();
    block_ = new ButtonPane(this, tree, SIZE{units.ToPixelsX(BlockWidth), units.ToPixelsY(BlockHeight)});

    const CustomInterfaceSettings* settings = tree.Document().CustomInterface.get();
    const bool options = settings != nullptr && settings->IsInUse();
    const bool comments = settings != nullptr && !settings->comment.IsEmpty();
    const PanelButton buttons[] = {{"Options...", Cmd::CustomInterfaceOptions, 15},
                                   {"Change Values...", Cmd::CustomInterfaceChangeValues, 35},
                                   {"Comments...", Cmd::CustomInterfaceComments, 86},
                                   {"Show Tree", Cmd::OptionsShowCustomInterface, 105},
                                   {"Analyze...", Cmd::CustomInterfaceAnalyze, 55}};
    const HFONT font = TheShell().DialogFontHandle();
    for (const PanelButton& button : buttons) {
        if ((button.command == Cmd::CustomInterfaceOptions && !options) ||
            (button.command == Cmd::CustomInterfaceComments && !comments))
            continue;
        const int left = units.ToPixelsX(ButtonLeft);
        const int top = units.ToPixelsY(button.top);
        const RECT rect{left, top, left + units.ToPixelsX(ButtonWidth), top + units.ToPixelsY(ButtonHeight)};
        auto* control = new StyledButtonCtrl(block_, rect, BS_PUSHBUTTON | WS_TABSTOP, button.text, button.command);
        if (font != nullptr)
            SendMessageA(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    RECT client{};
    GetClientRect(treePane->Handle(), &client);
    MoveWindow(handle_, 0, 0, client.right, client.bottom, FALSE);
    WindowEvent size{MAKELPARAM(client.right, client.bottom), SIZE_RESTORED, WM_SIZE, handle_};
    block_->Layout()->Resize(block_, &size);
}

void TreeWindow::ShowCustomInterface(int show)
{
    const int16_t shown = show != 0 ? 1 : 0;
    if (shown == CustomInterfaceShown)
        return;
    // Nothing stays selected, or typed into, in a tree hidden behind the panel; the keys go to the panel
    // while it is shown.
    ClearSelection();
    TreePane* pane = Pane();
    if (shown == 0 && customInterfacePanel != nullptr) {
        const bool focused = IsChild(customInterfacePanel->Handle(), GetFocus()) != FALSE;
        delete customInterfacePanel;
        customInterfacePanel = nullptr;
        if (focused)
            SetFocus(pane->Handle());
    } else if (shown != 0 && pane != nullptr) {
        const bool focused = GetFocus() == pane->Handle();
        customInterfacePanel = new CustomInterfacePanel(*this, pane);
        customInterfacePanel->Show(SW_SHOW);
        if (focused)
            SetFocus(customInterfacePanel->ButtonBlock().Children().front()->Handle());
    }
    CustomInterfaceShown = shown;
    Redraw();
    InvalidateAll();
}

using Handlers = TreeWindow::CommandHandlers;

void Handlers::InterfaceOptions(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    CustomInterfaceSettings* settings = document.CustomInterface.get();
    if (settings != nullptr && InterfaceOptionsDialog(document, settings->options).Run()) {
        document.ModelChanged();
        document.UpdateStatusIndicators();
    }
}

void Handlers::ChangeValues(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    CustomInterfaceSettings* settings = document.CustomInterface.get();
    if (settings == nullptr)
        return;
    // Changes are kept as modified only where the user may save them. The Extended interface sets the
    // variables of the selected node (the root's without one).
    const bool save = settings->options.allowSaveTree != 0;
    TreeNode* node = tree.Selection.Count() == 1 ? tree.Selection.At(0) : document.Root;
    if (settings->options.extended != 0 && !CheckCustomInterfaceEditable(document, node))
        return;
    std::unique_ptr<ChangeValuesDialog> dialog(settings->options.extended != 0
                                                   ? new ChangeValuesDialog(document, node, save)
                                                   : new ChangeValuesDialog(document, *settings, save));
    NodeChildList changed(4, Ownership::Borrows);
    if (dialog->Run(changed)) {
        if (document.DisplayPrefs.MarkNodesWithVars == 2)
            tree.RedrawNodes(changed, 0);
        tree.InvalidateAll();
    }
}

void Handlers::InterfaceComments(TreeWindow& tree)
{
    if (CustomInterfaceSettings* settings = tree.document.CustomInterface.get())
        RunNamedCommentDialog(settings->comment, nullptr);
}

void Handlers::ShowCustomInterface(TreeWindow& tree)
{
    // Hiding is always possible; showing needs an interface to show.
    if (tree.CustomInterfaceShown != 0 || tree.CanShowCustomInterface())
        tree.ShowCustomInterface(tree.CustomInterfaceShown == 0 ? 1 : 0);
}

// The menu shows the switch checked when it next opens.
void Handlers::MimicRunTime(TreeWindow&) { SetMimicRunTime(!IsMimicRunTime()); }
