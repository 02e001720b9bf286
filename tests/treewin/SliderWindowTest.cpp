// The slider: where it starts, what it writes into the definitions, and that it gives them back however the
// tree changed meanwhile.

#include "treewin/SliderWindow.h"

#include "treewin/CreateSliderDialog.h"
#include "foundation/FilePath.h"
#include "framework/window/MDIframeCL.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "widgets/StatusMessage.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

class Slider : public testing::Test {
protected:
    Slider()
    {
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        tree.AddChild(a, TerminalNode, "A1", "1");
        b = tree.AddChild(tree.Root, TerminalNode, "B");
        window.Document().EnsureVariable("v", nullptr);
        a->SetBinding("v", "3.7", false);
        b->SetBinding("v", "1+1", false);
    }

    std::string Definition(TreeNode* node) { return node->FindBinding("v", false)->definition.Text().Text(); }

    std::string Label(SliderWindow* slider, unsigned id)
    {
        char text[100] = "";
        GetDlgItemTextA(slider->Handle(), static_cast<int>(id), text, sizeof text);
        return text;
    }

    SliderWindow* Open(std::initializer_list<TreeNode*> nodes, double low = 0.0, double high = 10.0, int steps = 10)
    {
        NodeChildList list(4, Ownership::Borrows);
        for (TreeNode* node : nodes)
            list.Add(node);
        return new SliderWindow(&window, list, "v", low, high, steps);
    }

    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* a;
    TreeNode* b;
};

TEST_F(Slider, StartsAtTheDefinitionAndGivesItBackOnClosing)
{
    SliderWindow* slider = Open({a});
    EXPECT_EQ(slider->Position(), 3);
    EXPECT_STREQ(slider->CurrentText().Text(), "3");
    EXPECT_EQ(Definition(a), "3");
    EXPECT_EQ(Label(slider, Ctl::Slider::OriginalExpressionText), "3.7");
    EXPECT_EQ(Label(slider, Ctl::Slider::OriginalValueText), "3.7");
    EXPECT_EQ(Label(slider, Ctl::Slider::NodeText), "A");
    // A value on a step that the arithmetic falls a hair short of ((0.6 - 0.3) / 0.6 * 4) starts there.
    tree.Root->SetBinding("v", "0.6", false);
    EXPECT_EQ(Label(Open({tree.Root}, 0.3, 0.9, 4), Ctl::Slider::CurrentText), "0.6");
    for (int position : {12, 7, -1, 9})
        slider->ApplyPosition(position);
    EXPECT_EQ(Definition(a), "9");
    EXPECT_EQ(Definition(b), "1+1");
    // Results rolled back with the slider's value go when it closes.
    a->GetChild(0)->SetPayoffText("v", 0, false);
    b->SetPayoffText("v", 0, false);
    window.OnCommand(1612);
    ASSERT_EQ(tree.RolledBack, RolledBackValues::Computed);
    EXPECT_DOUBLE_EQ(a->ExpectedValue(), 9.0);
    delete slider;
    EXPECT_EQ(Definition(a), "3.7");
    EXPECT_EQ(tree.RolledBack, RolledBackValues::None);

    // Two nodes: the labels say the definitions differ; both follow the bar and both come back.
    slider = Open({a, b});
    EXPECT_EQ(Label(slider, Ctl::Slider::OriginalExpressionText), "(not consistent)");
    EXPECT_EQ(Label(slider, Ctl::Slider::OriginalValueText), "(not consistent)");
    EXPECT_EQ(Label(slider, Ctl::Slider::NodeText), "(multiple)");
    slider->ApplyPosition(10);
    EXPECT_EQ(Definition(a), "10");
    EXPECT_EQ(Definition(b), "10");
    delete slider;
    EXPECT_EQ(Definition(a), "3.7");
    EXPECT_EQ(Definition(b), "1+1");
}

// The slider's bar is a plain system scroll bar, no framework control: its scroll messages still reach the
// slider, which moves the definitions with them.
TEST_F(Slider, ItsScrollBarMovesThePosition)
{
    SliderWindow* slider = Open({a});
    HWND bar = FindWindowExA(slider->Handle(), nullptr, "ScrollBar", nullptr);
    ASSERT_NE(bar, nullptr);
    const struct {
        WPARAM code;
        int position;
    } rows[] = {{SB_LINERIGHT, 4}, {SB_PAGERIGHT, 5}, {MAKEWPARAM(SB_THUMBTRACK, 8), 8}, {SB_LEFT, 0}};
    for (const auto& row : rows) {
        SendMessageA(slider->Handle(), WM_HSCROLL, row.code, reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(slider->Position(), row.position) << row.code;
    }
    EXPECT_EQ(Definition(a), "0");
    delete slider;
}

TEST_F(Slider, SavesTheOriginalsAndGivesThemBackBeforeTheTreeChangesShape)
{
    SliderWindow* slider = Open({a, b});
    slider->ApplyPosition(2);
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "slider-save.tre";
    zString message;
    ASSERT_TRUE(window.SaveAs(path.c_str(), message)) << message.Text();
    EXPECT_EQ(Definition(b), "2");
    EXPECT_EQ(std::string(slider->Text()), std::string(window.Document().Title().Text()) + ": Slider");
    // Save writes through the document window, as the menu's Save does.
    slider->ApplyPosition(7);
    ASSERT_EQ(window.SaveToFile(), 1);
    EXPECT_EQ(Definition(b), "7");
    {
        TreeWindow reopened(path.c_str());
        EXPECT_EQ(reopened.Document().Root->GetChild(1)->FindBinding("v", false)->definition.Text(), "1+1");
    }
    std::remove(path.c_str());

    // A cleared history leaves the slider working.
    window.ClearUndoHistory();
    slider->ApplyPosition(5);
    EXPECT_EQ(Definition(a) + " " + Definition(b), "5 5");

    // Swapped branches would trade paths: the slider closes first and each keeps its own definition.
    window.AddUndoAction(new TreeReorderBranchesAction(&window, tree.Root, {1, 0}));
    EXPECT_EQ(window.ChildWindows().Count(), 0);
    EXPECT_EQ(Definition(a) + " " + Definition(b), "3.7 1+1");

    // A deleted branch goes into the history with its own definition.
    Open({a})->ApplyPosition(8);
    window.AddUndoAction(new TreeDeleteBranchAction(&window, a));
    EXPECT_EQ(window.ChildWindows().Count(), 0);
    window.Undo();
    EXPECT_EQ(Definition(a), "3.7");
    window.ClearUndoHistory();
}

// Show Nodes brings the tree up with the slider's nodes selected; the edit open in the tree before ends first,
// so what is typed next cannot land in the newly selected node.
TEST_F(Slider, ShowNodesSelectsThemInTheTree)
{
    FocusTestLock focus;
    frame.Show(SW_SHOW);
    window.Show(SW_SHOW);
    window.SelectNode(tree.Root, 1, nullptr, false);
    ASSERT_NE(window.InPlaceEditor, nullptr);
    SliderWindow* slider = Open({a, b});
    slider->Show(SW_SHOW);
    SendMessageA(slider->Handle(), WM_COMMAND, Ctl::Slider::ShowNodes, 0);
    ASSERT_EQ(window.Selection.Count(), 2);
    EXPECT_EQ(window.Selection.At(0), a);
    EXPECT_EQ(window.InPlaceEditor, nullptr);
    EXPECT_TRUE(window.IsActiveChild());
    EXPECT_STREQ(CurrentStatusMessage().Text(), "Hit Ctrl+F6 to return to the Slider window");
    ExpectScreenEqualsRepaint(frame.Handle());
    delete slider;
}

TEST_F(Slider, CreateSliderNeedsARangeAndTakesItAsTheVariables)
{
    MessageBoxRecorder boxes;
    tree.Root->SetBinding("v", "2.5", false);
    auto previous = CreateSliderDialog::SetPresenter([](CreateSliderDialog& dialog) {
        dialog.variable = "v";
        dialog.low = 2.0;
        dialog.high = 2.0;
        return IDOK;
    });
    window.RunCommandHandler(Cmd::ValuesCreateSlider);
    EXPECT_EQ(window.ChildWindows().Count(), 0);
    EXPECT_EQ(boxes.Last().text, "The high value must be greater than the low value.");
    CreateSliderDialog::SetPresenter([](CreateSliderDialog& dialog) {
        dialog.variable = "v";
        dialog.low = 1.0;
        dialog.high = 4.0;
        dialog.intervals = 3;
        return IDOK;
    });
    window.RunCommandHandler(Cmd::ValuesCreateSlider);
    CreateSliderDialog::SetPresenter(previous);
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    auto* slider = static_cast<SliderWindow*>(window.ChildWindows().At(0));
    EXPECT_EQ(Label(slider, Ctl::Slider::NodeText), "(none) Default Definition for Document");
    EXPECT_EQ(slider->Position(), 1);
    const DocVariable* variable = window.Document().FindVariable("v", false);
    EXPECT_EQ(variable->hasRange, 1);
    EXPECT_EQ(variable->low.value, 1.0);
    EXPECT_EQ(variable->high.value, 4.0);
}

}  // namespace
