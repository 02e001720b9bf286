// The label editor of a diagram node opens with a real click on the label and shows the name where the
// diagram draws it, centred on the label, whether the name is shorter or longer than the label is wide.

#include "model/InfluenceNode.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/RealInput.h"

#include <cstdlib>

namespace {

// The width of the name in the editor's font.
int NameWidth(HWND edit, const char* name)
{
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, name, static_cast<int>(strlen(name)), &size);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return size.cx;
}

// The node's label rectangle in the pane's client pixels: the diagram draws the name centred on it.
RECT LabelOnPane(DiagramPane& pane, const InfluenceNodeRecord& node)
{
    pane.PushDrawingScale();
    const RECT label = pane.DrawingToClient(LogicalRectToPixels(node.NodeTextRect(), *pane.CurrentDisplay()));
    pane.PopDrawingScale();
    return label;
}

// Where the editor shows its first character, in the pane's client pixels.
POINT FirstCharacter(DiagramPane& pane, HWND edit)
{
    const LRESULT first = SendMessageA(edit, EM_POSFROMCHAR, 0, 0);
    POINT shown{static_cast<short>(LOWORD(first)), static_cast<short>(HIWORD(first))};
    MapWindowPoints(edit, pane.Handle(), &shown, 1);
    return shown;
}

} // namespace

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
        const POINT shown = FirstCharacter(*pane, edit);
        const RECT label = LabelOnPane(*pane, *node);
        EXPECT_LE(std::abs(shown.x - (label.left + label.right - NameWidth(edit, name)) / 2), 1);
        EXPECT_LE(std::abs(shown.y - label.top), 1);
        window->ClearSelection();
    }
}

// A new node's editor holds the name typed into it where the diagram draws it once the editor has closed,
// however much wider than the empty label the name is.
TEST_F(ShownDiagram, ANewNodesEditorHoldsTheNameWhereItIsDrawn)
{
    ScreenOnTop raised(frame->Handle());
    float y = 1.5f;
    for (const char* name : {"Risk", "Severe reaction to the second dose"}) {
        SCOPED_TRACE(name);
        Click(At(DiagramPoint{2.5f, y}));
        Command(Cmd::RightClickNewChance);
        y += 2.0f;
        ASSERT_NE(window->LabelEditor(), nullptr);
        HWND edit = window->LabelEditor()->Handle();
        SetForegroundWindow(frame->Handle());
        RealInput::Type(name);
        const int length = static_cast<int>(strlen(name));
        ASSERT_TRUE(PumpMessagesUntil([edit, length] { return GetWindowTextLengthA(edit) == length; }));
        const POINT typed = FirstCharacter(*pane, edit);
        const int width = NameWidth(edit, name);
        InfluenceNodeRecord* node = Nodes().back();
        window->EndInPlaceEdit();
        ASSERT_STREQ(node->name.Text(), name);
        const RECT label = LabelOnPane(*pane, *node);
        EXPECT_LE(std::abs(typed.x - (label.left + label.right - width) / 2), 1);
        window->ClearSelection();
    }
}
