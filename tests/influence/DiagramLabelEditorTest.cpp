// The label editor of a diagram node opens with a real click on the label and shows the name where the
// diagram draws it, centred on the label, whether the name is shorter or longer than the label is wide.

#include "model/InfluenceNode.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/RealInput.h"

#include <cstdlib>

TEST_F(ShownDiagram, TheLabelEditorOpensOverTheDrawnName)
{
    ScreenOnTop raised(frame->Handle());
    const char* names[] = {"Risk", "Severe reaction to the second dose"};
    float y = 1.5f;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        InfluenceNodeRecord* node = NewNode(Cmd::RightClickNewChance, DiagramPoint{2.5f, y}, name);
        y += 2.0f;
        RealInput::Click(RealInput::OnScreen(pane->Handle(), At(node)));
        ASSERT_TRUE(PumpMessagesUntil([&] { return window->LabelEditor() != nullptr; }));
        HWND edit = window->LabelEditor()->Handle();
        // Where the diagram draws the name: centred on the label rectangle, in the editor's font.
        pane->PushDrawingScale();
        const RECT label = pane->DrawingToClient(LogicalRectToPixels(node->NodeTextRect(), *pane->CurrentDisplay()));
        pane->PopDrawingScale();
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc, name, static_cast<int>(strlen(name)), &size);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        const LRESULT first = SendMessageA(edit, EM_POSFROMCHAR, 0, 0);
        POINT shown{static_cast<short>(LOWORD(first)), static_cast<short>(HIWORD(first))};
        MapWindowPoints(edit, pane->Handle(), &shown, 1);
        EXPECT_LE(std::abs(shown.x - (label.left + label.right - size.cx) / 2), 1);
        EXPECT_LE(std::abs(shown.y - label.top), 1);
        window->ClearSelection();
    }
}
