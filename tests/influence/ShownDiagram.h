#pragma once
// A diagram window shown maximized in a shown frame with the tool bar, the message boxes recorded, the
// pointer away from the windows; the screen is checked against a full repaint when the test ends. Commands go to the window, presses, moves
// and releases to its pane, Undo and Redo to the frame; double clicks are the system's own.

#include "widgets/InPlaceEdit.h"
#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "app/StartProgram.h"
#include "foundation/RecentFileList.h"
#include "framework/draw/DrawingScale.h"
#include "influence/DiagramPane.h"
#include "influence/InfluenceDiagramWindow.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/PressClock.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "framework/window/FrameworkApp.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ShownDiagram : private HoldsThePointerAway, public ::testing::Test {
protected:
    ShownDiagram()
    {
        previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
        frame = new MainFrame;
        frame->EndStartup();
        BuildMainToolbar(frame->ToolBar());
        MoveWindow(frame->Handle(), 0, 0, 900, 700, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
        window = new InfluenceDiagramWindow();
        window->Show(SW_SHOWMAXIMIZED);
        pane = window->Pane();
        WaitForMenusOf(window);
    }
    ~ShownDiagram() override
    {
        ExpectScreenEqualsRepaint(frame->Handle());
        DestroyMainToolbar();
        delete frame;
        TheProgram()->ReplaceRecentFiles(std::move(previousList));
    }

    void WaitForMenusOf(MDIchildCL* child) { ::WaitForMenusOf(*frame, child); }
    InfluenceDocument& Document() { return window->document; }
    std::vector<InfluenceNodeRecord*>& Nodes() { return window->document.diagram.nodes; }
    // The pane's client point of a diagram point.
    POINT At(DiagramPoint point)
    {
        pane->PushDrawingScale();
        const POINT pixels = LogicalPointToPixels(LogicalPoint{point.x, point.y}, *pane->CurrentDisplay());
        pane->PopDrawingScale();
        const RECT client = pane->DrawingToClient(RECT{pixels.x, pixels.y, pixels.x, pixels.y});
        return POINT{client.left, client.top};
    }
    POINT At(const InfluenceNodeRecord* node, float dx = 0, float dy = 0)
    {
        const DiagramPoint centre = node->NodeCentre();
        return At(DiagramPoint{centre.x + dx, centre.y + dy});
    }
    void Send(UINT message, WPARAM keys, POINT point)
    {
        const auto send = [&] { SendMessageA(pane->Handle(), message, keys, MAKELPARAM(point.x, point.y)); };
        if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN)
            return send();
        // Each press is one of its own, unless DoubleClick makes it the second of a double click.
        presses.Press(nextPressAfter, send);
        nextPressAfter = PressClock::Apart();
    }
    void Click(POINT point, WPARAM keys = 0)
    {
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, point);
        Send(WM_LBUTTONUP, keys, point);
    }
    // A person's double click (the system's own input) at the pane's client point, the window kept on top until
    // what it does has happened.
    void DoubleClick(POINT point, const std::function<bool()>& happened)
    {
        ScreenOnTop onTop(frame->Handle());
        RealInput::DoubleClick(RealInput::OnScreen(pane->Handle(), point));
        EXPECT_TRUE(PumpMessagesUntil(happened));
        SetCursorPos(2000, 2000);
    }
    void Drag(POINT from, POINT to, WPARAM keys = 0)
    {
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, from);
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, to);
        Send(WM_LBUTTONUP, keys, to);
    }
    void Command(unsigned id) { SendMessageA(window->Handle(), WM_COMMAND, id, 0); }
    // A key pressed and released at the pane, through the program's message processing (the frame's keys).
    void PressAtPane(UINT key)
    {
        for (const auto& [message, flags] : {std::pair<UINT, LPARAM>{WM_KEYDOWN, 1}, {WM_KEYUP, 0xC0000001}}) {
            PostMessageA(pane->Handle(), message, key, flags);
            MSG queued;
            while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE))
                app->ProcessMessage(queued);
        }
    }
    // The program's own message processing (the frame's keys, a real key's too) until the condition holds or
    // the deadline passes.
    bool PumpProgramUntil(const std::function<bool()>& condition)
    {
        for (const DWORD start = GetTickCount(); !condition();) {
            if (GetTickCount() - start > DefaultPumpDeadline)
                return false;
            MSG queued;
            while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE))
                app->ProcessMessage(queued);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    void Undo() { SendMessageA(frame->Handle(), WM_COMMAND, Cmd::EditUndo, 0); }
    void Redo() { SendMessageA(frame->Handle(), WM_COMMAND, Cmd::EditRedo, 0); }
    // A node of the kind made by the paper's context menu command at the point, its label typed.
    InfluenceNodeRecord* NewNode(unsigned command, DiagramPoint point, const char* label)
    {
        Click(At(point));
        Command(command);
        InPlaceEdit* editor = window->LabelEditor();
        EXPECT_NE(editor, nullptr);
        if (editor != nullptr)
            editor->TypeText(zString(label));
        window->ClearSelection();
        return Nodes().back();
    }
    std::string MenuText(unsigned id)
    {
        frame->UpdateMenus();
        char text[80] = {};
        GetMenuStringA(GetMenu(frame->Handle()), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    bool Grayed(unsigned id)
    {
        frame->UpdateMenus();
        return MenuItemGrayed(GetMenu(frame->Handle()), id);
    }

    StoreTestLock lock;
    // Diagram windows read the clipboard for their Edit menu, and their tests put nodes on it.
    ClipboardTestLock clipboardLock;
    SavedRegistryValue recent{"RecentFiles", "File1"};
    ScopedApplication app;
    MessageBoxRecorder boxes;
    PressClock presses;
    uint32_t nextPressAfter = PressClock::Apart();
    std::unique_ptr<RecentFileList> previousList;
    MainFrame* frame;
    InfluenceDiagramWindow* window;
    DiagramPane* pane;
};
